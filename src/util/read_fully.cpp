#include "util/read_fully.h"

#include <cstdint>

namespace tolva::util {

bool ReadFully(platform::InputFile& file, void* buffer, size_t size, size_t& got) {
    got = 0;
    while (got < size) {
        size_t chunk = 0;
        if (!file.Read(static_cast<uint8_t*>(buffer) + got, size - got, chunk)) {
            return false;
        }
        if (chunk == 0) {
            break;
        }
        got += chunk;
    }
    return true;
}

}  // namespace tolva::util
