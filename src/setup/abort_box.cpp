#include "setup/abort_box.h"

#include <string>

#include "i18n/ui_strings.h"
#include "setup/exit_codes.h"

namespace tolva::setup {

AbortBox::AbortBox(platform::Dialogs& dialogs, const platform::System& system,
                   util::SetupLogSink& log, ProcessEnd& processEnd)
    : dialogs_(dialogs), system_(system), log_(log), processEnd_(processEnd) {}

void AbortBox::Abort(std::u16string_view message, std::u16string_view details) {
    platform::MessageBoxRequest box;
    box.text = std::u16string(message).append(details);
    box.caption = i18n::Text(i18n::cError);
    box.icon = platform::DialogIcon::kError;
    box.taskModal = true;
    (void)dialogs_.ShowMessageBox(box);
    log_.Write("Error: Setup aborted - " + system_.WideToAnsi(message) + "\r\n");
    processEnd_.EndProcess(kExitInstallFailure);
}

}  // namespace tolva::setup
