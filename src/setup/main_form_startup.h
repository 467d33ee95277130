#pragma once
// The start-up over the main window, run by the program entry before the window is ever shown: the
// window's side of the routine, the components tree for the language files, and the parts the
// routine works with. Only a run the start-up leaves to the wizard shows the window.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "i18n/control_translation.h"
#include "i18n/localization.h"
#include "i18n/tree_captions.h"
#include "setup/main_form.h"
#include "setup/startup.h"
#include "stores/settings_store.h"
#include "winsys/advanced_registry.h"

namespace tolva::setup {

// The node captions of a tree component in depth-first order.
class TreeNodeCaptions : public i18n::ComponentsTreeCaptions {
public:
    explicit TreeNodeCaptions(ui::Component& tree) : tree_(tree) {}
    size_t NodeCount() const override { return tree_.Nodes().size(); }
    std::u16string NodeCaption(size_t position) const override;
    void SetNodeCaption(size_t position, std::u16string_view caption) override;

private:
    ui::Component& tree_;
};

// What the routine changes, on the main form.
class MainFormStartupView : public StartupView {
public:
    // applicationTitle receives the title the application's own window shows.
    MainFormStartupView(TMainForm& form,
                        std::function<void(const std::u16string&)> applicationTitle)
        : form_(form), applicationTitle_(std::move(applicationTitle)) {}

    void SetTitle(std::u16string title) override;
    void FillWelcomeVersion(std::u16string_view version) override;
    void SetAgreementText(std::u16string text) override;
    void SetSetupTypeHeading(std::u16string text) override;
    void DeselectShortcutIcons() override;
    void HideInstallationMode() override;
    void ShowWebmailNote(std::u16string address) override;
    void SetUserDetails(std::u16string name, std::u16string email, std::u16string company,
                        std::u16string_view country) override;
    void SetupPage() override;

private:
    TMainForm& form_;
    std::function<void(const std::u16string&)> applicationTitle_;
};

// The main form's start-up with the language of the run.
class MainFormStartup {
public:
    struct Parts {
        ui::Application& application;
        const platform::Platform& platform;
        TMainForm& form;
        i18n::LanguageDialog& languageDialog;
        stores::SettingsStore& settings;
        winsys::TAdvancedRegistry& pathRegistry;  // the product key's component
        UninstallRunner* uninstall;
        ProcessEnd& processEnd;
        util::SetupAbort& abort;
        std::vector<std::string> arguments;  // without the program's own name
        std::function<void(const std::u16string&)> applicationTitle;
        StartupOptions options = {};
    };
    explicit MainFormStartup(Parts parts);

    // Runs the routine once; kWizard leaves the wizard set up on its first page, to be shown.
    StartupOutcome RunStartup();

private:
    Parts parts_;
    i18n::ControlTranslation translation_;
    TreeNodeCaptions tree_;
    i18n::Localization localization_;
    MainFormStartupView view_;
};

}  // namespace tolva::setup
