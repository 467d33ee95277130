#pragma once
// A file system that passes every call to another one and fails the calls a test picks, by
// operation and path, as the system reports such failures: a disk that fills after so many bytes,
// a read that breaks off halfway, a move or an open that is refused, the Nth write. A fault may
// instead end the process on the spot, as a power cut would, abort it (a fuzzer's finding), or
// swallow what is written, so that a fuzzer's memory stays flat however much it extracts.
//
//     FaultyFileSystem faulty(files);
//     faulty.Inject(FileOperation::kWrite).OnPathsEndingIn(".new").AfterBytes(100);
//     faulty.Inject(FileOperation::kMoveTo).Once();

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <string_view>

#include "platform/fake/forwarding_file_system.h"

namespace tolva::platform {

enum class FileOperation {
    kCreateFolders,
    kReadWholeFile,
    kWriteWholeFile,
    kAppendToFile,
    kCopyOver,
    kMoveTo,
    kMoveIn,
    kRemoveFile,
    kRemoveEmptyFolder,
    kSetNormalAttributes,
    kListFolder,
    kGetFileSize,
    kGetFileTime,
    kGetAttributes,
    kOpenForRead,
    kOpenForWrite,
    kOpenForUpdate,
    kRead,   // InputFile::Read and UpdateFile::ReadAt
    kWrite,  // OutputFile::Write and UpdateFile::WriteAt
    kClose,  // OutputFile::Close and UpdateFile::Close
};

class FaultyFileSystem : public ForwardingFileSystem {
public:
    class Fault {
    public:
        explicit Fault(FileOperation operation);

        // Only calls on paths the predicate accepts; a copy or move matches by either path, a read,
        // write or close by the path its file was opened with. Every path by default.
        Fault& OnPaths(std::function<bool(std::string_view path)> accept);
        Fault& OnPathsEndingIn(std::string suffix);
        // The first count matching calls pass; the fault strikes from the next one on.
        Fault& AfterCalls(uint64_t count);
        // Reads and writes (whole files too): that many bytes pass, counted over every matching
        // call. A write that crosses the limit stores what fits and fails; a read that would cross
        // it returns what fits, and the next read fails.
        Fault& AfterBytes(uint64_t bytes);
        // The fault strikes one time only.
        Fault& Once();
        // The system error reported; by default what a full disk, a read error, a failed flush or
        // a refused access report for the operation.
        Fault& WithCode(uint32_t code);
        // The process ends with exit code 9; a write stores what fits first and closes its file.
        Fault& EndingTheProcess();
        // std::abort, for a fuzzer to report.
        Fault& Aborting();
        // Writes only (kWrite, kWriteWholeFile, kAppendToFile): reported done, stored nowhere.
        Fault& Discarding();

    private:
        friend class FaultyFileSystem;
        enum class Effect { kFail, kEndProcess, kAbort, kDiscard };

        FileOperation operation_;
        std::function<bool(std::string_view)> accept_;
        uint64_t passCalls_ = 0;
        bool bytesLimited_ = false;
        uint64_t passBytes_ = 0;
        bool once_ = false;
        bool spent_ = false;
        uint32_t code_;
        Effect effect_ = Effect::kFail;
        uint64_t callsSeen_ = 0;
        uint64_t bytesSeen_ = 0;
    };

    explicit FaultyFileSystem(FileSystem& inner) : ForwardingFileSystem(inner) {}

    // Faults strike in the order they were injected; the first that strikes decides.
    Fault& Inject(FileOperation operation);
    // From now on every write, append, copy and folder creation fails with kDiskFull, as on a full
    // disk; files still open for writing, and fail when data is written to them.
    void FillTheDisk();
    // How many calls met a fault.
    uint64_t Strikes() const { return strikes_; }

    Status CreateFolders(std::string_view path) override;
    Status ReadWholeFile(std::string_view path, std::string& content) const override;
    Status WriteWholeFile(std::string_view path, std::string_view content) override;
    Status AppendToFile(std::string_view path, std::string_view content) override;
    Status CopyOver(std::string_view from, std::string_view to) override;
    Status MoveTo(std::string_view from, std::string_view to, bool replace) override;
    Status MoveIn(std::string_view from, std::string_view to) override;
    Status RemoveFile(std::string_view path) override;
    Status RemoveEmptyFolder(std::string_view path) override;
    Status SetNormalAttributes(std::string_view path) override;
    Status ListFolder(std::string_view folder, std::vector<FolderEntry>& entries) const override;
    Status GetFileSize(std::string_view path, uint64_t& size) const override;
    Status GetFileTime(std::string_view path, FileTime& lastWrite) const override;
    Status GetAttributes(std::string_view path, uint32_t& attributes) const override;
    Status OpenForRead(std::string_view path, std::unique_ptr<InputFile>& file) const override;
    Status OpenForWrite(std::string_view path, std::unique_ptr<OutputFile>& file) override;
    Status OpenForUpdate(std::string_view path, bool create,
                         std::unique_ptr<UpdateFile>& file) override;

private:
    class Input;
    class Output;
    class Update;

    // What becomes of one call: its first `allowed` bytes go through (all of them when no fault
    // struck), then the fault acts.
    struct Verdict {
        const Fault* fault = nullptr;
        uint64_t allowed = 0;
    };

    // Counts the call against the faults of the operation on either path; size is the call's byte
    // count for reads and writes.
    Verdict Check(FileOperation operation, std::string_view path, std::string_view otherPath,
                  uint64_t size) const;
    // Counts bytes read or written against the faults of the operation on the path.
    void Consumed(FileOperation operation, std::string_view path, uint64_t bytes) const;
    // The failure to report for a fault that struck; ends the process where the fault says so.
    Status Strike(const Fault& fault, FileOperation operation, std::string_view path) const;
    // Stores what the faults allow of content with write, then lets a fault that struck act;
    // closeFile runs before a fault ends the process.
    Status WriteThrough(FileOperation operation, std::string_view path, std::string_view content,
                        const std::function<Status(std::string_view)>& write,
                        const std::function<void()>& closeFile = {}) const;
    // Reads what the faults allow of size bytes with read, which sets got.
    Status ReadThrough(std::string_view path, size_t size, size_t& got,
                       const std::function<Status(size_t allowed)>& read) const;
    // Closes with close; a fault that strikes fails the call once the file is closed.
    Status CloseThrough(std::string_view path, const std::function<Status()>& close) const;
    // Calls with no data: runs call unless a fault strikes.
    Status Guard(FileOperation operation, std::string_view path, std::string_view otherPath,
                 const std::function<Status()>& call) const;

    mutable std::list<Fault> faults_;
    mutable uint64_t strikes_ = 0;
};

}  // namespace tolva::platform
