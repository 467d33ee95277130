#include "provisioning/server_automation.h"

#include <memory>
#include <vector>

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
        if (ok_) {
            std::unique_ptr<platform::AutomationObject> object;
            ok_ = automation_.Create(progId, object).ok();
            objects_.push_back(std::move(object));
        }
        return *this;
    }
    CallSequence& Call(std::string_view method, std::vector<AutomationArg> arguments = {}) {
        if (ok_) {
            ok_ = objects_.back()->Call(method, arguments).ok();
        }
        return *this;
    }
    CallSequence& Pause(platform::System& system, uint32_t milliseconds) {
        if (ok_) {
            system.SleepFor(milliseconds);
        }
        return *this;
    }

private:
    platform::Automation& automation_;
    std::vector<std::unique_ptr<platform::AutomationObject>> objects_;
    bool ok_ = true;
};

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
                             std::string_view connection) {
    CallSequence(automation)
        .Create(kApiObject)
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
}

}  // namespace tolva::provisioning
