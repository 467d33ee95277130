// Any bytes as an archive. The first byte chooses the options: with or without a password,
// overwrite, and an include list; the rest is the archive.

#include <cstddef>
#include <cstdint>
#include <string>

#include "archive/extract_archive.h"
#include "memory_file_system.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const uint8_t options = data[0];
    const std::string_view archive(reinterpret_cast<const char*>(data + 1), size - 1);
    tolva::archive::fuzz::MemoryFileSystem files("C:\\in.dat", archive, "C:\\out\\");
    int code = -1;
    const bool ok = tolva::archive::ExtractArchive(
        files, "C:\\in.dat", "C:\\out", code, (options & 2) == 0, (options & 4) ? ";a;" : "",
        (options & 8) ? "a; b ;c" : "", (options & 1) ? "password" : "");
    if (ok && code != 0) {
        __builtin_trap();
    }
    return 0;
}
