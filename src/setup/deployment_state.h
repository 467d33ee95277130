#pragma once
// What the deployment takes from the wizard: the run's folders and choices, and the progress
// shown on the Installing page.

#include <array>
#include <string>
#include <string_view>

#include "setup/package_table.h"

namespace tolva::setup {

// Folders end in a backslash.
struct DeploymentState {
    std::string SetupFolder;   // the folder of the running setup program
    std::string SetupProgram;  // the setup program's own file name
    std::string InstallDir;
    std::string ExtractDir;
    std::string LogDir;
    std::string OldVersion;  // the version an earlier installation recorded; empty when none
    bool IsUpgrade = false;

    bool NoInstallIM = false;
    bool NoInstallCalendar = false;
    bool NoInstallAV = false;
    bool NoInstallIAS = false;

    std::string InfoXmlFile;
    std::string LanguageFile;
    std::string LicenseFile;
    std::string ReadmeFile;

    // By component key: the node shows the selected state.
    std::array<bool, kComponentCount> Selected{};

    bool IsSelected(int32_t key) const {
        return key >= 0 && static_cast<size_t>(key) < Selected.size() &&
               Selected[static_cast<size_t>(key)];
    }
    std::string ConfigDir() const { return InstallDir + "config\\"; }
};

// The Installing page as the deployment drives it.
class DeploymentProgress {
public:
    virtual ~DeploymentProgress() = default;
    // Shows the text above the progress bar, repaints and lets pending window messages run.
    virtual void SetProgressText(std::u16string_view text) = 0;
    // Advances the progress bar one step.
    virtual void StepProgress() = 0;
    // Lets pending window messages run, so that the window repaints and Cancel is heard.
    virtual void ProcessPendingMessages() = 0;
};

}  // namespace tolva::setup
