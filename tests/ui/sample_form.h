#pragma once
// A form with every kind of component, and a small modal dialog: the native tests drive them
// headless, the Wine test drives the same forms in real windows.

#include <memory>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "ui/form.h"

namespace tolva::ui::sample {

class TSampleDialog : public Form {
public:
    explicit TSampleDialog(Application& application);
    void FormCloseQuery(Form& sender, bool& canClose);

    Component* ValueEdit = nullptr;
};

class TSampleForm : public Form {
public:
    // The dialog is created after the form, so that the form is the application's main form.
    TSampleForm(Application& application, platform::Dialogs& dialogs);

    TSampleDialog& Dialog() { return *dialog_; }

    void BackButtonClick(Component& sender);
    void NameEditChange(Component& sender);
    void AgreeCheckClick(Component& sender);
    void ModeRadioClick(Component& sender);
    void CountryComboChange(Component& sender);
    void ComponentsTreeClick(Component& sender);
    void ComponentsTreeKeyPress(Component& sender, char16_t& key);
    void DialogButtonClick(Component& sender);
    void MessageButtonClick(Component& sender);
    void LinkLabelClick(Component& sender);
    void FormKeyPress(Form& sender, char16_t& key);
    void FormShow(Form& sender);

    // One line per handler run, in order ("NextButton click", "NameEdit change abc", ...).
    const std::vector<std::string>& EventLog() const { return log_; }

    Component* Header = nullptr;
    Component* HeaderLabel = nullptr;
    Component* LogoImage = nullptr;
    Component* NameEdit = nullptr;
    Component* PassEdit = nullptr;
    Component* CountryCombo = nullptr;
    Component* DsnCombo = nullptr;
    Component* AgreeCheck = nullptr;
    Component* BasicRadio = nullptr;
    Component* AdvancedRadio = nullptr;
    Component* ComponentsTree = nullptr;
    Component* LicenseMemo = nullptr;
    Component* FolderList = nullptr;
    Component* OptionsList = nullptr;
    Component* AccountsView = nullptr;
    Component* ProgressBar = nullptr;
    Component* LinkLabel = nullptr;
    Component* StatusLabel = nullptr;
    Component* BackButton = nullptr;
    Component* NextButton = nullptr;
    Component* CancelButton = nullptr;

private:
    void Note(std::string line);
    // Toggles a tree node and makes its parent follow its children, as a component tree does.
    void ToggleNode(int node);

    platform::Dialogs& dialogs_;
    std::unique_ptr<TSampleDialog> dialog_;
    std::vector<std::string> log_;
};

// The four check-state pictures of the tree: selected, not selected, fixed, partly selected.
std::vector<Picture> CheckStatePictures();
// A small logo drawn in code.
Picture LogoPicture();

}  // namespace tolva::ui::sample
