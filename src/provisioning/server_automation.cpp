#include "provisioning/server_automation.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "provisioning/connection_string.h"
#include "util/text.h"

namespace tolva::provisioning {
namespace {

using platform::AutomationArg;

constexpr int32_t kDatabaseStorage = 2;  // AccountStorageMode of the settings record
constexpr uint32_t kStoragePause = 2000;

// Calls in order until the first failure; after it every step does nothing. Every object created
// lives until the sequence ends.
class CallSequence {
public:
    explicit CallSequence(platform::Automation& automation) : automation_(automation) {}

    // The calls that follow go to a new instance of the class.
    CallSequence& Create(std::string_view progId) {
        if (ok()) {
            std::unique_ptr<platform::AutomationObject> object;
            Note("Create " + std::string(progId), automation_.Create(progId, object));
            objects_.push_back(std::move(object));
        }
        return *this;
    }
    CallSequence& Call(std::string_view method, std::vector<AutomationArg> arguments = {}) {
        if (ok()) {
            Note(StepName(method, arguments), objects_.back()->Call(method, arguments));
        }
        return *this;
    }
    CallSequence& Pause(platform::System& system, uint32_t milliseconds) {
        if (ok()) {
            system.SleepFor(milliseconds);
        }
        return *this;
    }

    bool ok() const { return failure_.ok(); }
    // The step that failed and its error; empty while none has.
    const std::string& FailedStep() const { return failedStep_; }
    const platform::Status& Failure() const { return failure_; }

private:
    // The method with the number of a table set or the name of a property, never a value.
    static std::string StepName(std::string_view method,
                                const std::vector<AutomationArg>& arguments) {
        std::string name(method);
        if (!arguments.empty() && arguments[0].kind == platform::AutomationArgKind::kInteger) {
            name += " " + std::to_string(arguments[0].integer);
        } else if (method == "SetProperty" && !arguments.empty()) {
            name += " " + arguments[0].text;
        }
        return name;
    }
    void Note(std::string step, platform::Status status) {
        if (!status.ok()) {
            failedStep_ = std::move(step);
            failure_ = std::move(status);
        }
    }

    platform::Automation& automation_;
    std::vector<std::unique_ptr<platform::AutomationObject>> objects_;
    std::string failedStep_;
    platform::Status failure_;
};

// The error's text with every password of the connection string in it starred out: a server may
// quote the connection it could not use.
std::string WithoutPasswords(std::string text, std::string_view connection) {
    const ConnectionSettings settings = ParseConnectionString(connection);
    for (const ConnectionPart* part :
         {&settings.primary, settings.backup ? &*settings.backup : nullptr}) {
        if (part == nullptr || part->password.empty()) {
            continue;
        }
        text = util::ReplaceAll(text, part->password, std::string(part->password.size(), '*'));
    }
    return text;
}

std::string WithCapital(std::string user) {
    if (!user.empty() && user[0] >= 'a' && user[0] <= 'z') {
        user[0] = static_cast<char>(user[0] - 'a' + 'A');
    }
    return user;
}

}  // namespace

void CreatePrimaryDomain(platform::Automation& automation, const WizardValues& values) {
    CallSequence(automation)
        .Create(kDomainObject)
        .Call("New", {AutomationArg::Text(values.domain)})
        .Call("SetProperty",
              {AutomationArg::Text("D_AdminEmail"), AutomationArg::Text(values.address)})
        .Call("SetProperty",
              {AutomationArg::Text("D_Postmaster"),
               AutomationArg::Text(
                   "postmaster;admin;administrator;supervisor;hostmaster;webmaster;abuse")})
        .Call("Save")
        .Create(kApiObject)
        .Call("MakePrimaryDomain", {AutomationArg::Text(values.domain)})
        .Call("SetProperty", {AutomationArg::Text("C_Mail_SMTP_General_HostName"),
                              AutomationArg::WideText(values.hostName)})
        .Call("Save");
}

void CreateDomainAdministrator(platform::Automation& automation, const WizardValues& values) {
    CallSequence(automation)
        .Create(kAccountObject)
        .Call("New", {AutomationArg::Text(values.address)})
        .Call("SetProperty", {AutomationArg::Text("U_Alias"), AutomationArg::Text(values.user)})
        .Call("SetProperty", {AutomationArg::Text("U_Mailbox"), AutomationArg::Text(values.user)})
        .Call("SetProperty",
              {AutomationArg::Text("U_Password"), AutomationArg::WideText(values.password)})
        .Call("SetProperty",
              {AutomationArg::Text("U_Name"), AutomationArg::TextByRef(WithCapital(values.user))})
        .Call("SetProperty", {AutomationArg::Text("U_Admin"), AutomationArg::Boolean(true)})
        .Call("Save");
}

void SwitchToDatabaseStorage(platform::Automation& automation, platform::System& system,
                             std::string_view connection, util::SetupLogSink& log) {
    CallSequence switched(automation);
    switched.Create(kApiObject)
        .Call("CreateTables", {AutomationArg::Integer(2), AutomationArg::TextByRef(connection)})
        .Call("CreateTables", {AutomationArg::Integer(3), AutomationArg::TextByRef(connection)})
        .Call("CreateTables", {AutomationArg::Integer(0), AutomationArg::TextByRef(connection)})
        .Call("SetProperty", {AutomationArg::Text("C_System_Storage_Accounts_StorageMode"),
                              AutomationArg::Integer(kDatabaseStorage)})
        .Call("Save")
        .Pause(system, kStoragePause)
        .Create(kApiObject)
        .Call("ConvertStorage", {AutomationArg::Boolean(true)})
        .Pause(system, kStoragePause);
    if (!switched.ok()) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08X", switched.Failure().code());
        log.Write("Error: Switching to database storage failed at " + switched.FailedStep() + ": " +
                  WithoutPasswords(switched.Failure().what(), connection) + " (" + code + ")");
    }
}

}  // namespace tolva::provisioning
