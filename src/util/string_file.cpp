#include "util/string_file.h"

#include <cstddef>
#include <memory>

namespace tolva::util {

namespace {

std::string_view CutFileName(std::string_view fileName) {
    return fileName.substr(0, kMaxFileNameLength);
}

// The folder part of a path including its final separator; empty when there is none.
std::string_view FolderOf(std::string_view path) {
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string_view::npos ? std::string_view() : path.substr(0, separator + 1);
}

platform::Status WriteOnce(platform::FileSystem& files, std::string_view path,
                           std::string_view content, bool append) {
    return append ? files.AppendToFile(path, content) : files.WriteWholeFile(path, content);
}

}  // namespace

bool ReadStringFromFile(const platform::FileSystem& files, std::string_view fileName,
                        std::string& content) {
    if (!files.ReadWholeFile(CutFileName(fileName), content)) {
        content.clear();
        return false;
    }
    return true;
}

std::string LoadStringFromFile(const platform::FileSystem& files, std::string_view fileName) {
    std::string content;
    (void)ReadStringFromFile(files, fileName, content);
    return content;
}

std::string LoadStringFromFile(platform::FileSystem& files, std::string_view fileName,
                               bool deleteAfterwards) {
    const std::string_view name = CutFileName(fileName);
    std::string content = LoadStringFromFile(static_cast<const platform::FileSystem&>(files), name);
    if (deleteAfterwards) {
        // A file that cannot be removed is left behind; its content was still read.
        (void)files.RemoveFile(name);
    }
    return content;
}

bool WriteCreatingFolders(platform::FileSystem& files, std::string_view path,
                          std::string_view content, bool append) {
    if (WriteOnce(files, path, content, append)) {
        return true;
    }
    const std::string_view folder = FolderOf(path);
    if (folder.empty() || !files.CreateFolders(folder)) {
        return false;
    }
    return WriteOnce(files, path, content, append).ok();
}

bool ReplaceFileWhole(platform::FileSystem& files, std::string_view path, std::string_view content,
                      bool createFolders) {
    const std::string fresh = std::string(path) + ".new";
    std::unique_ptr<platform::OutputFile> file;
    if (!files.OpenForWrite(fresh, file)) {
        const std::string_view folder = FolderOf(path);
        if (!createFolders || folder.empty() || !files.CreateFolders(folder) ||
            !files.OpenForWrite(fresh, file)) {
            return false;
        }
    }
    const bool complete = file->Write(content.data(), content.size()).ok() && file->Close().ok();
    file.reset();
    if (!complete || !files.MoveTo(fresh, path, true)) {
        (void)files.RemoveFile(fresh);
        return false;
    }
    return true;
}

bool SaveStringToFile(platform::FileSystem& files, std::string_view content,
                      std::string_view fileName, bool deleteWhenEmpty, bool append) {
    const std::string_view name = CutFileName(fileName);
    if (content.empty() && deleteWhenEmpty) {
        return files.RemoveFile(name).ok() || !files.FileExists(name);
    }
    return WriteCreatingFolders(files, name, content, append);
}

}  // namespace tolva::util
