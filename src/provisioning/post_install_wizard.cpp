#include "provisioning/post_install_wizard.h"

#include "provisioning/server_automation.h"

namespace tolva::provisioning {
namespace {

constexpr size_t kShortStringLength = 255;

std::u16string_view TrimWide(std::u16string_view text) {
    while (!text.empty() && text.front() <= u' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() <= u' ') {
        text.remove_suffix(1);
    }
    return text;
}

std::string ShortString(std::string text) {
    if (text.size() > kShortStringLength) {
        text.resize(kShortStringLength);
    }
    return text;
}

}  // namespace

WizardValues TakeWizardValues(const WizardEntries& entries, const platform::System& system) {
    WizardValues values;
    values.domain = ShortString(system.WideToAnsi(TrimWide(entries.domain)));
    values.user = ShortString(system.WideToAnsi(TrimWide(entries.user)));
    values.address = ShortString(values.user + "@" + values.domain);
    values.hostName = entries.hostName;
    values.password = entries.password;
    return values;
}

void RunPostInstallWizard(PostInstallWizardWindow& window, platform::Automation& automation,
                          const platform::System& system) {
    if (!window.ShowWizard()) {
        return;
    }
    const WizardValues values = TakeWizardValues(window.Entries(), system);
    CreatePrimaryDomain(automation, values);
    CreateDomainAdministrator(automation, values);
}

}  // namespace tolva::provisioning
