#pragma once
// Reads an ILDS archive entry by entry, with memory bounded by fixed buffers whatever the entries'
// sizes.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "archive/archive_cipher.h"
#include "archive/archive_format.h"
#include "archive/content_pipe.h"
#include "platform/file_system.h"

namespace tolva::archive {

enum class ReadOutcome {
    kOk,
    kEnd,         // end of the file at an entry boundary, or an entry with an empty name
    kTruncated,   // the file ends inside a header or inside stored data
    kReadFailed,  // the system reported a read error
};

// Receives the decoded content of an entry piece by piece, in order; returns false to report a
// failed write. For large entries it is called on a worker thread while the next piece is inflated.
using ContentSink = std::function<bool(const uint8_t* data, size_t size)>;

struct DecodeResult {
    ReadOutcome read = ReadOutcome::kOk;  // kOk once all stored bytes were read
    bool sinkFailed = false;              // decoding stopped because the sink refused a piece
    bool streamComplete = false;          // the zlib stream reached its end intact
    uint32_t crc = 0;                     // CRC-32 of what was decoded
    uint64_t contentSize = 0;
};

class ArchiveReader {
public:
    ArchiveReader();

    // Opens the archive and reads its header, if it has one. kReadFailed when it cannot be opened
    // or read, kTruncated when it ends inside its header.
    ReadOutcome Open(const platform::FileSystem& files, std::string_view path);

    uint32_t formatVersion() const { return version_; }
    uint64_t position() const { return position_; }
    uint64_t size() const { return size_; }

    // Reads the next entry's header.
    ReadOutcome NextEntry(EntryHeader& entry);

    // Passes over the current entry's stored data.
    ReadOutcome SkipData();

    // Reads the current entry's stored data: decrypts it with cipher when the entry is encrypted
    // (restarting the feedback), inflates it and hands the content to sink. A stream that fails to
    // inflate yields what was inflated before the failure; the rest of the stored data is read
    // past. Stored bytes after the end of the zlib stream are ignored.
    DecodeResult DecodeData(ArchiveCipher* cipher, const ContentSink& sink);

    // Called after each piece of the archive read, with the position and the archive's size.
    void SetProgress(std::function<void(uint64_t, uint64_t)> progress) {
        progress_ = std::move(progress);
    }

private:
    // Reads up to size bytes; fewer only at the end of the file or after a read error.
    size_t Read(uint8_t* data, size_t size);
    bool Fill();
    // Up to size bytes straight from the read buffer, valid until the next read; 0 only at the end
    // of the file or after a read error.
    size_t Borrow(const uint8_t*& data, size_t size);
    // Decrypts and inflates the stored data, handing the content to pipe when there is one, else to
    // sink.
    ReadOutcome Inflate(ArchiveCipher* cipher, ContentPipe* pipe, const ContentSink& sink,
                        DecodeResult& result);

    std::unique_ptr<platform::InputFile> file_;
    uint32_t version_ = 0;
    uint64_t position_ = 0;
    uint64_t size_ = 0;
    bool readFailed_ = false;
    uint32_t remaining_ = 0;  // stored bytes of the current entry not read yet
    bool currentEncrypted_ = false;
    std::vector<uint8_t> buffer_;
    size_t bufferBegin_ = 0;
    size_t bufferEnd_ = 0;
    std::vector<uint8_t> stored_;
    std::vector<uint8_t> inflated_;
    std::function<void(uint64_t, uint64_t)> progress_;
    std::unique_ptr<ContentPipe> pipe_;  // started with the first large entry
};

}  // namespace tolva::archive
