#pragma once
// The folder browser of the Install folder page: a path field, the folders of the path and those
// below it, the drives, and the system's dialog for connecting a network drive. A folder that does
// not exist yet is accepted once the user agrees to have it created; creating it is left to the
// deployment.

#include <string>
#include <vector>

#include "platform/platform.h"
#include "setup/wizard_links.h"
#include "ui/application.h"
#include "ui/form.h"

namespace tolva::setup {

class TBrowseFolder : public ui::Form, public FolderBrowser {
public:
    TBrowseFolder(ui::Application& application, const platform::Platform& platform);

    // Opens with the path field preset to folder; on OK the folder in the path field is in folder
    // and true returns.
    bool Browse(std::string& folder) override;

    void FormShow(ui::Form& sender);
    void OKButtonClick(ui::Component& sender);
    void NetworkButtonClick(ui::Component& sender);
    void DirectoryListBoxClick(ui::Component& sender);
    void DirectoryListBoxDblClick(ui::Component& sender);
    void DriveComboBoxChange(ui::Component& sender);

    ui::Component* InfoLabel = nullptr;
    ui::Component* PathLabel = nullptr;
    ui::Component* PathEdit = nullptr;
    ui::Component* DirectoriesLabel = nullptr;
    ui::Component* DirectoryListBox = nullptr;
    ui::Component* DrivesLabel = nullptr;
    ui::Component* DriveComboBox = nullptr;
    ui::Component* OKButton = nullptr;
    ui::Component* CancelButton = nullptr;
    ui::Component* NetworkButton = nullptr;

private:
    // Lists folder (with a trailing backslash), the folders above it and its subfolders, and
    // chooses its drive.
    void ShowFolder(const std::string& folder);
    void FillDrives();
    void SelectDrive(const std::string& folder);
    // The nearest folder of path that exists, or the first drive's root.
    std::string ExistingFolderOf(const std::string& path) const;
    // The path field's folder as a full path: a relative one is taken from the listed folder.
    std::string FullPathOfField() const;
    void SetPathField(const std::string& path);
    // Focused with its text selected, for the user to type over.
    void FocusPathField();

    const platform::Platform& platform_;
    std::string listed_;                 // the folder the directory list shows
    std::vector<std::string> rowPaths_;  // the folder of each row of the directory list
    std::vector<std::string> driveRoots_;
};

}  // namespace tolva::setup
