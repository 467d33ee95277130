#include "platform/fake/faulty_file_system.h"

#include <algorithm>
#include <cstdlib>

namespace tolva::platform {
namespace {

constexpr int kPowerCutExitCode = 9;

uint32_t DefaultCode(FileOperation operation) {
    switch (operation) {
        case FileOperation::kRead:
        case FileOperation::kReadWholeFile:
            return error::kReadFault;
        case FileOperation::kWrite:
        case FileOperation::kWriteWholeFile:
        case FileOperation::kAppendToFile:
        case FileOperation::kCopyOver:
        case FileOperation::kCreateFolders:
            return error::kDiskFull;
        case FileOperation::kClose:
            return error::kWriteFault;
        default:
            return error::kAccessDenied;
    }
}

const char* NameOf(FileOperation operation) {
    switch (operation) {
        case FileOperation::kCreateFolders:
            return "CreateFolders";
        case FileOperation::kReadWholeFile:
            return "ReadWholeFile";
        case FileOperation::kWriteWholeFile:
            return "WriteWholeFile";
        case FileOperation::kAppendToFile:
            return "AppendToFile";
        case FileOperation::kCopyOver:
            return "CopyOver";
        case FileOperation::kMoveTo:
            return "MoveTo";
        case FileOperation::kMoveIn:
            return "MoveIn";
        case FileOperation::kRemoveFile:
            return "RemoveFile";
        case FileOperation::kRemoveEmptyFolder:
            return "RemoveEmptyFolder";
        case FileOperation::kSetNormalAttributes:
            return "SetNormalAttributes";
        case FileOperation::kListFolder:
            return "ListFolder";
        case FileOperation::kGetFileSize:
            return "GetFileSize";
        case FileOperation::kGetFileTime:
            return "GetFileTime";
        case FileOperation::kGetAttributes:
            return "GetAttributes";
        case FileOperation::kOpenForRead:
            return "OpenForRead";
        case FileOperation::kOpenForWrite:
            return "OpenForWrite";
        case FileOperation::kOpenForUpdate:
            return "OpenForUpdate";
        case FileOperation::kRead:
            return "read";
        case FileOperation::kWrite:
            return "write";
        case FileOperation::kClose:
            return "close";
    }
    return "?";
}

bool IsWrite(FileOperation operation) {
    return operation == FileOperation::kWrite || operation == FileOperation::kWriteWholeFile ||
           operation == FileOperation::kAppendToFile;
}

}  // namespace

FaultyFileSystem::Fault::Fault(FileOperation operation)
    : operation_(operation), code_(DefaultCode(operation)) {}

FaultyFileSystem::Fault& FaultyFileSystem::Fault::OnPaths(
    std::function<bool(std::string_view)> accept) {
    accept_ = std::move(accept);
    return *this;
}

FaultyFileSystem::Fault& FaultyFileSystem::Fault::OnPathsEndingIn(std::string suffix) {
    return OnPaths(
        [suffix = std::move(suffix)](std::string_view path) { return path.ends_with(suffix); });
}

FaultyFileSystem::Fault& FaultyFileSystem::Fault::AfterCalls(uint64_t count) {
    passCalls_ = count;
    return *this;
}

FaultyFileSystem::Fault& FaultyFileSystem::Fault::AfterBytes(uint64_t bytes) {
    bytesLimited_ = true;
    passBytes_ = bytes;
    return *this;
}

FaultyFileSystem::Fault& FaultyFileSystem::Fault::Once() {
    once_ = true;
    return *this;
}

FaultyFileSystem::Fault& FaultyFileSystem::Fault::WithCode(uint32_t code) {
    code_ = code;
    return *this;
}

FaultyFileSystem::Fault& FaultyFileSystem::Fault::EndingTheProcess() {
    effect_ = Effect::kEndProcess;
    return *this;
}

FaultyFileSystem::Fault& FaultyFileSystem::Fault::Aborting() {
    effect_ = Effect::kAbort;
    return *this;
}

FaultyFileSystem::Fault& FaultyFileSystem::Fault::Discarding() {
    if (!IsWrite(operation_)) {
        std::abort();  // nothing but written data can be dropped and still be reported done
    }
    effect_ = Effect::kDiscard;
    return *this;
}

FaultyFileSystem::Fault& FaultyFileSystem::Inject(FileOperation operation) {
    return faults_.emplace_back(operation);
}

void FaultyFileSystem::FillTheDisk() {
    for (FileOperation operation :
         {FileOperation::kWrite, FileOperation::kWriteWholeFile, FileOperation::kAppendToFile,
          FileOperation::kCopyOver, FileOperation::kCreateFolders}) {
        Inject(operation).WithCode(error::kDiskFull);
    }
}

FaultyFileSystem::Verdict FaultyFileSystem::Check(FileOperation operation, std::string_view path,
                                                  std::string_view otherPath, uint64_t size) const {
    Verdict verdict{nullptr, size};
    for (Fault& fault : faults_) {
        if (fault.operation_ != operation || fault.spent_ ||
            (fault.accept_ && !fault.accept_(path) &&
             (otherPath.empty() || !fault.accept_(otherPath)))) {
            continue;
        }
        if (++fault.callsSeen_ <= fault.passCalls_ || verdict.fault != nullptr) {
            continue;
        }
        uint64_t allowed = 0;
        if (fault.bytesLimited_) {
            const uint64_t left = fault.passBytes_ - std::min(fault.bytesSeen_, fault.passBytes_);
            if (size <= left) {
                continue;
            }
            if (operation == FileOperation::kRead && left > 0) {
                verdict.allowed = std::min(verdict.allowed, left);
                continue;
            }
            allowed = left;
        }
        verdict = {&fault, allowed};
        fault.spent_ = fault.once_;
    }
    return verdict;
}

void FaultyFileSystem::Consumed(FileOperation operation, std::string_view path,
                                uint64_t bytes) const {
    for (Fault& fault : faults_) {
        if (fault.operation_ == operation && (!fault.accept_ || fault.accept_(path))) {
            fault.bytesSeen_ += bytes;
        }
    }
}

Status FaultyFileSystem::Strike(const Fault& fault, FileOperation operation,
                                std::string_view path) const {
    ++strikes_;
    switch (fault.effect_) {
        case Fault::Effect::kEndProcess:
            std::_Exit(kPowerCutExitCode);
        case Fault::Effect::kAbort:
            std::abort();
        case Fault::Effect::kDiscard:
            return Status::Ok();
        case Fault::Effect::kFail:
            break;
    }
    return Status::Failure(fault.code_, std::string("injected failure: ") + NameOf(operation) +
                                            " " + std::string(path));
}

Status FaultyFileSystem::Guard(FileOperation operation, std::string_view path,
                               std::string_view otherPath,
                               const std::function<Status()>& call) const {
    const Verdict verdict = Check(operation, path, otherPath, 0);
    if (verdict.fault != nullptr) {
        return Strike(*verdict.fault, operation, path);
    }
    return call();
}

Status FaultyFileSystem::WriteThrough(FileOperation operation, std::string_view path,
                                      std::string_view content,
                                      const std::function<Status(std::string_view)>& write,
                                      const std::function<void()>& closeFile) const {
    const Verdict verdict = Check(operation, path, {}, content.size());
    if (verdict.fault == nullptr || verdict.fault->effect_ == Fault::Effect::kDiscard) {
        Consumed(operation, path, content.size());
        return verdict.fault == nullptr ? write(content) : Strike(*verdict.fault, operation, path);
    }
    if (verdict.allowed > 0) {
        (void)write(content.substr(0, static_cast<size_t>(verdict.allowed)));
        Consumed(operation, path, verdict.allowed);
    }
    if (verdict.fault->effect_ == Fault::Effect::kEndProcess && closeFile) {
        closeFile();  // what reached the file stays there, as after a crash
    }
    return Strike(*verdict.fault, operation, path);
}

Status FaultyFileSystem::ReadThrough(std::string_view path, size_t size, size_t& got,
                                     const std::function<Status(size_t)>& read) const {
    got = 0;
    const Verdict verdict = Check(FileOperation::kRead, path, {}, size);
    if (verdict.fault != nullptr) {
        return Strike(*verdict.fault, FileOperation::kRead, path);
    }
    Status status = read(static_cast<size_t>(verdict.allowed));
    Consumed(FileOperation::kRead, path, got);
    return status;
}

Status FaultyFileSystem::CloseThrough(std::string_view path,
                                      const std::function<Status()>& close) const {
    const Verdict verdict = Check(FileOperation::kClose, path, {}, 0);
    if (verdict.fault == nullptr) {
        return close();
    }
    if (verdict.fault->effect_ == Fault::Effect::kFail) {
        (void)close();
    }
    return Strike(*verdict.fault, FileOperation::kClose, path);
}

class FaultyFileSystem::Input final : public InputFile {
public:
    Input(const FaultyFileSystem& owner, std::string path, std::unique_ptr<InputFile> inner)
        : owner_(owner), path_(std::move(path)), inner_(std::move(inner)) {}
    Status Read(void* buffer, size_t size, size_t& got) override {
        return owner_.ReadThrough(
            path_, size, got, [&](size_t allowed) { return inner_->Read(buffer, allowed, got); });
    }
    uint64_t Size() const override { return inner_->Size(); }

private:
    const FaultyFileSystem& owner_;
    std::string path_;
    std::unique_ptr<InputFile> inner_;
};

class FaultyFileSystem::Output final : public OutputFile {
public:
    Output(FaultyFileSystem& owner, std::string path, std::unique_ptr<OutputFile> inner)
        : owner_(owner), path_(std::move(path)), inner_(std::move(inner)) {}
    Status Write(const void* data, size_t size) override {
        return owner_.WriteThrough(
            FileOperation::kWrite, path_, std::string_view(static_cast<const char*>(data), size),
            [&](std::string_view part) { return inner_->Write(part.data(), part.size()); },
            [&] { (void)inner_->Close(); });
    }
    Status Close() override {
        return owner_.CloseThrough(path_, [&] { return inner_->Close(); });
    }

private:
    FaultyFileSystem& owner_;
    std::string path_;
    std::unique_ptr<OutputFile> inner_;
};

class FaultyFileSystem::Update final : public UpdateFile {
public:
    Update(FaultyFileSystem& owner, std::string path, std::unique_ptr<UpdateFile> inner)
        : owner_(owner), path_(std::move(path)), inner_(std::move(inner)) {}
    uint64_t Size() const override { return inner_->Size(); }
    Status ReadAt(uint64_t position, void* buffer, size_t size, size_t& got) override {
        return owner_.ReadThrough(path_, size, got, [&](size_t allowed) {
            return inner_->ReadAt(position, buffer, allowed, got);
        });
    }
    Status WriteAt(uint64_t position, const void* data, size_t size) override {
        return owner_.WriteThrough(
            FileOperation::kWrite, path_, std::string_view(static_cast<const char*>(data), size),
            [&](std::string_view part) {
                return inner_->WriteAt(position, part.data(), part.size());
            },
            [&] { (void)inner_->Close(); });
    }
    Status Close() override {
        return owner_.CloseThrough(path_, [&] { return inner_->Close(); });
    }

private:
    FaultyFileSystem& owner_;
    std::string path_;
    std::unique_ptr<UpdateFile> inner_;
};

Status FaultyFileSystem::CreateFolders(std::string_view path) {
    return Guard(FileOperation::kCreateFolders, path, {},
                 [&] { return inner().CreateFolders(path); });
}

Status FaultyFileSystem::ReadWholeFile(std::string_view path, std::string& content) const {
    std::string read;
    if (Status status = inner().ReadWholeFile(path, read); !status) {
        return status;
    }
    const Verdict verdict = Check(FileOperation::kReadWholeFile, path, {}, read.size());
    if (verdict.fault != nullptr) {
        return Strike(*verdict.fault, FileOperation::kReadWholeFile, path);
    }
    Consumed(FileOperation::kReadWholeFile, path, read.size());
    content = std::move(read);
    return Status::Ok();
}

Status FaultyFileSystem::WriteWholeFile(std::string_view path, std::string_view content) {
    return WriteThrough(FileOperation::kWriteWholeFile, path, content,
                        [&](std::string_view part) { return inner().WriteWholeFile(path, part); });
}

Status FaultyFileSystem::AppendToFile(std::string_view path, std::string_view content) {
    return WriteThrough(FileOperation::kAppendToFile, path, content,
                        [&](std::string_view part) { return inner().AppendToFile(path, part); });
}

Status FaultyFileSystem::CopyOver(std::string_view from, std::string_view to) {
    return Guard(FileOperation::kCopyOver, to, from, [&] { return inner().CopyOver(from, to); });
}

Status FaultyFileSystem::MoveTo(std::string_view from, std::string_view to, bool replace) {
    return Guard(FileOperation::kMoveTo, from, to,
                 [&] { return inner().MoveTo(from, to, replace); });
}

Status FaultyFileSystem::MoveIn(std::string_view from, std::string_view to) {
    return Guard(FileOperation::kMoveIn, from, to, [&] { return inner().MoveIn(from, to); });
}

Status FaultyFileSystem::RemoveFile(std::string_view path) {
    return Guard(FileOperation::kRemoveFile, path, {}, [&] { return inner().RemoveFile(path); });
}

Status FaultyFileSystem::RemoveEmptyFolder(std::string_view path) {
    return Guard(FileOperation::kRemoveEmptyFolder, path, {},
                 [&] { return inner().RemoveEmptyFolder(path); });
}

Status FaultyFileSystem::SetNormalAttributes(std::string_view path) {
    return Guard(FileOperation::kSetNormalAttributes, path, {},
                 [&] { return inner().SetNormalAttributes(path); });
}

Status FaultyFileSystem::ListFolder(std::string_view folder,
                                    std::vector<FolderEntry>& entries) const {
    return Guard(FileOperation::kListFolder, folder, {},
                 [&] { return inner().ListFolder(folder, entries); });
}

Status FaultyFileSystem::GetFileSize(std::string_view path, uint64_t& size) const {
    return Guard(FileOperation::kGetFileSize, path, {},
                 [&] { return inner().GetFileSize(path, size); });
}

Status FaultyFileSystem::GetFileTime(std::string_view path, FileTime& lastWrite) const {
    return Guard(FileOperation::kGetFileTime, path, {},
                 [&] { return inner().GetFileTime(path, lastWrite); });
}

Status FaultyFileSystem::GetAttributes(std::string_view path, uint32_t& attributes) const {
    return Guard(FileOperation::kGetAttributes, path, {},
                 [&] { return inner().GetAttributes(path, attributes); });
}

Status FaultyFileSystem::OpenForRead(std::string_view path,
                                     std::unique_ptr<InputFile>& file) const {
    std::unique_ptr<InputFile> opened;
    Status status = Guard(FileOperation::kOpenForRead, path, {},
                          [&] { return inner().OpenForRead(path, opened); });
    if (status && opened) {
        file = std::make_unique<Input>(*this, std::string(path), std::move(opened));
    }
    return status;
}

Status FaultyFileSystem::OpenForWrite(std::string_view path, std::unique_ptr<OutputFile>& file) {
    std::unique_ptr<OutputFile> opened;
    Status status = Guard(FileOperation::kOpenForWrite, path, {},
                          [&] { return inner().OpenForWrite(path, opened); });
    if (status && opened) {
        file = std::make_unique<Output>(*this, std::string(path), std::move(opened));
    }
    return status;
}

Status FaultyFileSystem::OpenForUpdate(std::string_view path, bool create,
                                       std::unique_ptr<UpdateFile>& file) {
    std::unique_ptr<UpdateFile> opened;
    Status status = Guard(FileOperation::kOpenForUpdate, path, {},
                          [&] { return inner().OpenForUpdate(path, create, opened); });
    if (status && opened) {
        file = std::make_unique<Update>(*this, std::string(path), std::move(opened));
    }
    return status;
}

}  // namespace tolva::platform
