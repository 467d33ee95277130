#include "archive/archive_reader.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "archive/byte_order.h"

namespace tolva::archive {

namespace {

constexpr size_t kReadBufferSize = 64 * 1024;
// A whole number of cipher blocks, so that only an entry's last piece can end in a partial block.
constexpr size_t kStoredPieceSize = 64 * 1024;
constexpr size_t kInflatedPieceSize = 256 * 1024;
// Entries stored in at least this many bytes are checksummed and written on a second thread while
// inflating goes on; for smaller ones handing pieces over would cost more than it saves.
constexpr uint32_t kPipelineThreshold = 256 * 1024;
static_assert(kStoredPieceSize % ArchiveCipher::kBlockSize == 0);

// Ends the zlib stream however decoding leaves the function.
class Inflater {
public:
    Inflater() { ready_ = inflateInit(&stream_) == Z_OK; }
    ~Inflater() {
        if (ready_) {
            inflateEnd(&stream_);
        }
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    bool ready() const { return ready_; }
    z_stream& stream() { return stream_; }

private:
    z_stream stream_{};
    bool ready_ = false;
};

}  // namespace

ArchiveReader::ArchiveReader()
    : buffer_(kReadBufferSize), stored_(kStoredPieceSize), inflated_(kInflatedPieceSize) {}

bool ArchiveReader::Fill() {
    if (bufferBegin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + bufferBegin_, bufferEnd_ - bufferBegin_);
        bufferEnd_ -= bufferBegin_;
        bufferBegin_ = 0;
    }
    if (readFailed_ || bufferEnd_ == buffer_.size()) {
        return false;
    }
    size_t got = 0;
    if (!file_->Read(buffer_.data() + bufferEnd_, buffer_.size() - bufferEnd_, got)) {
        readFailed_ = true;
        return false;
    }
    bufferEnd_ += got;
    return got > 0;
}

size_t ArchiveReader::Read(uint8_t* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        if (bufferBegin_ < bufferEnd_) {
            const size_t take = std::min(size - done, bufferEnd_ - bufferBegin_);
            std::memcpy(data + done, buffer_.data() + bufferBegin_, take);
            bufferBegin_ += take;
            done += take;
        } else if (size - done >= buffer_.size()) {
            // Large reads bypass the buffer.
            size_t got = 0;
            if (readFailed_ || !file_->Read(data + done, size - done, got)) {
                readFailed_ = true;
                break;
            }
            if (got == 0) {
                break;
            }
            done += got;
        } else if (!Fill()) {
            break;
        }
    }
    position_ += done;
    if (progress_) {
        progress_(position_, size_);
    }
    return done;
}

size_t ArchiveReader::Borrow(const uint8_t*& data, size_t size) {
    if (bufferBegin_ == bufferEnd_ && !Fill()) {
        return 0;
    }
    const size_t take = std::min(size, bufferEnd_ - bufferBegin_);
    data = buffer_.data() + bufferBegin_;
    bufferBegin_ += take;
    position_ += take;
    if (progress_) {
        progress_(position_, size_);
    }
    return take;
}

ReadOutcome ArchiveReader::Open(const platform::FileSystem& files, std::string_view path) {
    if (!files.OpenForRead(path, file_)) {
        return ReadOutcome::kReadFailed;
    }
    size_ = file_->Size();
    while (bufferEnd_ < kFileHeaderSize && Fill()) {
    }
    if (readFailed_) {
        return ReadOutcome::kReadFailed;
    }
    if (bufferEnd_ < kFileHeaderSize ||
        std::memcmp(buffer_.data(), kArchiveMagic, sizeof kArchiveMagic) != 0) {
        version_ = 0;  // no header: the first entry starts at offset 0
        return ReadOutcome::kOk;
    }
    uint8_t header[kFileHeaderSize];
    Read(header, sizeof header);
    const uint32_t bodySize = LoadLittleEndian32(header + 4);
    uint8_t body[kHeaderBodySize] = {};
    const size_t interpreted = std::min<size_t>(bodySize, kHeaderBodySize);
    uint64_t excess = bodySize - interpreted;
    if (Read(body, interpreted) < interpreted) {
        return readFailed_ ? ReadOutcome::kReadFailed : ReadOutcome::kTruncated;
    }
    while (excess > 0) {
        const size_t piece = size_t(std::min<uint64_t>(excess, stored_.size()));
        if (Read(stored_.data(), piece) < piece) {
            return readFailed_ ? ReadOutcome::kReadFailed : ReadOutcome::kTruncated;
        }
        excess -= piece;
    }
    version_ = LoadLittleEndian32(body + kVersionOffsetInBody);
    return ReadOutcome::kOk;
}

