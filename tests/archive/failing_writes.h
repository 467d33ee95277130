#pragma once
// A file system that forwards to another one, except that written files fail after a given number
// of bytes or when they are closed.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_system.h"

namespace tolva::archive::test {

class FailingWrites : public platform::FileSystem {
public:
    // Files opened for writing accept failAfter bytes in total, then report a full disk; with
    // failClose, closing them fails too.
    FailingWrites(platform::FileSystem& inner, uint64_t failAfter, bool failClose)
        : inner_(inner), failAfter_(failAfter), failClose_(failClose) {}

    platform::Status OpenForWrite(std::string_view path,
                                  std::unique_ptr<platform::OutputFile>& file) override {
        std::unique_ptr<platform::OutputFile> real;
        if (platform::Status opened = inner_.OpenForWrite(path, real); !opened)
            return opened;
        file = std::make_unique<Output>(std::move(real), *this);
        return platform::Status::Ok();
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
    platform::Status MoveTo(std::string_view from, std::string_view to, bool replace) override {
        return inner_.MoveTo(from, to, replace);
    }
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
                                 std::unique_ptr<platform::InputFile>& file) const override {
        return inner_.OpenForRead(path, file);
    }

private:
    class Output : public platform::OutputFile {
    public:
        Output(std::unique_ptr<platform::OutputFile> real, FailingWrites& owner)
            : real_(std::move(real)), owner_(owner) {}
        platform::Status Write(const void* data, size_t size) override {
            if (owner_.written_ + size > owner_.failAfter_) {
                return platform::Status::Failure(platform::error::kDiskFull, "disk full");
            }
            owner_.written_ += size;
            return real_->Write(data, size);
        }
        platform::Status Close() override {
            platform::Status closed = real_->Close();
            if (owner_.failClose_)
                return platform::Status::Failure(platform::error::kWriteFault, "close failed");
            return closed;
        }

    private:
        std::unique_ptr<platform::OutputFile> real_;
        FailingWrites& owner_;
    };

    platform::FileSystem& inner_;
    uint64_t failAfter_;
    bool failClose_;
    uint64_t written_ = 0;
};

}  // namespace tolva::archive::test
