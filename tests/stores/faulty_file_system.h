#pragma once
// A file system that passes every call to another one and fails where a test tells it to: a file
// written only in part, a replacement that cannot be made. Failures are reported the way the
// system reports them, or, with kill set, the process ends on the spot as a power cut would end it.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_system.h"

namespace tolva::stores::testing {

class FaultyFileSystem : public platform::FileSystem {
public:
    explicit FaultyFileSystem(platform::FileSystem& inner) : inner_(inner) {}

    // Writes to files whose path ends in suffix stop after limit bytes in total.
    void FailWritesAfter(std::string suffix, uint64_t limit, bool kill) {
        writeSuffix_ = std::move(suffix);
        writeLimit_ = limit;
        kill_ = kill;
    }
    void FailMoves(bool fail) { failMoves_ = fail; }
    // Reads of files whose path ends in suffix fail after limit bytes.
    void FailReadsAfter(std::string suffix, uint64_t limit) {
        readSuffix_ = std::move(suffix);
        readLimit_ = limit;
    }

    bool FileExists(std::string_view path) const override { return inner_.FileExists(path); }
    bool FolderExists(std::string_view path) const override { return inner_.FolderExists(path); }
    platform::Status CreateFolders(std::string_view path) override {
        return inner_.CreateFolders(path);
    }
    platform::Status ReadWholeFile(std::string_view path, std::string& content) const override {
        return inner_.ReadWholeFile(path, content);
    }
    platform::Status WriteWholeFile(std::string_view path, std::string_view content) override {
        return inner_.WriteWholeFile(path, content);
    }
    platform::Status AppendToFile(std::string_view path, std::string_view content) override {
        return inner_.AppendToFile(path, content);
    }
    platform::Status CopyOver(std::string_view from, std::string_view to) override {
        return inner_.CopyOver(from, to);
    }
    platform::Status MoveTo(std::string_view from, std::string_view to, bool replace) override;
    platform::Status RemoveFile(std::string_view path) override { return inner_.RemoveFile(path); }
    platform::Status RemoveEmptyFolder(std::string_view path) override {
        return inner_.RemoveEmptyFolder(path);
    }
    platform::Status SetNormalAttributes(std::string_view path) override {
        return inner_.SetNormalAttributes(path);
    }
    platform::Status ListFolder(std::string_view folder,
                                std::vector<platform::FolderEntry>& entries) const override {
        return inner_.ListFolder(folder, entries);
    }
    platform::Status GetFileSize(std::string_view path, uint64_t& size) const override {
        return inner_.GetFileSize(path, size);
    }
    platform::Status GetFileTime(std::string_view path,
                                 platform::FileTime& lastWrite) const override {
        return inner_.GetFileTime(path, lastWrite);
    }
    platform::Status OpenForRead(std::string_view path,
                                 std::unique_ptr<platform::InputFile>& file) const override;
    platform::Status OpenForWrite(std::string_view path,
                                  std::unique_ptr<platform::OutputFile>& file) override;
    platform::Status OpenForUpdate(std::string_view path, bool create,
                                   std::unique_ptr<platform::UpdateFile>& file) override {
        return inner_.OpenForUpdate(path, create, file);
    }

private:
    platform::FileSystem& inner_;
    std::string writeSuffix_;
    uint64_t writeLimit_ = 0;
    bool kill_ = false;
    bool failMoves_ = false;
    std::string readSuffix_;
    uint64_t readLimit_ = 0;
};

}  // namespace tolva::stores::testing
