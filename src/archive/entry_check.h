#pragma once
// The judgement of one entry that extraction and verification share, so that both accept and
// refuse the same archives.

#include "archive/archive_format.h"
#include "archive/archive_reader.h"

namespace tolva::archive {

enum class EntryFault {
    kNone,
    kNeedsPassword,  // encrypted, and no password was given
    kUnsafeName,     // see IsSafeEntryName
    kDamaged,        // its zlib stream does not reach its end, or the content fails its CRC-32
};

// Judged from the entry's header, before its data is read.
EntryFault CheckEntryHeader(const EntryHeader& entry, bool havePassword);

// Judged once all of the entry's stored data was read and decoded. No stored bytes stand for an
// empty file. A stream cut short is damaged in every format version: without a CRC-32 nothing else
// would tell its content is incomplete.
EntryFault CheckDecodedEntry(const EntryHeader& entry, const DecodeResult& decoded);

}  // namespace tolva::archive
