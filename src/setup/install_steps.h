#pragma once
// Steps of the install sequence that other parts of the main window carry out: the component
// exclusions stored in the product registry key, and the shortcuts with the uninstall entry and
// the product registry values.

#include "setup/setup_state.h"
#include "winsys/service_control_window.h"

namespace tolva::setup {

class ComponentExclusionsStep {
public:
    virtual ~ComponentExclusionsStep() = default;
    // Writes NoInstallIM ... NoInstallMail of the state into the product registry key; failures
    // are swallowed.
    virtual void WriteComponentExclusions(const SetupState& state) = 0;
};

class ShortcutsStep {
public:
    virtual ~ShortcutsStep() = default;
    // Shortcuts, the Start-menu group, the uninstall entry and the product registry values of the
    // installation the state describes, shown on the Installing page through window, which hears
    // the user's cancel as every step of the sequence does. False when a registry key or value
    // could not be written, after the registry error was shown: the installation then ends as
    // failed.
    virtual bool RegisterShortcutsAndEntries(const SetupState& state,
                                             winsys::ServiceControlWindow& window) = 0;
};

}  // namespace tolva::setup
