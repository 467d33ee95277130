#include "platform/win32/win32_pipes.h"

#include <windows.h>

#include <string>

#include "platform/win32/ansi_text.h"
#include "platform/win32/unique_handle.h"

namespace tolva::platform {
namespace {

class Win32PipeConnection : public PipeConnection {
public:
    Win32PipeConnection(UniqueHandle handle, std::string path)
        : handle_(std::move(handle)), path_(std::move(path)) {}

    Status Write(const void* data, size_t size, size_t& written) override {
        DWORD done = 0;
        BOOL ok = ::WriteFile(handle_.Get(), data, static_cast<DWORD>(size), &done, nullptr);
        written = done;
        if (!ok) {
            return Status::Failure(::GetLastError(), "write " + path_);
        }
        return Status::Ok();
    }

    Status Read(void* buffer, size_t size, size_t& got) override {
        DWORD done = 0;
        BOOL ok = ::ReadFile(handle_.Get(), buffer, static_cast<DWORD>(size), &done, nullptr);
        got = done;
        // A message longer than the buffer: what fits has been read.
        if (!ok && ::GetLastError() != ERROR_MORE_DATA) {
            return Status::Failure(::GetLastError(), "read " + path_);
        }
        return Status::Ok();
    }

private:
    UniqueHandle handle_;
    std::string path_;
};

}  // namespace

Status Win32Pipes::Open(std::string_view pipePath, std::unique_ptr<PipeConnection>& connection) {
    connection.reset();
    // The server may identify the installer but never act as it: a program that planted a pipe
    // of a suite program's name gains none of the installer's rights.
    UniqueHandle handle(::CreateFileW(AnsiToWideText(pipePath).c_str(),
                                      GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr));
    if (!handle.Valid()) {
        return Status::Failure(::GetLastError(), "open " + std::string(pipePath));
    }
    connection = std::make_unique<Win32PipeConnection>(std::move(handle), std::string(pipePath));
    return Status::Ok();
}

bool Win32Pipes::WaitAvailable(std::string_view pipePath, uint32_t timeoutMs) {
    // 0 would ask for the server's default time.
    DWORD limit = timeoutMs == 0 ? 1 : timeoutMs;
    return ::WaitNamedPipeW(AnsiToWideText(pipePath).c_str(), limit) != FALSE;
}

}  // namespace tolva::platform
