#pragma once
// Owner of an open directory stream.

#include <dirent.h>

#include "platform/unique_owner.h"

namespace tolva::platform {

struct DirTraits {
    using Handle = DIR*;
    static DIR* None() { return nullptr; }
    static bool IsNone(DIR* dir) { return dir == nullptr; }
    static void Close(DIR* dir) { ::closedir(dir); }
};

using UniqueDir = UniqueOwner<DirTraits>;

}  // namespace tolva::platform
