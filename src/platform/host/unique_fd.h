#pragma once
// Owner of a POSIX file descriptor.

#include <unistd.h>

#include "platform/unique_owner.h"

namespace tolva::platform {

struct FdTraits {
    using Handle = int;
    static int None() { return -1; }
    static bool IsNone(int fd) { return fd < 0; }
    static void Close(int fd) { ::close(fd); }
};

using UniqueFd = UniqueOwner<FdTraits>;

}  // namespace tolva::platform
