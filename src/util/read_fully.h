#pragma once
// Reading a fixed amount from a file whose reads may return less than asked for.

#include <cstddef>

#include "platform/file_system.h"

namespace tolva::util {

// Reads until size bytes arrived or the file ended; got counts what arrived. False when a read
// failed, with got counting what arrived before the failure.
[[nodiscard]] bool ReadFully(platform::InputFile& file, void* buffer, size_t size, size_t& got);

}  // namespace tolva::util
