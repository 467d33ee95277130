#include "archive/unpacked_size.h"

#include "archive/archive_reader.h"

namespace tolva::archive {

bool UnpackedSize(const platform::FileSystem& files, std::string_view archiveFile, uint64_t& size) {
    ArchiveReader reader;
    if (reader.Open(files, archiveFile) != ReadOutcome::kOk) {
        return false;
    }
    uint64_t total = 0;
    for (;;) {
        EntryHeader entry;
        const ReadOutcome next = reader.NextEntry(entry);
        if (next == ReadOutcome::kEnd) {
            break;
        }
        if (next != ReadOutcome::kOk) {
            return false;
        }
        if (entry.encrypted) {
            total += entry.storedSize;
            if (reader.SkipData() != ReadOutcome::kOk) {
                return false;
            }
            continue;
        }
        const DecodeResult decoded =
            reader.DecodeData(nullptr, [](const uint8_t*, size_t) { return true; });
        if (decoded.read != ReadOutcome::kOk) {
            return false;
        }
        total += decoded.contentSize;
    }
    size = total;
    return true;
}

}  // namespace tolva::archive
