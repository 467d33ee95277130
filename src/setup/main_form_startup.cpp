#include "setup/main_form_startup.h"

#include <utility>

#include "i18n/export_switch.h"
#include "setup/component_tree.h"
#include "setup/package_table.h"

namespace tolva::setup {

std::u16string TreeNodeCaptions::NodeCaption(size_t position) const {
    return tree_.Nodes()[position].text;
}

void TreeNodeCaptions::SetNodeCaption(size_t position, std::u16string_view caption) {
    tree_.SetNodeText(static_cast<int>(position), std::u16string(caption));
}

void MainFormStartupView::SetTitle(std::u16string title) {
    if (applicationTitle_) {
        applicationTitle_(title);
    }
    form_.SetCaption(std::move(title));
}

void MainFormStartupView::FillWelcomeVersion(std::u16string_view version) {
    form_.FillWelcomeVersion(version);
}

void MainFormStartupView::SetAgreementText(std::u16string text) {
    form_.SetAgreementText(std::move(text));
}

void MainFormStartupView::SetSetupTypeHeading(std::u16string text) {
    form_.SetSetupTypeHeading(std::move(text));
}

void MainFormStartupView::DeselectShortcutIcons() {
    form_.SetComponentState(component_key::kDesktopIcon, kNotSelected);
    form_.SetComponentState(component_key::kQuickLaunchIcon, kNotSelected);
    RecomputeGroups(*form_.ComponentsList);
}

void MainFormStartupView::HideInstallationMode() {
    form_.HideInstallationMode();
}

void MainFormStartupView::ShowWebmailNote(std::u16string address) {
    form_.ShowWebmailNote(std::move(address));
}

void MainFormStartupView::SetUserDetails(std::u16string name, std::u16string email,
                                         std::u16string company, std::u16string_view country) {
    form_.SetUserDetails(std::move(name), std::move(email), std::move(company), country);
}

void MainFormStartupView::SetupPage() {
    form_.SetupPage();
}

MainFormStartup::MainFormStartup(Parts parts)
    : parts_(std::move(parts)),
      translation_(parts_.application, *parts_.platform.system),
      tree_(*parts_.form.ComponentsList),
      localization_(*parts_.platform.files, *parts_.platform.system, parts_.form.State.SetupFolder,
                    i18n::HasExportLanguageSwitch(parts_.arguments)),
      view_(parts_.form, parts_.applicationTitle) {
    localization_.SetFormsTranslator(&translation_);
    localization_.SetComponentsTree(&tree_);
}

StartupOutcome MainFormStartup::RunStartup() {
    StartupContext context{parts_.platform, parts_.arguments,      parts_.settings,
                           localization_,   parts_.languageDialog, parts_.pathRegistry,
                           view_,           parts_.uninstall,      parts_.processEnd,
                           parts_.abort,    i18n::UIStrings(),     parts_.options};
    return setup::RunStartup(context, parts_.form.State);
}

}  // namespace tolva::setup
