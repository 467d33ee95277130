#include "archive/entry_check.h"

#include "archive/entry_name.h"

namespace tolva::archive {

EntryFault CheckEntryHeader(const EntryHeader& entry, bool havePassword) {
    if (entry.encrypted && !havePassword) {
        return EntryFault::kNeedsPassword;
    }
    if (!IsSafeEntryName(entry.name)) {
        return EntryFault::kUnsafeName;
    }
    return EntryFault::kNone;
}

EntryFault CheckDecodedEntry(const EntryHeader& entry, const DecodeResult& decoded) {
    if (entry.storedSize == 0) {
        return EntryFault::kNone;
    }
    if (!decoded.streamComplete || (entry.hasCrc && decoded.crc != entry.crc)) {
        return EntryFault::kDamaged;
    }
    return EntryFault::kNone;
}

}  // namespace tolva::archive
