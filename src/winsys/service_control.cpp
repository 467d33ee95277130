#include "winsys/service_control.h"

#include <memory>

#include "upgrade/service_table.h"
#include "winsys/kill_process.h"

namespace tolva::winsys {

namespace access = platform::service_access;
using platform::ServiceState;
using upgrade::RunMode;

namespace {

// Where a service keeps the description the service list shows.
constexpr char kServicesKey[] = "System\\CurrentControlSet\\Services\\";

}  // namespace

ServiceControl::ServiceControl(const platform::Platform& platform, ServiceControlWindow& window,
                               std::string installFolder, const i18n::TUIStrings& strings)
    : platform_(platform),
      window_(window),
      installFolder_(std::move(installFolder)),
      strings_(strings),
      mode_(upgrade::RunModeOf(platform.system->GetPlatformId())) {}

upgrade::ProgramState ServiceControl::GetSuiteServiceState(int index) const {
    return upgrade::GetSuiteServiceState(platform_, mode_, index);
}

bool ServiceControl::StartStopService(int index, bool start, std::string_view serviceName) {
    const upgrade::ServiceRow* row = upgrade::ServiceRowAt(index);
    if (row == nullptr) {
        return false;
    }
    std::string_view name = serviceName.empty() ? std::string_view(row->serviceName) : serviceName;
    if (mode_ == RunMode::kService) {
        return start ? StartService(name) : StopService(index, name);
    }
    return start ? LaunchProgram(index) : CloseProgram(index);
}

bool ServiceControl::StopService(int index, std::string_view serviceName) {
    std::unique_ptr<platform::ServiceDatabase> database;
    if (!ConnectForControl(database)) {
        return false;
    }
    std::unique_ptr<platform::Service> service;
    if (!database->Open(serviceName, access::kStop | access::kQueryStatus, service)) {
        return false;
    }
    platform::Status status = service->Stop();
    if (!status) {
        ShowServiceError(status.code());
        return false;
    }
    platform::System& system = *platform_.system;
    uint32_t started = system.Ticks();
    // A state that cannot be read counts as not stopped.
    ServiceState state = ServiceState::kStopPending;
    if (!service->QueryState(state)) {
        state = ServiceState::kStopPending;
    }
    while (state != ServiceState::kStopped && !DeadlinePassed(started, kStopDeadlineMs)) {
        system.SleepFor(kPollMs);
        if (!service->QueryState(state)) {
            state = ServiceState::kStopPending;
        }
    }
    if (state == ServiceState::kStopped) {
        return true;
    }
    (void)KillProcessByName(*platform_.processes, upgrade::ServiceRowAt(index)->executable);
    system.SleepFor(kAfterKillMs);
    return false;
}

bool ServiceControl::StartService(std::string_view serviceName) {
    std::unique_ptr<platform::ServiceDatabase> database;
    if (!ConnectForControl(database)) {
        return false;
    }
    std::unique_ptr<platform::Service> service;
    platform::Status status = database->Open(serviceName, access::kStart, service);
    if (!status) {
        ShowServiceError(status.code());
        return false;
    }
    status = service->Start();
    if (!status) {
        ShowServiceError(status.code());
    }
    // The run goes on after a failed start: the check after the installation reports it.
    return true;
}

bool ServiceControl::CloseProgram(int index) {
    platform::WindowHandle window = upgrade::FindProgramWindow(*platform_.windows, index);
    if (window == 0) {
        return false;
    }
    // A program that stopped answering holds the close no longer than the stop's deadline.
    platform::System& system = *platform_.system;
    uint32_t started = system.Ticks();
    platform_.windows->Close(window, kStopDeadlineMs);
    while (upgrade::FindProgramWindow(*platform_.windows, index) != 0 &&
           !DeadlinePassed(started, kStopDeadlineMs)) {
        system.SleepFor(kPollMs);
    }
    // A program that keeps its window is left running; the start-up check will show it.
    return true;
}

bool ServiceControl::LaunchProgram(int index) {
    std::string executable = installFolder_ + upgrade::ServiceRowAt(index)->executable;
    if (!platform_.files->FileExists(executable)) {
        return false;
    }
    return platform_.processes->Launch(executable, "", installFolder_, platform::ShowCommand::kShow)
        .ok();
}

int32_t ServiceControl::ExchangeStartType(std::string_view serviceName, bool change,
                                          int32_t newType) {
    if (change && newType == kUnknownStartType) {
        return kUnknownStartType;
    }
    std::unique_ptr<platform::ServiceDatabase> database;
    std::unique_ptr<platform::Service> service;
    platform::ServiceConfig config;
    if (!platform_.services->Connect(access::kManagerConnect, database) ||
        !database->Open(serviceName, access::kQueryConfig | access::kChangeConfig, service) ||
        !service->QueryConfig(config)) {
        return kUnknownStartType;
    }
    if (change) {
        platform::ServiceConfigChange update;
        update.serviceType = config.serviceType;
        update.startType = static_cast<platform::ServiceStartType>(newType);
        update.errorControl = config.errorControl;
        (void)service->ChangeConfig(update);
    }
    return static_cast<int32_t>(config.startType);
}

void ServiceControl::CreateSuiteService(int index) {
    const upgrade::ServiceRow* row = upgrade::ServiceRowAt(index);
    if (row == nullptr || mode_ != RunMode::kService) {
        return;
    }
    std::unique_ptr<platform::ServiceDatabase> database;
    if (!ConnectForControl(database)) {
        return;
    }
    platform::NewService definition;
    definition.name = row->serviceName;
    definition.config.serviceType = platform::kServiceOwnProcess;
    definition.config.startType = platform::ServiceStartType::kAutomatic;
    definition.config.errorControl = platform::kServiceErrorNormal;
    definition.config.binaryPath = BinaryPath(index);
    definition.config.displayName = row->displayName;
    std::unique_ptr<platform::Service> service;
    platform::Status created = database->Create(definition, access::kAll, service);

    // The description is written even when the service exists already.
    (void)platform_.registry->WriteString(platform::RegistryRoot::kLocalMachine,
                                          std::string(kServicesKey) + row->serviceName,
                                          "Description", row->description);
    if (created) {
        platform::ServiceFailureActions restart;
        restart.resetPeriodSeconds = 0;
        restart.actions.push_back({platform::ServiceRecovery::kRestart, 0});
        (void)service->SetFailureActions(restart);
    } else {
        ShowServiceError(created.code());
    }
}

void ServiceControl::DeleteSuiteService(std::string_view serviceName) {
    if (mode_ != RunMode::kService) {
        return;
    }
    std::unique_ptr<platform::ServiceDatabase> database;
    if (!ConnectForControl(database)) {
        return;
    }
    std::unique_ptr<platform::Service> service;
    if (!database->Open(serviceName, access::kAll, service)) {
        return;
    }
    platform::Status status = service->MarkForDeletion();
    if (!status) {
        ShowServiceError(status.code());
    }
}

void ServiceControl::DeleteStoppedServices() {
    if (mode_ != RunMode::kService) {
        return;
    }
    for (int index = 0; index < upgrade::kServiceCount; ++index) {
        if (GetSuiteServiceState(index).Is(ServiceState::kStopped)) {
            DeleteSuiteService(upgrade::ServiceRowAt(index)->serviceName);
        }
    }
}

void ServiceControl::DisableService(std::string_view serviceName) {
    std::unique_ptr<platform::ServiceDatabase> database;
    std::unique_ptr<platform::Service> service;
    if (!platform_.services->Connect(access::kManagerAll, database) ||
        !database->Open(serviceName, access::kAll, service)) {
        return;
    }
    platform::ServiceConfigChange disable;
    disable.startType = platform::ServiceStartType::kDisabled;
    (void)service->ChangeConfig(disable);
}

void ServiceControl::ShowServiceError(uint32_t code) {
    platform::System& system = *platform_.system;
    platform::MessageBoxRequest box;
    box.text = strings_[i18n::cServiceError] + system.AnsiToWide(system.ErrorText(code)) +
               strings_[i18n::cErrorText];
    box.caption = u"Warning";
    box.buttons = platform::DialogButtons::kOk;
    box.icon = platform::DialogIcon::kWarning;
    box.taskModal = true;
    (void)window_.ShowMessageBox(box);
}

std::string ServiceControl::BinaryPath(int index) const {
    std::string path = installFolder_ + upgrade::ServiceRowAt(index)->executable;
    if (path.find(' ') != std::string::npos) {
        return "\"" + path + "\"";
    }
    return path;
}

bool ServiceControl::ConnectForControl(std::unique_ptr<platform::ServiceDatabase>& database) {
    platform::Status status = platform_.services->Connect(access::kManagerAll, database);
    if (!status) {
        ShowServiceError(status.code());
    }
    return status.ok();
}

bool ServiceControl::DeadlinePassed(uint32_t start, uint32_t limitMs) const {
    // Unsigned difference: right across the wrap of the tick count.
    return platform_.system->Ticks() - start >= limitMs;
}

}  // namespace tolva::winsys