ReadOutcome ArchiveReader::NextEntry(EntryHeader& entry) {
    if (remaining_ > 0) {
        const ReadOutcome skipped = SkipData();
        if (skipped != ReadOutcome::kOk) {
            return skipped;
        }
    }
    auto shortRead = [this] {
        return readFailed_ ? ReadOutcome::kReadFailed : ReadOutcome::kTruncated;
    };

    uint8_t length = 0;
    if (Read(&length, 1) == 0) {
        return readFailed_ ? ReadOutcome::kReadFailed : ReadOutcome::kEnd;
    }
    if (length == 0) {
        return ReadOutcome::kEnd;
    }

    uint8_t name[kOldNameBlockSize];
    const size_t nameBytes = version_ < 2 ? kOldNameBlockSize - 1 : length;
    if (Read(name, nameBytes) < nameBytes) {
        return shortRead();
    }
    entry.name.assign(reinterpret_cast<const char*>(name), length);
    std::replace(entry.name.begin(), entry.name.end(), '/', '\\');

    entry.encrypted = false;
    entry.hasCrc = false;
    entry.crc = 0;
    if (version_ >= kFirstVersionWithExtraBlock) {
        uint8_t extra[kExtraBlockSize];
        if (Read(extra, sizeof extra) < sizeof extra) {
            return shortRead();
        }
        entry.encrypted = extra[kEncryptedFlagOffset] != 0;
        entry.hasCrc = true;
        entry.crc = LoadLittleEndian32(extra + kCrcOffset);
    }
    uint8_t size[4];
    if (Read(size, sizeof size) < sizeof size) {
        return shortRead();
    }
    entry.storedSize = LoadLittleEndian32(size);
    remaining_ = entry.storedSize;
    currentEncrypted_ = entry.encrypted;
    return ReadOutcome::kOk;
}

ReadOutcome ArchiveReader::SkipData() {
    while (remaining_ > 0) {
        const size_t piece = std::min<size_t>(remaining_, stored_.size());
        const size_t got = Read(stored_.data(), piece);
        remaining_ -= uint32_t(got);
        if (got < piece) {
            return readFailed_ ? ReadOutcome::kReadFailed : ReadOutcome::kTruncated;
        }
    }
    return ReadOutcome::kOk;
}

DecodeResult ArchiveReader::DecodeData(ArchiveCipher* cipher, const ContentSink& sink) {
    DecodeResult result;
    result.crc = uint32_t(crc32(0, nullptr, 0));
    ContentPipe* pipe = nullptr;
    if (remaining_ >= kPipelineThreshold) {
        if (!pipe_) {
            pipe_ = std::make_unique<ContentPipe>(kInflatedPieceSize);
        }
        pipe = pipe_.get();
        pipe->Start(sink);
    }
    result.read = Inflate(cipher, pipe, sink, result);
    if (pipe) {
        pipe->Finish(result.crc, result.sinkFailed);
    }
    return result;
}

ReadOutcome ArchiveReader::Inflate(ArchiveCipher* cipher, ContentPipe* pipe,
                                   const ContentSink& sink, DecodeResult& result) {
    Inflater inflater;
    bool inflating = inflater.ready();
    z_stream& stream = inflater.stream();
    const bool decrypt = currentEncrypted_ && cipher != nullptr;
    if (decrypt) {
        cipher->Restart();
    }

    while (remaining_ > 0) {
        const uint8_t* data = nullptr;
        size_t got = 0;
        if (decrypt) {
            // Decryption needs whole blocks in a buffer of its own.
            const size_t piece = std::min<size_t>(remaining_, stored_.size());
            got = Read(stored_.data(), piece);
            if (got < piece) {
                return readFailed_ ? ReadOutcome::kReadFailed : ReadOutcome::kTruncated;
            }
            if (inflating) {
                cipher->Decrypt(stored_.data(), got);
            }
            data = stored_.data();
        } else {
            got = Borrow(data, remaining_);
            if (got == 0) {
                return readFailed_ ? ReadOutcome::kReadFailed : ReadOutcome::kTruncated;
            }
        }
        remaining_ -= uint32_t(got);
        if (!inflating) {
            continue;
        }

        stream.next_in = const_cast<uint8_t*>(data);
        stream.avail_in = uInt(got);
        do {
            uint8_t* out = pipe ? pipe->Acquire() : inflated_.data();
            stream.next_out = out;
            stream.avail_out = uInt(kInflatedPieceSize);
            const int status = inflate(&stream, Z_NO_FLUSH);
            const size_t produced = kInflatedPieceSize - stream.avail_out;
            if (produced > 0) {
                result.contentSize += produced;
                if (pipe) {
                    pipe->Submit(produced);
                    if (pipe->failed()) {
                        return ReadOutcome::kOk;
                    }
                } else {
                    result.crc = uint32_t(crc32(result.crc, out, uInt(produced)));
                    if (!sink(out, produced)) {
                        result.sinkFailed = true;
                        return ReadOutcome::kOk;
                    }
                }
            }
            if (status == Z_STREAM_END) {
                result.streamComplete = true;
                inflating = false;
            } else if (status == Z_BUF_ERROR) {
                break;  // no progress possible before more input
            } else if (status != Z_OK) {
                inflating = false;  // damaged stream: keep what was inflated so far
            }
        } while (inflating && (stream.avail_in > 0 || stream.avail_out == 0));
    }
    return ReadOutcome::kOk;
}

}  // namespace tolva::archive
