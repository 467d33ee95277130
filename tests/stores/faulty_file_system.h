#pragma once
// A file system that passes every call to another one and fails where a test tells it to: a file
// written only in part, a replacement that cannot be made. Failures are reported the way the
// system reports them, or, with kill set, the process ends on the spot as a power cut would end it.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/fake/forwarding_file_system.h"

namespace tolva::stores::testing {

class FaultyFileSystem : public platform::ForwardingFileSystem {
public:
    explicit FaultyFileSystem(platform::FileSystem& inner) : ForwardingFileSystem(inner) {}

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

    platform::Status MoveTo(std::string_view from, std::string_view to, bool replace) override;
    platform::Status OpenForRead(std::string_view path,
                                 std::unique_ptr<platform::InputFile>& file) const override;
    platform::Status OpenForWrite(std::string_view path,
                                  std::unique_ptr<platform::OutputFile>& file) override;

private:
    std::string writeSuffix_;
    uint64_t writeLimit_ = 0;
    bool kill_ = false;
    bool failMoves_ = false;
    std::string readSuffix_;
    uint64_t readLimit_ = 0;
};

}  // namespace tolva::stores::testing
