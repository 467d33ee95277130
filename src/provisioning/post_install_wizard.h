#pragma once
// The post-install wizard's values and what finishing it does: the primary domain and its
// administrator created through the server's automation objects.

#include <string>

#include "platform/automation.h"
#include "platform/system.h"

namespace tolva::provisioning {

// The wizard's edits as the user left them.
struct WizardEntries {
    std::u16string hostName;  // NameEdit
    std::u16string domain;    // OtherEdit
    std::u16string user;      // EmailEdit
    std::u16string password;  // PassEdit
};

// What the automation calls are given. The 8-bit values are in the system code page, trimmed and
// at most 255 characters; the host name and the password stay exactly as typed.
struct WizardValues {
    std::string domain;
    std::string user;
    std::string address;  // user "@" domain
    std::u16string hostName;
    std::u16string password;
};

WizardValues TakeWizardValues(const WizardEntries& entries, const platform::System& system);

// The wizard's window as the finishing step needs it.
class PostInstallWizardWindow {
public:
    virtual ~PostInstallWizardWindow() = default;
    // Shows the wizard modally; true when the user finished it.
    virtual bool ShowWizard() = 0;
    virtual WizardEntries Entries() const = 0;
};

// Shows the wizard; when it is finished, CreatePrimaryDomain and then CreateDomainAdministrator.
void RunPostInstallWizard(PostInstallWizardWindow& window, platform::Automation& automation,
                          const platform::System& system);

}  // namespace tolva::provisioning
