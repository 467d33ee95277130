// Any bytes as an archive. The first byte chooses the options: with or without a password,
// overwrite, and an include list; the rest is the archive. The files are in memory and keep nothing
// of what is written, so memory stays flat however much an input unpacks; anything written outside
// the destination folder aborts the run.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "archive/extract_archive.h"
#include "platform/fake/faulty_file_system.h"
#include "platform/fake/memory_file_system.h"

namespace {

using tolva::platform::FileOperation;

constexpr char kArchive[] = "C:\\in.dat";
constexpr std::string_view kDestination = "C:\\out\\";

// Inside: below the destination, with no segment that leads out of it and no drive or stream.
bool Outside(std::string_view path) {
    if (!path.starts_with(kDestination)) {
        return true;
    }
    const std::string_view rest = path.substr(kDestination.size());
    if (rest.starts_with("\\") || rest.find(':') != std::string_view::npos) {
        return true;
    }
    for (size_t start = 0; start <= rest.size();) {
        const size_t end = std::min(rest.find('\\', start), rest.size());
        if (rest.substr(start, end - start) == "..") {
            return true;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const uint8_t options = data[0];
    tolva::platform::MemoryFileSystem memory;
    memory.files[kArchive] = std::string(reinterpret_cast<const char*>(data + 1), size - 1);
    tolva::platform::FaultyFileSystem files(memory);
    for (FileOperation change :
         {FileOperation::kCreateFolders, FileOperation::kWriteWholeFile,
          FileOperation::kAppendToFile, FileOperation::kCopyOver, FileOperation::kMoveTo,
          FileOperation::kRemoveFile, FileOperation::kRemoveEmptyFolder,
          FileOperation::kSetNormalAttributes, FileOperation::kOpenForWrite,
          FileOperation::kOpenForUpdate}) {
        files.Inject(change).OnPaths(Outside).Aborting();
    }
    files.Inject(FileOperation::kWrite).Discarding();
    int code = -1;
    const bool ok = tolva::archive::ExtractArchive(
        files, kArchive, "C:\\out", code, (options & 2) == 0, (options & 4) ? ";a;" : "",
        (options & 8) ? "a; b ;c" : "", (options & 1) ? "password" : "");
    if (ok && code != 0) {
        __builtin_trap();
    }
    return 0;
}
