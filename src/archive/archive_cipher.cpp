#include "archive/archive_cipher.h"

#include "archive/sha1.h"

namespace tolva::archive {

ArchiveCipher MakeArchiveCipher(std::string_view password) {
    const Sha1::Digest key = Sha1::Hash(password);
    Cast256 cast;
    // A 20-byte key always fits CAST-256's 32.
    cast.SetKey(key.data(), key.size());
    return ArchiveCipher(cast);
}

}  // namespace tolva::archive
