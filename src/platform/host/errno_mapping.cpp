#include "platform/host/errno_mapping.h"

#include <sys/stat.h>

#include <cerrno>
#include <utility>

namespace tolva::platform {
namespace {

constexpr uint32_t kApplicationBit = 1u << 29;
constexpr uint32_t kNotSameDevice = 17;     // ERROR_NOT_SAME_DEVICE
constexpr uint32_t kFilenameTooLong = 206;  // ERROR_FILENAME_EXCED_RANGE
constexpr uint32_t kTooManyOpenFiles = 4;   // ERROR_TOO_MANY_OPEN_FILES

constexpr std::pair<int, uint32_t> kMapping[] = {
    {ENOENT, error::kFileNotFound},
    {ENOTDIR, error::kPathNotFound},
    {EACCES, error::kAccessDenied},
    {EPERM, error::kAccessDenied},
    {EROFS, error::kAccessDenied},
    {EISDIR, error::kAccessDenied},
    {EBADF, error::kInvalidHandle},
    {ENOMEM, error::kNotEnoughMemory},
    {EIO, error::kWriteFault},
    {EEXIST, error::kAlreadyExists},
    {EINVAL, error::kInvalidParameter},
    {ENOSPC, error::kDiskFull},
    {EDQUOT, error::kDiskFull},
    {ENOTEMPTY, error::kDirNotEmpty},
    {ETIMEDOUT, error::kTimeout},
    {EOPNOTSUPP, error::kNotSupported},
    {EXDEV, kNotSameDevice},
    {ENAMETOOLONG, kFilenameTooLong},
    {EMFILE, kTooManyOpenFiles},
};

}  // namespace

uint32_t WindowsErrorFromErrno(int error) {
    for (const auto& [number, code] : kMapping) {
        if (number == error) {
            return code;
        }
    }
    return kApplicationBit | static_cast<uint32_t>(error);
}

int ErrnoFromWindowsError(uint32_t code) {
    if ((code & kApplicationBit) != 0) {
        return static_cast<int>(code & ~kApplicationBit);
    }
    if (code == error::kPathNotFound) {
        return ENOENT;
    }
    for (const auto& [number, mapped] : kMapping) {
        if (mapped == code) {
            return number;
        }
    }
    return 0;
}

uint32_t WindowsErrorForPath(int error, const std::string& hostPath) {
    if (error != ENOENT) {
        return WindowsErrorFromErrno(error);
    }
    size_t slash = hostPath.rfind('/');
    std::string parent = slash == 0 || slash == std::string::npos ? "/" : hostPath.substr(0, slash);
    struct stat info;
    bool parentIsFolder = ::stat(parent.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    return parentIsFolder ? error::kFileNotFound : error::kPathNotFound;
}

}  // namespace tolva::platform
