#pragma once
// The message boxes of an unattended run: none is shown. Each takes its default answer, and the box
// with the answer taken goes to the setup log:
//   OK, OK/Cancel        OK
//   Yes/No               Yes (go on: the start question, the uninstall question, a folder to make)
//   Yes/No/Cancel        No
//   Retry/Cancel         Cancel (a file that cannot be copied ends the installation)
//   Abort/Retry/Ignore   Abort

#include "platform/dialogs.h"
#include "platform/system.h"
#include "util/setup_log_sink.h"

namespace tolva::setup {

class QuietDialogs : public platform::Dialogs {
public:
    QuietDialogs(util::SetupLogSink& log, const platform::System& system)
        : log_(log), system_(system) {}

    platform::DialogResult ShowMessageBox(const platform::MessageBoxRequest& request) override;

private:
    util::SetupLogSink& log_;
    const platform::System& system_;
};

}  // namespace tolva::setup
