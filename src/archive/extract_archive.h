#pragma once
// Extraction of an ILDS archive into a folder, with its selection rules and result codes.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace tolva::archive {

// Result codes of an extraction.
inline constexpr int kExtractOk = 0;
inline constexpr int kExtractNeedsPassword =
    1;                                     // an encrypted entry was met and no password was given
inline constexpr int kExtractDamaged = 2;  // an entry failed its integrity check
// An entry's name, or a link on its path below the destination, would lead out of the destination.
inline constexpr int kExtractUnsafeName = 3;

// Why an extraction stopped, for callers that report more than the result code.
enum class ExtractFailure {
    kNone,
    kMissingArgument,        // empty archive name or destination folder
    kDestinationNotCreated,  // the destination folder could not be created
    kArchiveUnreadable,      // missing, not openable, or a read error
    kTruncatedHeader,        // the archive ends inside its header or an entry header
    kTruncatedData,          // the archive ends inside an entry's stored data
    kTargetNotWritten,       // writing a target file failed
    kNeedsPassword,
    kDamaged,
    kUnsafeName,
    kLinkOnPath,  // a folder below the destination, or the target, is a symbolic link or junction
};

struct ExtractReport {
    ExtractFailure failure = ExtractFailure::kNone;
    std::string entry;  // the entry the extraction stopped at, if any
    uint32_t systemError = 0;
    uint32_t formatVersion = 0;
    int entriesWritten = 0;
    // Called as the archive is read, with the bytes read so far and the archive's size.
    std::function<void(uint64_t done, uint64_t total)> progress;
};

// Extracts the archive's entries below destinationFolder (created when missing).
//
// An encrypted entry met without a password stops the extraction with result code 1, even when it
// would not have been selected. Selection: with overwrite off, an entry whose target exists is
// skipped unless keepList is not empty and does not contain ";name;" (compared in lower case); with
// an includeList (items separated by ";"), only entries whose lower-cased name equals an item are
// taken. A target file that cannot be created or replaced is passed over. An entry whose zlib
// stream does not reach its end, or (from format version 3 on) whose content fails its CRC-32,
// gives result code 2 (see CheckDecodedEntry). Entries before a stop stay extracted.
//
// Result code 3 stops the extraction before anything is written for the entry when its name is
// unsafe (see IsSafeEntryName), or when a folder of its path below the destination, or the target
// file itself, is a symbolic link or junction: nothing is written through a link. The destination
// folder itself is the caller's choice.
//
// An existing target is replaced only after the entry's content was written whole beside it (as
// the target's name + ".new") and passed its checks, so that a failed entry leaves the previous
// file as it was; a new target left half written or damaged is deleted.
//
// Returns true when the archive was read to its end and the result code is 0. A truncated archive,
// a read error or a failed write returns false with result code 0. All file access goes through
// files; memory use is bounded by fixed buffers.
bool ExtractArchive(platform::FileSystem& files, std::string_view archiveFile,
                    std::string_view destinationFolder, int& resultCode, bool overwrite,
                    std::string_view keepList, std::string_view includeList,
                    std::string_view password, ExtractReport* report = nullptr);

}  // namespace tolva::archive
