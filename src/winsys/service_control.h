#pragma once
// Control of the suite's five server programs: their state, stopping and starting them, their
// start types, and creating and deleting their Windows services. In service mode through the
// service control manager, in application mode through their windows and executables.
//
// Nothing here raises an error to its caller: a failing call of the service manager shows the
// service error box and the operation reports false (a start reports true even then), and the
// run goes on.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "i18n/ui_strings.h"
#include "platform/platform.h"
#include "upgrade/program_state.h"
#include "winsys/service_control_window.h"

namespace tolva::winsys {

// A start type that is not known (or not to be changed).
inline constexpr int32_t kUnknownStartType = -1;

class ServiceControl {
public:
    // A stop waits this long for the stopped state or the window's disappearance.
    static constexpr uint32_t kStopDeadlineMs = 10000;
    static constexpr uint32_t kPollMs = 10;
    // The pause after a program had to be terminated.
    static constexpr uint32_t kAfterKillMs = 2000;

    // installFolder: with a trailing backslash; the folder of the executables. The run mode follows
    // the platform id. The texts are read from strings when they are shown.
    ServiceControl(const platform::Platform& platform, ServiceControlWindow& window,
                   std::string installFolder, const i18n::TUIStrings& strings = i18n::UIStrings());

    upgrade::RunMode Mode() const { return mode_; }

    upgrade::ProgramState GetSuiteServiceState(int index) const;
    // Stops or starts the program of the row at index; serviceName, when given, addresses another
    // service in service mode, while the row still names the executable to terminate.
    bool StartStopService(int index, bool start, std::string_view serviceName = {});
    // The start type the service had, or kUnknownStartType; with change it becomes newType, all
    // else of its configuration left as it is. A newType of kUnknownStartType changes nothing.
    int32_t ExchangeStartType(std::string_view serviceName, bool change, int32_t newType);
    // Service mode only.
    void CreateSuiteService(int index);
    void DeleteSuiteService(std::string_view serviceName);
    // Deletes every service of the table that is present and stopped. Service mode only.
    void DeleteStoppedServices();
    // Sets the start type to disabled; failures are silent.
    void DisableService(std::string_view serviceName);
    // The service error box for a system error code.
    void ShowServiceError(uint32_t code);

private:
    bool StopService(int index, std::string_view serviceName);
    bool StartService(std::string_view serviceName);
    bool CloseProgram(int index);
    bool LaunchProgram(int index);
    // The service's command line: quoted when the folder holds a blank, so that Windows cannot
    // take a shorter path ("C:\Program.exe") for the program.
    std::string BinaryPath(int index) const;
    bool DeadlinePassed(uint32_t start, uint32_t limitMs) const;
    // Connects with all rights; a failure shows the service error box.
    bool ConnectForControl(std::unique_ptr<platform::ServiceDatabase>& database);

    const platform::Platform& platform_;
    ServiceControlWindow& window_;
    std::string installFolder_;
    const i18n::TUIStrings& strings_;
    upgrade::RunMode mode_;
};

}  // namespace tolva::winsys
