#include "platform/win32/win32_service_manager.h"

#include <windows.h>

#include <vector>

#include "platform/win32/ansi_text.h"
#include "platform/win32/procedure_address.h"
#include "platform/win32/unique_service_handle.h"

namespace tolva::platform {
namespace {

Status LastError(const std::string& what) {
    return Status::Failure(::GetLastError(), what);
}

class Win32Service : public Service {
public:
    Win32Service(UniqueServiceHandle handle, std::string name)
        : handle_(std::move(handle)), name_(std::move(name)) {}

    Status Start() override {
        if (!::StartServiceW(handle_.Get(), 0, nullptr)) {
            return LastError("start " + name_);
        }
        return Status::Ok();
    }

    Status Stop() override {
        SERVICE_STATUS status = {};
        if (!::ControlService(handle_.Get(), SERVICE_CONTROL_STOP, &status)) {
            return LastError("stop " + name_);
        }
        return Status::Ok();
    }

    Status QueryState(ServiceState& state) override {
        SERVICE_STATUS status = {};
        if (!::QueryServiceStatus(handle_.Get(), &status)) {
            return LastError("query the state of " + name_);
        }
        state = static_cast<ServiceState>(status.dwCurrentState);
        return Status::Ok();
    }

    Status QueryConfig(ServiceConfig& config) override {
        // The configuration carries its strings behind the fixed part: ask for the size first.
        std::vector<BYTE> buffer;
        DWORD needed = 0;
        for (;;) {
            auto* data = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
            if (::QueryServiceConfigW(handle_.Get(), data, static_cast<DWORD>(buffer.size()),
                                      &needed)) {
                config.serviceType = data->dwServiceType;
                config.startType = static_cast<ServiceStartType>(data->dwStartType);
                config.errorControl = data->dwErrorControl;
                config.binaryPath = Text(data->lpBinaryPathName);
                config.displayName = Text(data->lpDisplayName);
                return Status::Ok();
            }
            if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= buffer.size()) {
                return LastError("query the configuration of " + name_);
            }
            buffer.assign(needed, 0);
        }
    }

    Status ChangeConfig(const ServiceConfigChange& change) override {
        DWORD startType =
            change.startType ? static_cast<DWORD>(*change.startType) : SERVICE_NO_CHANGE;
        if (!::ChangeServiceConfigW(handle_.Get(), change.serviceType.value_or(SERVICE_NO_CHANGE),
                                    startType, change.errorControl.value_or(SERVICE_NO_CHANGE),
                                    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                    nullptr)) {
            return LastError("change the configuration of " + name_);
        }
        return Status::Ok();
    }

    Status SetFailureActions(const ServiceFailureActions& actions) override {
        // Systems before Windows 2000 lack the call: look it up rather than import it.
        using ChangeConfig2Fn = BOOL(WINAPI*)(SC_HANDLE, DWORD, LPVOID);
        auto change = ProcedureAddress<ChangeConfig2Fn>(::GetModuleHandleW(L"advapi32.dll"),
                                                        "ChangeServiceConfig2W");
        if (change == nullptr) {
            return Status::Failure(ERROR_PROC_NOT_FOUND, "extended service configuration");
        }
        std::vector<SC_ACTION> list;
        for (const ServiceFailureAction& action : actions.actions) {
            list.push_back(SC_ACTION{static_cast<SC_ACTION_TYPE>(action.recovery), action.delayMs});
        }
        SERVICE_FAILURE_ACTIONSW info = {};
        info.dwResetPeriod = actions.resetPeriodSeconds;
        info.cActions = static_cast<DWORD>(list.size());
        info.lpsaActions = list.empty() ? nullptr : list.data();
        if (!change(handle_.Get(), SERVICE_CONFIG_FAILURE_ACTIONS, &info)) {
            return LastError("set the failure actions of " + name_);
        }
        return Status::Ok();
    }

    Status MarkForDeletion() override {
        if (!::DeleteService(handle_.Get())) {
            return LastError("delete " + name_);
        }
        return Status::Ok();
    }

private:
    static std::string Text(const wchar_t* text) {
        return text == nullptr ? std::string() : WideToAnsiText(text);
    }

    UniqueServiceHandle handle_;
    std::string name_;
};

class Win32ServiceDatabase : public ServiceDatabase {
public:
    explicit Win32ServiceDatabase(UniqueServiceHandle handle) : handle_(std::move(handle)) {}

    Status Open(std::string_view name, uint32_t access,
                std::unique_ptr<Service>& service) override {
        service.reset();
        UniqueServiceHandle opened(
            ::OpenServiceW(handle_.Get(), AnsiToWideText(name).c_str(), access));
        if (!opened.Valid()) {
            return LastError("open service " + std::string(name));
        }
        service = std::make_unique<Win32Service>(std::move(opened), std::string(name));
        return Status::Ok();
    }

    Status Create(const NewService& definition, uint32_t access,
                  std::unique_ptr<Service>& service) override {
        service.reset();
        const ServiceConfig& config = definition.config;
        UniqueServiceHandle created(
            ::CreateServiceW(handle_.Get(), AnsiToWideText(definition.name).c_str(),
                             AnsiToWideText(config.displayName).c_str(), access, config.serviceType,
                             static_cast<DWORD>(config.startType), config.errorControl,
                             AnsiToWideText(config.binaryPath).c_str(), nullptr, nullptr, nullptr,
                             nullptr, nullptr));
        if (!created.Valid()) {
            return LastError("create service " + definition.name);
        }
        service = std::make_unique<Win32Service>(std::move(created), definition.name);
        return Status::Ok();
    }

private:
    UniqueServiceHandle handle_;
};

}  // namespace

Status Win32ServiceManager::Connect(uint32_t access, std::unique_ptr<ServiceDatabase>& database) {
    database.reset();
    UniqueServiceHandle manager(::OpenSCManagerW(nullptr, nullptr, access));
    if (!manager.Valid()) {
        return LastError("open the service control manager");
    }
    database = std::make_unique<Win32ServiceDatabase>(std::move(manager));
    return Status::Ok();
}

}  // namespace tolva::platform
