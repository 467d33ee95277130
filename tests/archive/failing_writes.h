#pragma once
// A file system that forwards to another one, except that written files fail after a given number
// of bytes or when they are closed.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/fake/forwarding_file_system.h"

namespace tolva::archive::test {

class FailingWrites : public platform::ForwardingFileSystem {
public:
    // Files opened for writing accept failAfter bytes in total, then report a full disk; with
    // failClose, closing them fails too.
    FailingWrites(platform::FileSystem& inner, uint64_t failAfter, bool failClose)
        : ForwardingFileSystem(inner), failAfter_(failAfter), failClose_(failClose) {}

    platform::Status OpenForWrite(std::string_view path,
                                  std::unique_ptr<platform::OutputFile>& file) override {
        std::unique_ptr<platform::OutputFile> real;
        if (platform::Status opened = inner().OpenForWrite(path, real); !opened) {
            return opened;
        }
        file = std::make_unique<Output>(std::move(real), *this);
        return platform::Status::Ok();
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
            if (owner_.failClose_) {
                return platform::Status::Failure(platform::error::kWriteFault, "close failed");
            }
            return closed;
        }

    private:
        std::unique_ptr<platform::OutputFile> real_;
        FailingWrites& owner_;
    };

    uint64_t failAfter_;
    bool failClose_;
    uint64_t written_ = 0;
};

}  // namespace tolva::archive::test
