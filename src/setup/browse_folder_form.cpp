#include "setup/browse_folder_form.h"

#include <algorithm>
#include <cctype>

#include "i18n/ui_strings.h"
#include "setup/setup_title.h"
#include "util/folder_path.h"
#include "util/text.h"

namespace tolva::setup {
namespace {

constexpr int kMargin = 8;
constexpr int kListWidth = 240;
constexpr int kButtonLeft = kMargin + kListWidth + 8;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 25;
constexpr int kClientWidth = kButtonLeft + kButtonWidth + kMargin;
constexpr int kLabelHeight = 13;
constexpr int kFieldHeight = 21;
constexpr int kPathTop = 28;
constexpr int kListTop = 74;
constexpr int kListHeight = 147;
constexpr int kDrivesTop = kListTop + kListHeight + 20;
constexpr int kClientHeight = kDrivesTop + kButtonHeight + kMargin;
// Each level of the folder list is indented by this many blanks.
constexpr size_t kIndent = 4;

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsDriveRooted(std::string_view path) {
    return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) != 0 &&
           path[1] == ':' && IsSeparator(path[2]);
}

bool IsUnc(std::string_view path) {
    return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

// The parent of a folder held with its trailing backslash; empty above a drive's root.
std::string ParentFolder(const std::string& folder) {
    const size_t end = folder.find_last_not_of("\\/");
    if (end == std::string::npos) {
        return {};
    }
    const size_t separator = folder.find_last_of("\\/", end);
    return separator == std::string::npos ? std::string() : folder.substr(0, separator + 1);
}

bool SameDrive(std::string_view a, std::string_view b) {
    return !a.empty() && !b.empty() &&
           std::toupper(static_cast<unsigned char>(a[0])) ==
               std::toupper(static_cast<unsigned char>(b[0]));
}

}  // namespace

TBrowseFolder::TBrowseFolder(ui::Application& application, const platform::Platform& platform)
    : Form(application, "TBrowseFolder", "BrowseFolder"), platform_(platform) {
    SetCaption(u"Choose Folder");
    SetBorderStyle(ui::BorderStyle::kDialog);
    SetPosition(ui::FormPosition::kScreenCenter);
    SetClientSize(kClientWidth, kClientHeight);

    const int fieldWidth = kClientWidth - 2 * kMargin;
    InfoLabel = &Add({.className = "TTntLabel",
                      .name = "InfoLabel",
                      .bounds = {kMargin, kMargin, fieldWidth, kLabelHeight},
                      .text = u"Please choose the installation folder."});
    PathLabel = &Add({.className = "TTntLabel",
                      .name = "PathLabel",
                      .bounds = {kMargin, kPathTop + 4, 40, kLabelHeight},
                      .text = u"&Path: "});
    PathEdit = &Add({.className = "TTntEdit",
                     .name = "PathEdit",
                     .bounds = {kMargin + 44, kPathTop, fieldWidth - 44, kFieldHeight}});
    PathLabel->SetFocusControl(PathEdit);

    DirectoriesLabel = &Add({.className = "TTntLabel",
                             .name = "DirectoriesLabel",
                             .bounds = {kMargin, kListTop - 16, kListWidth, kLabelHeight},
                             .text = u"&Directories"});
    DirectoryListBox = &Add({.className = "TTntListBox",
                             .name = "DirectoryListBox",
                             .bounds = {kMargin, kListTop, kListWidth, kListHeight}});
    DirectoriesLabel->SetFocusControl(DirectoryListBox);

    DrivesLabel = &Add({.className = "TTntLabel",
                        .name = "DrivesLabel",
                        .bounds = {kMargin, kDrivesTop - 16, kListWidth, kLabelHeight},
                        .text = u"Dr&ives:"});
    DriveComboBox = &Add({.className = "TTntComboBox",
                          .name = "DriveComboBox",
                          .bounds = {kMargin, kDrivesTop + 2, kListWidth, kFieldHeight}});
    DriveComboBox->SetComboStyle(ui::ComboStyle::kDropDownList);
    DrivesLabel->SetFocusControl(DriveComboBox);

    OKButton = &Add({.className = "TTntButton",
                     .name = "OKButton",
                     .bounds = {kButtonLeft, kListTop, kButtonWidth, kButtonHeight},
                     .text = u"OK"});
    OKButton->SetDefault(true);
    CancelButton =
        &Add({.className = "TTntButton",
              .name = "CancelButton",
              .bounds = {kButtonLeft, kListTop + kButtonHeight + 6, kButtonWidth, kButtonHeight},
              .text = u"Cancel"});
    CancelButton->SetCancel(true);
    CancelButton->SetModalResult(ui::ModalResult::kCancel);
    NetworkButton = &Add({.className = "TTntButton",
                          .name = "NetworkButton",
                          .bounds = {kButtonLeft, kDrivesTop, kButtonWidth, kButtonHeight},
                          .text = u"&Network..."});

    Bind(events.show, &TBrowseFolder::FormShow);
    Bind(OKButton->events.click, &TBrowseFolder::OKButtonClick);
    Bind(NetworkButton->events.click, &TBrowseFolder::NetworkButtonClick);
    Bind(DirectoryListBox->events.click, &TBrowseFolder::DirectoryListBoxClick);
    Bind(DirectoryListBox->events.dblClick, &TBrowseFolder::DirectoryListBoxDblClick);
    Bind(DriveComboBox->events.change, &TBrowseFolder::DriveComboBoxChange);
}

bool TBrowseFolder::Browse(std::string& folder) {
    FillDrives();
    SetPathField(folder);
    ShowFolder(ExistingFolderOf(folder));
    if (ShowModal() != ui::ModalResult::kOk) {
        return false;
    }
    folder = platform_.system->WideToAnsi(PathEdit->Text());
    return true;
}

void TBrowseFolder::FormShow(ui::Form&) {
    FocusPathField();
}

void TBrowseFolder::FocusPathField() {
    SetFocus(*PathEdit);
    PathEdit->SelectAll();
}

void TBrowseFolder::OKButtonClick(ui::Component&) {
    if (util::Trim(platform_.system->WideToAnsi(PathEdit->Text())).empty()) {
        FocusPathField();
        return;
    }
    const std::string path = FullPathOfField();
    SetPathField(path);
    if (!platform_.files->FolderExists(path)) {
        const std::u16string question = util::FillMarks(i18n::Text(i18n::cFolderNotExist),
                                                        {platform_.system->AnsiToWide(path)});
        if (platform_.dialogs->ShowMessageBox(
                {question, kApplicationTitle, platform::DialogButtons::kYesNo,
                 platform::DialogIcon::kQuestion}) != platform::DialogResult::kYes) {
            FocusPathField();
            return;
        }
    }
    SetModalResult(ui::ModalResult::kOk);
}

void TBrowseFolder::NetworkButtonClick(ui::Component&) {
    // The system's dialog tells the user itself why a connection failed; a drive it connected
    // shows up in the list.
    (void)platform_.shell->ShowNetworkConnectionDialog();
    FillDrives();
    SelectDrive(listed_);
}

void TBrowseFolder::DirectoryListBoxClick(ui::Component&) {
    const int row = DirectoryListBox->ItemIndex();
    if (row >= 0 && row < static_cast<int>(rowPaths_.size())) {
        SetPathField(rowPaths_[static_cast<size_t>(row)]);
    }
}

void TBrowseFolder::DirectoryListBoxDblClick(ui::Component&) {
    const int row = DirectoryListBox->ItemIndex();
    if (row >= 0 && row < static_cast<int>(rowPaths_.size())) {
        const std::string folder = rowPaths_[static_cast<size_t>(row)];
        ShowFolder(folder);
        SetPathField(folder);
    }
}

void TBrowseFolder::DriveComboBoxChange(ui::Component&) {
    const int index = DriveComboBox->ItemIndex();
    if (index < 0 || index >= static_cast<int>(driveRoots_.size())) {
        return;
    }
    const std::string root = driveRoots_[static_cast<size_t>(index)];
    if (SameDrive(root, listed_)) {
        return;
    }
    ShowFolder(root);
    SetPathField(root);
}

void TBrowseFolder::ShowFolder(const std::string& folder) {
    listed_ = folder;
    std::vector<std::string> chain;
    for (std::string at = folder; !at.empty(); at = ParentFolder(at)) {
        chain.push_back(at);
    }
    std::reverse(chain.begin(), chain.end());

    rowPaths_.clear();
    std::vector<std::u16string> rows;
    size_t level = 0;
    for (const std::string& at : chain) {
        const std::string parent = ParentFolder(at);
        const std::string name =
            parent.empty() ? at : at.substr(parent.size(), at.size() - parent.size() - 1);
        rows.push_back(std::u16string(level * kIndent, u' ') + platform_.system->AnsiToWide(name));
        rowPaths_.push_back(at);
        ++level;
    }
    const int current = static_cast<int>(rows.size()) - 1;

    std::vector<platform::FolderEntry> entries;
    if (platform_.files->ListFolder(folder, entries).ok()) {
        std::vector<std::string> names;
        for (const platform::FolderEntry& entry : entries) {
            if (entry.isFolder && (entry.attributes & platform::file_attribute::kHidden) == 0) {
                names.push_back(entry.name);
            }
        }
        std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
            return util::LowerCase(a) < util::LowerCase(b);
        });
        for (const std::string& name : names) {
            rows.push_back(std::u16string(level * kIndent, u' ') +
                           platform_.system->AnsiToWide(name));
            rowPaths_.push_back(folder + name + '\\');
        }
    }
    DirectoryListBox->SetItems(rows);
    DirectoryListBox->SetItemIndex(current);
    SelectDrive(folder);
}

