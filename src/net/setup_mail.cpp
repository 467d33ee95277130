#include "net/setup_mail.h"

#include <cstdio>
#include <exception>

#include "util/utf8.h"
#include "util/xml_object.h"

namespace tolva::net {
namespace {

constexpr char kNotificationSenderName[] = "Corvane Setup";

std::string DateStamp(const platform::LocalTime& time) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", time.year % 10000, time.month % 100,
                  time.day % 100);
    return text;
}

void SendNotification(const SetupMailDetails& details, const MailTransport& transport,
                      util::SetupLogSink& log, const SetupMailRelays& relays) {
    const std::string recipients = NotificationRecipients(details.setupEmail);
    const std::string body = NotificationBody(details, transport.system);
    log.Write("Sending email to \"" + recipients + "\"");
    const std::string sender = NotificationSender();
    const std::string subject = util::WideToUTF8(details.setupTitle);
    if (!SendTextMail(transport, recipients, sender, subject, relays.local, body)) {
        SendTextMail(transport, recipients, sender, subject, relays.vendor, body);
    }
}

void SendDemonstration(const SetupMailDetails& details, const MailTransport& transport,
                       const SetupMailRelays& relays) {
    SendTextMail(transport, kDemoAdminAddress, kDemoUserAddress,
                 util::WideToUTF8(details.demoSubject), relays.local,
                 util::WideToUTF8(details.demoBody));
}

}  // namespace

std::string NotificationSender() {
    return std::string(kNotificationSenderName) + " <" + kVendorSetupMailbox + ">";
}

std::string NotificationRecipients(const std::string& setupEmail) {
    std::string recipients = kVendorSetupMailbox;
    if (!setupEmail.empty()) {
        recipients += ";" + setupEmail;
    }
    return recipients;
}

std::string NotificationBody(const SetupMailDetails& details, const platform::System& system) {
    using util::xcEntities;
    using util::xcFull;
    util::TXMLObject setup(system);
    setup.Name = "SETUP";
    setup.AddChild("NAME", util::WideToUTF8(details.name), xcEntities);
    setup.AddChild("EMAIL", util::WideToUTF8(details.email), xcEntities);
    setup.AddChild("COMPANY", util::WideToUTF8(details.company), xcEntities);
    setup.AddChild("COUNTRY", util::WideToUTF8(details.country), xcEntities);
    setup.AddChild("PRODUCT", details.productName, xcFull);
    setup.AddChild("VERSION", kSetupVersion, xcFull);
    setup.AddChild("DATE", DateStamp(system.Now()), xcFull);
    if (details.isUpgrade) {
        setup.AddChild("PREVIOUS_VERSION", details.oldVersion, xcFull);
    }
    return setup.ToXML(true, true) + "\r\n";
}

void SendSetupMail(SetupMailForm form, const SetupMailDetails& details,
                   const MailTransport& transport, util::SetupLogSink& log,
                   const SetupMailRelays& relays) {
    try {
        if (form == SetupMailForm::kNotification) {
            SendNotification(details, transport, log, relays);
        } else {
            SendDemonstration(details, transport, relays);
        }
    } catch (const std::exception&) {
        // A mail that cannot be sent never stops the installation.
    }
}

}  // namespace tolva::net
