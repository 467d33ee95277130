#include "util/replace_file.h"

#include <memory>
#include <string>

namespace tolva::util {

namespace {

// Close flushes to the disk, so the move never puts a file in place whose data is not written.
bool WriteFlushed(platform::FileSystem& files, const std::string& path, std::string_view content) {
    std::unique_ptr<platform::OutputFile> file;
    if (!files.OpenForWrite(path, file)) {
        return false;
    }
    const bool written = file->Write(content.data(), content.size()).ok();
    return file->Close().ok() && written;
}

}  // namespace

bool ReplaceFileContent(platform::FileSystem& files, std::string_view path,
                        std::string_view content) {
    const std::string fresh = std::string(path) + ".new";
    if (WriteFlushed(files, fresh, content) && files.MoveTo(fresh, path, true)) {
        return true;
    }
    (void)files.RemoveFile(fresh);
    return false;
}

}  // namespace tolva::util
