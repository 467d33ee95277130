#pragma once
// A file system that passes every call to another one: the base of test wrappers that fail or
// record a few chosen operations and leave the rest to the real thing.

#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace tolva::platform {

class ForwardingFileSystem : public FileSystem {
public:
    explicit ForwardingFileSystem(FileSystem& inner) : inner_(inner) {}

    bool FileExists(std::string_view path) const override { return inner_.FileExists(path); }
    bool FolderExists(std::string_view path) const override { return inner_.FolderExists(path); }
    Status CreateFolders(std::string_view path) override { return inner_.CreateFolders(path); }
    Status ReadWholeFile(std::string_view path, std::string& content) const override {
        return inner_.ReadWholeFile(path, content);
    }
    Status WriteWholeFile(std::string_view path, std::string_view content) override {
        return inner_.WriteWholeFile(path, content);
    }
    Status AppendToFile(std::string_view path, std::string_view content) override {
        return inner_.AppendToFile(path, content);
    }
    Status CopyOver(std::string_view from, std::string_view to) override {
        return inner_.CopyOver(from, to);
    }
    Status MoveTo(std::string_view from, std::string_view to, bool replace) override {
        return inner_.MoveTo(from, to, replace);
    }
    Status MoveIn(std::string_view from, std::string_view to) override {
        return inner_.MoveIn(from, to);
    }
    Status RemoveFile(std::string_view path) override { return inner_.RemoveFile(path); }
    Status RemoveEmptyFolder(std::string_view path) override {
        return inner_.RemoveEmptyFolder(path);
    }
    Status SetNormalAttributes(std::string_view path) override {
        return inner_.SetNormalAttributes(path);
    }
    Status ListFolder(std::string_view folder, std::vector<FolderEntry>& entries) const override {
        return inner_.ListFolder(folder, entries);
    }
    Status ListDrives(std::vector<DriveEntry>& drives) const override {
        return inner_.ListDrives(drives);
    }
    Status AvailableSpace(std::string_view folder, uint64_t& bytes) const override {
        return inner_.AvailableSpace(folder, bytes);
    }
    Status GetFileSize(std::string_view path, uint64_t& size) const override {
        return inner_.GetFileSize(path, size);
    }
    Status GetFileTime(std::string_view path, FileTime& lastWrite) const override {
        return inner_.GetFileTime(path, lastWrite);
    }
    Status GetAttributes(std::string_view path, uint32_t& attributes) const override {
        return inner_.GetAttributes(path, attributes);
    }
    Status OpenForRead(std::string_view path, std::unique_ptr<InputFile>& file) const override {
        return inner_.OpenForRead(path, file);
    }
    Status OpenForWrite(std::string_view path, std::unique_ptr<OutputFile>& file) override {
        return inner_.OpenForWrite(path, file);
    }
    Status OpenForUpdate(std::string_view path, bool create,
                         std::unique_ptr<UpdateFile>& file) override {
        return inner_.OpenForUpdate(path, create, file);
    }

protected:
    FileSystem& inner() const { return inner_; }

private:
    FileSystem& inner_;
};

}  // namespace tolva::platform
