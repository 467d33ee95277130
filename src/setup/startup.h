#pragma once
// The start-up of setup, run once before the main window is ever shown: language, info.xml, the
// command-line switches, the extraction folder, the language dialog and the start question, and
// the search for an earlier installation in the product's registry key. It decides whether the
// wizard is shown at all.

#include <string>
#include <string_view>
#include <vector>

#include "i18n/language_dialog.h"
#include "i18n/localization.h"
#include "i18n/ui_strings.h"
#include "platform/platform.h"
#include "setup/exit_codes.h"
#include "setup/process_end.h"
#include "setup/setup_state.h"
#include "stores/settings_store.h"
#include "util/setup_abort.h"
#include "winsys/advanced_registry.h"

namespace tolva::setup {

// What the start-up changes on the main window.
class StartupView {
public:
    virtual ~StartupView() = default;
    // The window caption and the application's title.
    virtual void SetTitle(std::u16string title) = 0;
    // Fills "%s" of the welcome heading, when it has one, with the version.
    virtual void FillWelcomeVersion(std::u16string_view version) = 0;
    // The License page's agreement box.
    virtual void SetAgreementText(std::u16string text) = 0;
    // The heading label of the Setup type page.
    virtual void SetSetupTypeHeading(std::u16string text) = 0;
    // Unticks "Desktop icon" and "Quick launch icon" in the components tree.
    virtual void DeselectShortcutIcons() = 0;
    // Hides the "Installation Mode" group of the Setup type page.
    virtual void HideInstallationMode() = 0;
    // Shows the Finished page's webmail upgrade note with the address in its address label.
    virtual void ShowWebmailNote(std::u16string address) = 0;
    // Fills the user-details fields; the country is chosen when the list has it.
    virtual void SetUserDetails(std::u16string name, std::u16string email, std::u16string company,
                                std::u16string_view country) = 0;
    // Shows the page of the state's PageIndex.
    virtual void SetupPage() = 0;
};

// The uninstall that "/UNINSTALL" runs after the user confirmed it.
class UninstallRunner {
public:
    virtual ~UninstallRunner() = default;
    // False when the folder was refused: the refusal was shown and nothing changed.
    virtual bool RunUninstall() = 0;
};

// How a run whose command line was read as run switches (run_switches.h) goes through the
// start-up; the default is the classic run, which dispatches on the first argument alone.
struct StartupOptions {
    bool runSwitches = false;
    bool silent = false;     // no start question
    bool uninstall = false;  // the uninstall run, with its question
    // A dry run changes nothing: no older product key is copied, no extraction folder is made, no
    // language is unpacked or chosen, and nothing is asked.
    bool dryRun = false;
    // The exit code of a run whose language dialog gave no language.
    int languageRefusedExit = kExitSuccess;
};

struct StartupContext {
    const platform::Platform& platform;
    std::vector<std::string> arguments;  // without the program's own name
    stores::SettingsStore& settings;
    i18n::Localization& localization;
    i18n::LanguageDialog& languageDialog;
    winsys::TAdvancedRegistry& pathRegistry;  // the product key's component
    StartupView& view;
    UninstallRunner* uninstall;  // none: a confirmed uninstall removes nothing
    ProcessEnd& processEnd;
    // Ends the run when no extraction folder can be made.
    util::SetupAbort& abort;
    const i18n::TUIStrings& strings;
    StartupOptions options = {};
};

enum class StartupOutcome {
    kWizard,  // the wizard is set up on its first page: the program entry shows it now
    kEnded,   // the process was ended: switch runs and cancelled starts (exit code 0), a refused
              // uninstall or no extraction folder (1603)
};

// Runs the start-up over the state, whose SetupFolder must be set.
StartupOutcome RunStartup(const StartupContext& context, SetupState& state);

// The product key as the start-up points the registry component at it.
inline constexpr char kProductArea[] = "\\Software\\Corvane";
inline constexpr char kProductSection[] = "Tolva Mail Server";

// The five component exclusions of the product key; reading fails quietly to false, writing
// ignores failures.
void ReadComponentExclusions(winsys::TAdvancedRegistry& productKey, SetupState& state);
void WriteComponentExclusions(winsys::TAdvancedRegistry& productKey, const SetupState& state);

}  // namespace tolva::setup
