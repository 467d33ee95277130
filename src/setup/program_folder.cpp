#include "setup/program_folder.h"

#include "util/text.h"

namespace tolva::setup {

bool AnsiCodePageHolds(const platform::System& system, std::u16string_view text) {
    return system.AnsiToWide(system.WideToAnsi(text)) == text;
}

bool AcceptProgramFolder(platform::Dialogs& dialogs, const platform::System& system,
                         std::u16string_view folder) {
    if (AnsiCodePageHolds(system, folder)) {
        return true;
    }
    (void)dialogs.ShowMessageBox({util::FillMarks(kFolderNotHeldText, {folder}), u"Error",
                                  platform::DialogButtons::kOk, platform::DialogIcon::kError,
                                  true});
    return false;
}

}  // namespace tolva::setup
