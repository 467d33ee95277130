#pragma once
// Stand-ins for what the start-up works on besides the machine: the main window's side and the
// language dialog.

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "i18n/language_dialog.h"
#include "setup/startup.h"

namespace tolva::setup::test {

// Records what the start-up did to the main window; can be made to fail in one place.
class RecordingView : public StartupView {
public:
    void SetTitle(std::u16string text) override { title = text; }
    void FillWelcomeVersion(std::u16string_view text) override { welcomeVersion = text; }
    void SetAgreementText(std::u16string text) override { agreement = text; }
    void SetSetupTypeHeading(std::u16string text) override {
        if (failHeading) {
            throw std::runtime_error("heading");
        }
        setupTypeHeading = text;
    }
    void DeselectShortcutIcons() override { iconsDeselected = true; }
    void HideInstallationMode() override { installationModeHidden = true; }
    void ShowWebmailNote(std::u16string address) override { webmailNote = address; }
    void SetUserDetails(std::u16string name, std::u16string email, std::u16string company,
                        std::u16string_view country) override {
        userDetails = {name, email, company, std::u16string(country)};
    }
    void SetupPage() override { pageSetUp = true; }

    bool failHeading = false;
    std::u16string title;
    std::u16string welcomeVersion;
    std::u16string agreement;
    std::u16string setupTypeHeading;
    bool iconsDeselected = false;
    bool installationModeHidden = false;
    std::optional<std::u16string> webmailNote;
    std::vector<std::u16string> userDetails;
    bool pageSetUp = false;
};

// Chooses the language with the caption choice; cancels when there is none (or choice is empty).
class ChoosingDialog : public i18n::LanguageDialog {
public:
    std::optional<int> ChooseLanguage(const std::vector<std::u16string>& captions, int) override {
        ++shown;
        offered = captions;
        for (size_t i = 0; i < captions.size(); ++i) {
            if (!choice.empty() && captions[i] == choice) {
                return static_cast<int>(i);
            }
        }
        return std::nullopt;
    }

    std::u16string choice;
    int shown = 0;
    std::vector<std::u16string> offered;
};

}  // namespace tolva::setup::test
