#include "upgrade/task_messages.h"

#include "stores/database_library.h"
#include "upgrade/pipe_client.h"
#include "upgrade/service_table.h"
#include "upgrade/task_packet.h"

namespace tolva::upgrade {
namespace {

uintptr_t WindowCode(int32_t code) {
    return static_cast<uintptr_t>(static_cast<uint32_t>(code));
}

}  // namespace

TaskMessenger::TaskMessenger(const platform::Platform& platform)
    : platform_(platform), mode_(RunModeOf(platform.system->GetPlatformId())) {}

bool TaskMessenger::IsProgramRunning(int target) const {
    std::optional<int> index = ResolveTarget(target);
    if (!index) {
        return false;
    }
    if (mode_ == RunMode::kService &&
        GetServiceState(*platform_.services, ServiceRowAt(*index)->serviceName)
            .Is(platform::ServiceState::kRunning)) {
        return true;
    }
    return FindProgramWindow(*platform_.windows, *index) != 0;
}

bool TaskMessenger::PostTaskMessage(int target, uint32_t message, int32_t code, int32_t argument) {
    std::optional<int> index = ResolveTarget(target);
    if (mode_ == RunMode::kApplication) {
        platform::WindowHandle window = index ? FindProgramWindow(*platform_.windows, *index) : 0;
        if (window != 0) {
            (void)platform_.windows->Send(window, message, WindowCode(code), argument,
                                          kWindowAnswerMs);
        }
        return true;
    }
    return index && SendPacket(*index, kPacketNoReply, message, code, argument, nullptr);
}

int32_t TaskMessenger::SendTaskMessage(int target, uint32_t message, int32_t code,
                                       int32_t argument) {
    std::optional<int> index = ResolveTarget(target);
    if (!index) {
        return 0;
    }
    if (mode_ == RunMode::kApplication) {
        platform::WindowHandle window = FindProgramWindow(*platform_.windows, *index);
        if (window == 0) {
            return 0;
        }
        return static_cast<int32_t>(
            platform_.windows->Send(window, message, WindowCode(code), argument, kWindowAnswerMs));
    }
    int32_t reply = 0;
    (void)SendPacket(*index, kPacketWithReply, message, code, argument, &reply);
    return reply;
}

void TaskMessenger::BroadcastConfigChange(stores::DatabaseLibrary* database) {
    for (int target :
         {kSmtpService, kPop3Service, kImService, kGroupWareService, kControlService}) {
        (void)PostTaskMessage(target, kTaskMessage, kConfigChangedCode, 0);
    }
    if (database != nullptr && database->IsLoaded()) {
        database->ReleaseDatabaseLibrary();
    }
}

bool TaskMessenger::SendPacket(int index, uint32_t kind, uint32_t message, int32_t code,
                               int32_t argument, int32_t* reply) {
    if (!IsProgramRunning(index)) {
        return false;
    }
    TPipeClient pipe;
    if (!pipe.Connect(*platform_.pipes, ServiceRowAt(index)->serviceName, kBusyPipeWaitMs)) {
        return false;
    }
    if (!pipe.WriteAll(EncodeTaskPacket(kind, message, code, argument))) {
        // The program still waits for the rest of the packet: a read would wait for ever.
        return false;
    }
    if (reply != nullptr) {
        *reply = DecodeReply(pipe.ReadOnce(kReplyLimit));
    }
    return true;
}

}  // namespace tolva::upgrade
