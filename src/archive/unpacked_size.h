#pragma once
// What an archive takes on the disk once unpacked, found without writing anything.

#include <cstdint>
#include <string_view>

#include "platform/file_system.h"

namespace tolva::archive {

// The bytes of every entry's content, read by inflating the entries one after the other; an
// encrypted entry counts with its stored size, which no password is at hand to open. False when the
// archive cannot be read to its end.
bool UnpackedSize(const platform::FileSystem& files, std::string_view archiveFile, uint64_t& size);

}  // namespace tolva::archive
