#include "platform/win32/win32_processes.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <vector>

#include "platform/win32/ansi_text.h"
#include "platform/win32/procedure_address.h"
#include "platform/win32/unique_handle.h"

namespace tolva::platform {
namespace {

using EnumProcessesFn = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
using GetModuleBaseNameFn = DWORD(WINAPI*)(HANDLE, HMODULE, wchar_t*, DWORD);

class MutexClaim : public InstanceClaim {
public:
    explicit MutexClaim(UniqueHandle mutex) : mutex_(std::move(mutex)) {}

private:
    UniqueHandle mutex_;
};

Status LastError(const std::string& what) {
    return Status::Failure(::GetLastError(), what);
}

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH] = {};
    UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::wstring() : std::wstring(folder, length);
}

// The file name of the process's executable; empty when the process cannot be read.
std::string BaseName(DWORD id, EnumProcessModulesFn enumModules, GetModuleBaseNameFn baseName) {
    UniqueHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id));
    if (!process.Valid()) {
        return {};
    }
    HMODULE first = nullptr;
    DWORD needed = 0;
    if (!enumModules(process.Get(), &first, sizeof first, &needed)) {
        return {};
    }
    wchar_t name[MAX_PATH] = {};
    DWORD length = baseName(process.Get(), first, name, MAX_PATH);
    return WideToAnsiText(std::wstring_view(name, length));
}

}  // namespace

Status Win32Processes::List(std::vector<ProcessInfo>& processes) const {
    processes.clear();
    if (!statusLibraryTried_) {
        statusLibraryTried_ = true;
        std::wstring folder = SystemFolder();
        if (!folder.empty()) {
            statusLibrary_.Reset(::LoadLibraryW((folder + L"\\psapi.dll").c_str()));
        }
    }
    HMODULE library = statusLibrary_.Get();
    auto enumProcesses = ProcedureAddress<EnumProcessesFn>(library, "EnumProcesses");
    auto enumModules = ProcedureAddress<EnumProcessModulesFn>(library, "EnumProcessModules");
    auto baseName = ProcedureAddress<GetModuleBaseNameFn>(library, "GetModuleBaseNameW");
    if (enumProcesses == nullptr || enumModules == nullptr || baseName == nullptr) {
        return Status::Failure(ERROR_PROC_NOT_FOUND, "load the process status library");
    }
    // The list says only how much it filled: grow the room until some is left over.
    std::vector<DWORD> ids(1024);
    DWORD filled = 0;
    for (;;) {
        DWORD room = static_cast<DWORD>(ids.size() * sizeof(DWORD));
        if (!enumProcesses(ids.data(), room, &filled)) {
            return LastError("list the processes");
        }
        if (filled < room) {
            break;
        }
        ids.resize(ids.size() * 2);
    }
    ids.resize(filled / sizeof(DWORD));
    for (DWORD id : ids) {
        std::string name = BaseName(id, enumModules, baseName);
        if (!name.empty()) {
            processes.push_back(ProcessInfo{id, std::move(name)});
        }
    }
    return Status::Ok();
}

Status Win32Processes::Terminate(uint32_t processId, uint32_t exitCode) {
    UniqueHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    if (!process.Valid()) {
        return LastError("open process " + std::to_string(processId));
    }
    if (!::TerminateProcess(process.Get(), exitCode)) {
        return LastError("terminate process " + std::to_string(processId));
    }
    return Status::Ok();
}

Status Win32Processes::EnablePrivilege(std::string_view name) {
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) {
        return LastError("open our own token");
    }
    UniqueHandle token(raw);
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!::LookupPrivilegeValueW(nullptr, AnsiToWideText(name).c_str(),
                                 &privileges.Privileges[0].Luid)) {
        return LastError("look up privilege " + std::string(name));
    }
    // Succeeds also when the token lacks the privilege; the last error tells.
    if (!::AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr) ||
        ::GetLastError() != ERROR_SUCCESS) {
        return LastError("enable privilege " + std::string(name));
    }
    return Status::Ok();
}

Status Win32Processes::Launch(std::string_view file, std::string_view parameters,
                              std::string_view workingFolder, ShowCommand show) {
    std::wstring wideFile = AnsiToWideText(file);
    std::wstring wideParameters = AnsiToWideText(parameters);
    std::wstring wideFolder = AnsiToWideText(workingFolder);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpFile = wideFile.c_str();
    info.lpParameters = parameters.empty() ? nullptr : wideParameters.c_str();
    info.lpDirectory = workingFolder.empty() ? nullptr : wideFolder.c_str();
    info.nShow = static_cast<int>(show);
    if (!::ShellExecuteExW(&info)) {
        return LastError("launch " + std::string(file));
    }
    return Status::Ok();
}

Status Win32Processes::LimitToFirstProcessor(bool firstOnly) {
    DWORD_PTR processMask = 0;
    DWORD_PTR systemMask = 0;
    if (!::GetProcessAffinityMask(::GetCurrentProcess(), &processMask, &systemMask)) {
        return LastError("read the processor affinity");
    }
    DWORD_PTR wanted = firstOnly ? (systemMask & (~systemMask + 1)) : systemMask;
    if (!::SetProcessAffinityMask(::GetCurrentProcess(), wanted)) {
        return LastError("set the processor affinity");
    }
    return Status::Ok();
}

Status Win32Processes::ClaimInstance(std::string_view name, std::unique_ptr<InstanceClaim>& claim) {
    claim.reset();
    UniqueHandle mutex(::CreateMutexW(nullptr, FALSE, AnsiToWideText(name).c_str()));
    const DWORD created = ::GetLastError();
    if (!mutex.Valid()) {
        return Status::Failure(created, "create the mutex " + std::string(name));
    }
    // The mutex is never acquired: its existence is the claim, and it goes when the last handle
    // to it is closed, also when a process ends without closing it.
    if (created == ERROR_ALREADY_EXISTS) {
        return Status::Failure(ERROR_ALREADY_EXISTS, "claim " + std::string(name));
    }
    claim = std::make_unique<MutexClaim>(std::move(mutex));
    return Status::Ok();
}

}  // namespace tolva::platform
