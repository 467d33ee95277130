#pragma once
// The mails sent at the end of an installation: the setup notification to the vendor (and to the
// distributor's address from info.xml), and the demonstration message of a new installation.
// Neither failure is reported to the user.

#include <string>

#include "net/text_mail.h"
#include "platform/system.h"
#include "util/product.h"
#include "util/setup_log_sink.h"

namespace tolva::net {

enum class SetupMailForm { kNotification, kDemonstration };

// What the wizard, the setup state and the string table supply.
struct SetupMailDetails {
    // The user-details page.
    std::u16string name, email, company, country;
    // The window title, "<product> <version> Setup".
    std::u16string setupTitle;
    // SETUPEMAIL of info.xml; may be empty.
    std::string setupEmail;
    bool isUpgrade = false;
    // The version of the earlier installation, for an upgrade.
    std::string oldVersion;
    // The product name as the string table gives it (cName, ANSI).
    std::string productName = kProductName;
    // The string table's demonstration subject and text.
    std::u16string demoSubject, demoBody;
};

// The relay hosts ("host" or "host:port"): first the local server, for the notification then the
// vendor's mail host.
struct SetupMailRelays {
    std::string local = "127.0.0.1";
    std::string vendor = kVendorMailHost;
};

// "Corvane Setup <" + the vendor's setup mailbox + ">".
std::string NotificationSender();

// The vendor's setup mailbox, followed by ";" and setupEmail when that is not empty.
std::string NotificationRecipients(const std::string& setupEmail);

// The XML document with the user details, product, version, today's date and, for an upgrade, the
// earlier version.
std::string NotificationBody(const SetupMailDetails& details, const platform::System& system);

// Sends one of the two mails. The notification is logged and, when the local server does not take
// it, sent again through the vendor's mail host.
void SendSetupMail(SetupMailForm form, const SetupMailDetails& details,
                   const MailTransport& transport, util::SetupLogSink& log,
                   const SetupMailRelays& relays = {});

}  // namespace tolva::net
