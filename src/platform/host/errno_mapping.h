#pragma once
// errno values as the Windows error codes the rest of the program tests for.

#include <cstdint>
#include <string>

#include "platform/status.h"

namespace tolva::platform {

// An errno without a Windows equivalent is reported with the "application" bit (1 << 29) set, which
// no system code carries, so ErrnoFromWindowsError can recover it.
uint32_t WindowsErrorFromErrno(int error);
// 0 when the code has no errno counterpart.
int ErrnoFromWindowsError(uint32_t code);

// As WindowsErrorFromErrno, and for ENOENT as Windows tells a missing file (kFileNotFound) from a
// missing folder on the way to it (kPathNotFound).
uint32_t WindowsErrorForPath(int error, const std::string& hostPath);

}  // namespace tolva::platform
