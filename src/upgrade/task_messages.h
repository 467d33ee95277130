#pragma once
// Service task messages to the running server programs: over each program's named pipe in service
// mode, as a window message in application mode. Nothing waits for the work to be done; a lost
// message shows only in the return value.

#include <cstdint>

#include "platform/platform.h"
#include "upgrade/program_state.h"

namespace tolva::stores {
class DatabaseLibrary;
}

namespace tolva::upgrade {

class TaskMessenger {
public:
    // How long a busy pipe is waited for before the message is dropped.
    static constexpr uint32_t kBusyPipeWaitMs = 2000;
    // How long a program's window may take to handle a task message: as long as a busy pipe is
    // waited for, so that a program that stopped answering holds the installer no longer.
    static constexpr uint32_t kWindowAnswerMs = kBusyPipeWaitMs;

    // The run mode follows the platform id, as everywhere in the installer.
    explicit TaskMessenger(const platform::Platform& platform);

    RunMode Mode() const { return mode_; }

    // Service mode: the target's service runs, or failing that its window exists (a program
    // started by hand). Application mode: its window exists.
    bool IsProgramRunning(int target) const;
    // Service mode: true when the whole packet reached a running program's pipe. Application
    // mode: true whether or not a window took the message.
    bool PostTaskMessage(int target, uint32_t message, int32_t code, int32_t argument);
    // The program's answer; 0 when it does not run, cannot be reached or answers short.
    int32_t SendTaskMessage(int target, uint32_t message, int32_t code, int32_t argument);
    // Code 257 to every program (SMTP, POP3, IM, GroupWare, control), then the database library's
    // connection is ended when the library is loaded, so its next use reads the new settings.
    // database may be null.
    void BroadcastConfigChange(stores::DatabaseLibrary* database);

private:
    // Service mode: sends one packet over its own connection; the reply when one is wanted.
    bool SendPacket(int index, uint32_t kind, uint32_t message, int32_t code, int32_t argument,
                    int32_t* reply);

    const platform::Platform& platform_;
    RunMode mode_;
};

}  // namespace tolva::upgrade
