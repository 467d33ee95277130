#pragma once
// The end of an installation that cannot go on: the error box, the abort line in the setup log, and
// the process ended as a failed installation.

#include "platform/dialogs.h"
#include "platform/system.h"
#include "setup/process_end.h"
#include "util/setup_abort.h"
#include "util/setup_log_sink.h"

namespace tolva::setup {

class AbortBox : public util::SetupAbort {
public:
    AbortBox(platform::Dialogs& dialogs, const platform::System& system, util::SetupLogSink& log,
             ProcessEnd& processEnd);

    // The box "Error" (error icon, task-modal) shows the message followed by the details; the log
    // gets "Error: Setup aborted - " + the message + CR LF, so that an empty line closes the run;
    // the process ends with kExitInstallFailure.
    void Abort(std::u16string_view message, std::u16string_view details) override;

private:
    platform::Dialogs& dialogs_;
    const platform::System& system_;
    util::SetupLogSink& log_;
    ProcessEnd& processEnd_;
};

}  // namespace tolva::setup