void TBrowseFolder::FillDrives() {
    std::vector<platform::DriveEntry> drives;
    if (!platform_.files->ListDrives(drives).ok()) {
        drives.clear();
    }
    driveRoots_.clear();
    std::vector<std::u16string> items;
    for (const platform::DriveEntry& drive : drives) {
        std::string item = drive.root.substr(0, 2);
        if (!drive.label.empty()) {
            item += " [" + drive.label + "]";
        }
        items.push_back(platform_.system->AnsiToWide(item));
        driveRoots_.push_back(drive.root);
    }
    DriveComboBox->SetItems(items);
}

void TBrowseFolder::SelectDrive(const std::string& folder) {
    const auto found =
        std::find_if(driveRoots_.begin(), driveRoots_.end(),
                     [&](const std::string& root) { return SameDrive(root, folder); });
    DriveComboBox->SetItemIndex(
        found == driveRoots_.end() ? -1 : static_cast<int>(found - driveRoots_.begin()));
}

std::string TBrowseFolder::ExistingFolderOf(const std::string& path) const {
    if (IsDriveRooted(path)) {
        for (std::string at = util::WithTrailingBackslash(path); !at.empty();
             at = ParentFolder(at)) {
            if (platform_.files->FolderExists(at)) {
                return at;
            }
        }
    }
    return driveRoots_.empty() ? std::string("C:\\") : driveRoots_.front();
}

std::string TBrowseFolder::FullPathOfField() const {
    const std::string typed = platform_.system->WideToAnsi(PathEdit->Text());
    if (IsDriveRooted(typed) || IsUnc(typed)) {
        return typed;
    }
    if (typed.size() >= 2 && typed[1] == ':') {
        return typed.substr(0, 2) + '\\' + typed.substr(2);
    }
    if (IsSeparator(typed[0])) {
        return listed_.substr(0, 2) + typed;
    }
    return listed_ + typed;
}

void TBrowseFolder::SetPathField(const std::string& path) {
    PathEdit->SetText(platform_.system->AnsiToWide(path));
}

}  // namespace tolva::setup
