#pragma once
// Layout of the ILDS data archive, shared by its reader and writer.
//
// Optional file header: "ILDS", a 32-bit body length N, then N body bytes of which byte 1..4 hold
// the format version (missing body bytes count as zero). Without the header the file is read from
// offset 0 as version 0. Entries follow to the end of the file; an entry with an empty name ends
// the archive early:
//   versions 0 and 1:  256-byte name block (length byte, name), stored size, stored data
//   version 2:         length byte, name, stored size, stored data
//   version 3 and up:  length byte, name, 17-byte extra block, stored size, stored data
// The extra block carries at offset 12 an encrypted flag and at offset 13 the CRC-32 of the
// content. Stored data is a zlib stream, encrypted afterwards when the flag is set. All integers
// are little-endian.

#include <cstddef>
#include <cstdint>
#include <string>

namespace tolva::archive {

inline constexpr char kArchiveMagic[4] = {'I', 'L', 'D', 'S'};
inline constexpr size_t kFileHeaderSize = 8;  // magic and body length
inline constexpr size_t kHeaderBodySize =
    9;  // as far as it is read; the rest of a longer body is skipped
inline constexpr size_t kVersionOffsetInBody = 1;

inline constexpr size_t kOldNameBlockSize = 256;  // versions 0 and 1
inline constexpr size_t kMaxEntryNameLength = 255;
inline constexpr size_t kExtraBlockSize = 17;
inline constexpr size_t kEncryptedFlagOffset = 12;
inline constexpr size_t kCrcOffset = 13;

inline constexpr uint32_t kFirstVersionWithExtraBlock = 3;
inline constexpr uint32_t kWriterVersion = 3;

struct EntryHeader {
    std::string name;  // slashes already turned into backslashes
    uint32_t storedSize = 0;
    bool encrypted = false;
    bool hasCrc = false;  // version 3 and up
    uint32_t crc = 0;
};

}  // namespace tolva::archive
