#pragma once
// The one way the platform layer reports failure: the system's error code and what was being done.

#include <cstdint>
#include <string>
#include <utility>

namespace tolva::platform {

class [[nodiscard]] Status {
public:
    Status() = default;
    static Status Ok() { return Status(); }
    // code: the system's error code (GetLastError() on Windows; the host maps errno to the same
    // codes); never 0 on failure.
    static Status Failure(uint32_t code, std::string what) {
        return Status(code == 0 ? 1 : code, std::move(what));
    }

    bool ok() const { return code_ == 0; }
    explicit operator bool() const { return ok(); }
    uint32_t code() const { return code_; }
    const std::string& what() const { return what_; }

private:
    Status(uint32_t code, std::string what) : code_(code), what_(std::move(what)) {}
    uint32_t code_ = 0;
    std::string what_;
};

// Windows error codes that callers test for; the host and fake implementations report the same
// values.
namespace error {
inline constexpr uint32_t kFileNotFound = 2;
inline constexpr uint32_t kPathNotFound = 3;
inline constexpr uint32_t kAccessDenied = 5;
inline constexpr uint32_t kInvalidHandle = 6;
inline constexpr uint32_t kNotEnoughMemory = 8;
inline constexpr uint32_t kWriteFault = 29;
inline constexpr uint32_t kReadFault = 30;
inline constexpr uint32_t kHandleEof = 38;
inline constexpr uint32_t kNotSupported = 50;
inline constexpr uint32_t kFileExists = 80;
inline constexpr uint32_t kInvalidParameter = 87;
inline constexpr uint32_t kBrokenPipe = 109;
inline constexpr uint32_t kDiskFull = 112;
inline constexpr uint32_t kInsufficientBuffer = 122;
inline constexpr uint32_t kProcNotFound = 127;
inline constexpr uint32_t kDirNotEmpty = 145;
inline constexpr uint32_t kAlreadyExists = 183;
inline constexpr uint32_t kPipeBusy = 231;
inline constexpr uint32_t kMoreData = 234;
inline constexpr uint32_t kNoMoreItems = 259;
inline constexpr uint32_t kServiceAlreadyRunning = 1056;
inline constexpr uint32_t kServiceDisabled = 1058;
inline constexpr uint32_t kServiceDoesNotExist = 1060;
inline constexpr uint32_t kServiceCannotAcceptControl = 1061;
inline constexpr uint32_t kServiceNotActive = 1062;
inline constexpr uint32_t kServiceMarkedForDelete = 1072;
inline constexpr uint32_t kServiceExists = 1073;
inline constexpr uint32_t kCancelled = 1223;
inline constexpr uint32_t kTimeout = 1460;
inline constexpr uint32_t kUnsupportedType = 1630;
}  // namespace error

}  // namespace tolva::platform
