#include "archive/archive_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>

#include "archive/archive_format.h"
#include "archive/byte_order.h"
#include "archive/entry_name.h"

namespace tolva::archive {

namespace {

constexpr size_t kInputPieceSize = 64 * 1024;
// Compressed pieces handed on are whole cipher blocks, so only an entry's last piece can end in a
// partial block.
constexpr size_t kOutputPieceSize = 64 * 1024;
static_assert(kOutputPieceSize % ArchiveCipher::kBlockSize == 0);
// Entries that compress to at most this much are compressed once and held in memory; larger ones
// twice.
constexpr size_t kInMemoryLimit = 8 * 1024 * 1024;

using platform::Status;
namespace error = platform::error;

class Deflater {
public:
    Deflater() { ready_ = deflateInit(&stream_, Z_DEFAULT_COMPRESSION) == Z_OK; }
    ~Deflater() {
        if (ready_) {
            deflateEnd(&stream_);
        }
    }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    bool ready() const { return ready_; }
    z_stream& stream() { return stream_; }

private:
    z_stream stream_{};
    bool ready_ = false;
};

struct Compressed {
    uint32_t crc = 0;
    uint64_t size = 0;
};

}  // namespace

namespace detail {

// What an entry is packed from; read twice when the entry is too large to hold.
class ContentSource {
public:
    virtual ~ContentSource() = default;
    // Starts reading from the beginning.
    virtual Status Open() = 0;
    virtual Status Read(uint8_t* data, size_t size, size_t& got) = 0;
};

}  // namespace detail

namespace {

class FileSource : public detail::ContentSource {
public:
    FileSource(const platform::FileSystem& files, std::string_view path)
        : files_(files), path_(path) {}
    Status Open() override { return files_.OpenForRead(path_, file_); }
    Status Read(uint8_t* data, size_t size, size_t& got) override {
        return file_->Read(data, size, got);
    }

private:
    const platform::FileSystem& files_;
    std::string path_;
    std::unique_ptr<platform::InputFile> file_;
};

class MemorySource : public detail::ContentSource {
public:
    explicit MemorySource(std::string_view content) : content_(content) {}
    Status Open() override {
        at_ = 0;
        return Status::Ok();
    }
    Status Read(uint8_t* data, size_t size, size_t& got) override {
        got = std::min(size, content_.size() - at_);
        std::memcpy(data, content_.data() + at_, got);
        at_ += got;
        return Status::Ok();
    }

private:
    std::string_view content_;
    size_t at_ = 0;
};

// Reads source to its end, computing the CRC-32 and compressing; sink receives the compressed bytes
// in pieces of kOutputPieceSize but the last.
Status CompressSource(detail::ContentSource& source, std::vector<uint8_t>& input,
                      std::vector<uint8_t>& output,
                      const std::function<Status(uint8_t*, size_t)>& sink, Compressed& compressed) {
    compressed = Compressed{uint32_t(crc32(0, nullptr, 0)), 0};
    if (Status opened = source.Open(); !opened) {
        return opened;
    }
    Deflater deflater;
    if (!deflater.ready()) {
        return Status::Failure(error::kNotEnoughMemory, "starting compression");
    }
    z_stream& stream = deflater.stream();
    stream.next_out = output.data();
    stream.avail_out = uInt(output.size());
    int flush = Z_NO_FLUSH;
    while (true) {
        if (stream.avail_in == 0 && flush == Z_NO_FLUSH) {
            size_t got = 0;
            if (Status read = source.Read(input.data(), input.size(), got); !read) {
                return read;
            }
            if (got == 0) {
                flush = Z_FINISH;
            }
            compressed.crc = uint32_t(crc32(compressed.crc, input.data(), uInt(got)));
            stream.next_in = input.data();
            stream.avail_in = uInt(got);
        }
        const int status = deflate(&stream, flush);
        if (status == Z_STREAM_ERROR) {
            return Status::Failure(error::kInvalidParameter, "compressing");
        }
        const bool done = status == Z_STREAM_END;
        if (stream.avail_out == 0 || done) {
            const size_t produced = output.size() - stream.avail_out;
            compressed.size += produced;
            if (produced > 0) {
                if (Status passed = sink(output.data(), produced); !passed) {
                    return passed;
                }
            }
            stream.next_out = output.data();
            stream.avail_out = uInt(output.size());
        }
        if (done) {
            return Status::Ok();
        }
    }
}

}  // namespace

ArchiveWriter::ArchiveWriter() : input_(kInputPieceSize), output_buffer_(kOutputPieceSize) {}

ArchiveWriter::~ArchiveWriter() = default;

Status ArchiveWriter::Create(platform::FileSystem& files, std::string_view path,
                             std::string_view password) {
    files_ = &files;
    cipher_.reset();
    if (!password.empty()) {
        cipher_.emplace(MakeArchiveCipher(password));
    }
    if (Status opened = files.OpenForWrite(path, output_); !opened) {
        return opened;
    }
    uint8_t header[kFileHeaderSize + kHeaderBodySize] = {};
    std::memcpy(header, kArchiveMagic, sizeof kArchiveMagic);
    StoreLittleEndian32(kHeaderBodySize, header + 4);
    StoreLittleEndian32(kWriterVersion, header + kFileHeaderSize + kVersionOffsetInBody);
    return output_->Write(header, sizeof header);
}

Status ArchiveWriter::AddFile(std::string_view name, std::string_view sourcePath) {
    FileSource source(*files_, sourcePath);
    return AddEntry(name, source);
}

Status ArchiveWriter::AddContent(std::string_view name, std::string_view content) {
    MemorySource source(content);
    return AddEntry(name, source);
}

Status ArchiveWriter::AddEntry(std::string_view name, detail::ContentSource& source) {
    if (!output_) {
        return Status::Failure(error::kInvalidHandle, "adding to an archive that is not open");
    }
    std::string entryName(name);
    std::replace(entryName.begin(), entryName.end(), '/', '\\');
    if (entryName.size() > kMaxEntryNameLength || !IsSafeEntryName(entryName)) {
        return Status::Failure(error::kInvalidParameter,
                               "entry name \"" + entryName + "\" cannot be stored");
    }

    std::vector<uint8_t> held;
    bool fitsInMemory = true;
    Compressed first;
    Status status = CompressSource(
        source, input_, output_buffer_,
        [&](uint8_t* data, size_t size) {
            if (fitsInMemory && held.size() + size <= kInMemoryLimit) {
                held.insert(held.end(), data, data + size);
            } else {
                fitsInMemory = false;
                std::vector<uint8_t>().swap(held);
            }
            return Status::Ok();
        },
        first);
    if (!status) {
        return status;
    }
    if (first.size > std::numeric_limits<uint32_t>::max()) {
        return Status::Failure(error::kNotSupported,
                               "entry \"" + entryName + "\" compresses to more than 4 GiB");
    }
    if (status = WriteEntryHeader(entryName, first.crc, uint32_t(first.size)); !status) {
        return status;
    }
    if (fitsInMemory) {
        return WriteStored(held.data(), held.size());
    }

    // Too large to hold: compress again, writing as it comes. zlib gives the same stream for the
    // same input.
    Compressed second;
    status = CompressSource(
        source, input_, output_buffer_,
        [&](uint8_t* data, size_t size) { return WriteStored(data, size); }, second);
    if (!status) {
        return status;
    }
    if (second.crc != first.crc || second.size != first.size) {
        return Status::Failure(error::kReadFault,
                               "\"" + entryName + "\" changed while it was packed");
    }
    return Status::Ok();
}

Status ArchiveWriter::WriteEntryHeader(const std::string& name, uint32_t crc, uint32_t storedSize) {
    std::vector<uint8_t> header(1 + name.size() + kExtraBlockSize + 4, 0);
    header[0] = uint8_t(name.size());
    std::memcpy(header.data() + 1, name.data(), name.size());
    uint8_t* extra = header.data() + 1 + name.size();
    extra[kEncryptedFlagOffset] = cipher_ ? 1 : 0;
    StoreLittleEndian32(crc, extra + kCrcOffset);
    StoreLittleEndian32(storedSize, extra + kExtraBlockSize);
    if (cipher_) {
        cipher_->Restart();
    }
    return output_->Write(header.data(), header.size());
}

Status ArchiveWriter::WriteStored(uint8_t* data, size_t size) {
    if (cipher_) {
        cipher_->Encrypt(data, size);
    }
    return output_->Write(data, size);
}

Status ArchiveWriter::Finish() {
    if (!output_) {
        return Status::Failure(error::kInvalidHandle, "finishing an archive that is not open");
    }
    Status closed = output_->Close();
    output_.reset();
    return closed;
}

}  // namespace tolva::archive
