#pragma once
// Writes ILDS archives in format version 3: each entry with its CRC-32, compressed at zlib's
// default level and, when a password is given, encrypted.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive_cipher.h"
#include "platform/file_system.h"

namespace tolva::archive {

namespace detail {
class ContentSource;
}

class ArchiveWriter {
public:
    ArchiveWriter();
    ~ArchiveWriter();
    ArchiveWriter(const ArchiveWriter&) = delete;
    ArchiveWriter& operator=(const ArchiveWriter&) = delete;

    // Creates (or replaces) the archive and writes its header. An empty password leaves the entries
    // unencrypted.
    platform::Status Create(platform::FileSystem& files, std::string_view path,
                            std::string_view password);

    // Adds an entry named name (slashes become backslashes) holding the file at sourcePath. The
    // name must be one that extraction accepts. Memory stays bounded for files of any size: a large
    // file is read twice.
    platform::Status AddFile(std::string_view name, std::string_view sourcePath);
    platform::Status AddContent(std::string_view name, std::string_view content);

    // Flushes and closes the archive.
    platform::Status Finish();

private:
    platform::Status AddEntry(std::string_view name, detail::ContentSource& source);
    platform::Status WriteEntryHeader(const std::string& name, uint32_t crc, uint32_t storedSize);
    platform::Status WriteStored(uint8_t* data, size_t size);

    platform::FileSystem* files_ = nullptr;
    std::unique_ptr<platform::OutputFile> output_;
    std::optional<ArchiveCipher> cipher_;
    std::vector<uint8_t> input_;
    std::vector<uint8_t> output_buffer_;
};

}  // namespace tolva::archive
