#include "faulty_file_system.h"

#include <algorithm>
#include <cstdlib>

namespace tolva::stores::testing {

namespace {

class FaultyOutputFile : public platform::OutputFile {
public:
    FaultyOutputFile(std::unique_ptr<platform::OutputFile> inner, uint64_t limit, bool kill)
        : inner_(std::move(inner)), left_(limit), kill_(kill) {}

    platform::Status Write(const void* data, size_t size) override {
        if (size <= left_) {
            left_ -= size;
            return inner_->Write(data, size);
        }
        (void)inner_->Write(data, static_cast<size_t>(left_));
        if (kill_) {
            // What reached the file so far stays there, as after a crash.
            (void)inner_->Close();
            std::_Exit(9);
        }
        left_ = 0;
        return platform::Status::Failure(platform::error::kDiskFull, "injected write failure");
    }
    platform::Status Close() override { return inner_->Close(); }

private:
    std::unique_ptr<platform::OutputFile> inner_;
    uint64_t left_;
    bool kill_;
};

class FaultyInputFile : public platform::InputFile {
public:
    FaultyInputFile(std::unique_ptr<platform::InputFile> inner, uint64_t limit)
        : inner_(std::move(inner)), left_(limit) {}

    platform::Status Read(void* buffer, size_t size, size_t& got) override {
        got = 0;
        if (left_ == 0) {
            return platform::Status::Failure(platform::error::kReadFault, "injected read failure");
        }
        platform::Status status =
            inner_->Read(buffer, static_cast<size_t>(std::min<uint64_t>(size, left_)), got);
        left_ -= got;
        return status;
    }
    uint64_t Size() const override { return inner_->Size(); }

private:
    std::unique_ptr<platform::InputFile> inner_;
    uint64_t left_;
};

}  // namespace

platform::Status FaultyFileSystem::OpenForRead(std::string_view path,
                                               std::unique_ptr<platform::InputFile>& file) const {
    platform::Status status = inner().OpenForRead(path, file);
    if (status.ok() && !readSuffix_.empty() && path.ends_with(readSuffix_)) {
        file = std::make_unique<FaultyInputFile>(std::move(file), readLimit_);
    }
    return status;
}

platform::Status FaultyFileSystem::MoveTo(std::string_view from, std::string_view to,
                                          bool replace) {
    if (failMoves_) {
        return platform::Status::Failure(platform::error::kAccessDenied, "injected move failure");
    }
    return inner().MoveTo(from, to, replace);
}

platform::Status FaultyFileSystem::OpenForWrite(std::string_view path,
                                                std::unique_ptr<platform::OutputFile>& file) {
    platform::Status status = inner().OpenForWrite(path, file);
    if (status.ok() && !writeSuffix_.empty() && path.ends_with(writeSuffix_)) {
        file = std::make_unique<FaultyOutputFile>(std::move(file), writeLimit_, kill_);
    }
    return status;
}

}  // namespace tolva::stores::testing
