#pragma once
// The cipher of password-protected archive entries: CAST-256 under the SHA-1 of the password,
// chained with feedback that restarts for every entry.

#include <string_view>

#include "archive/cast256.h"
#include "archive/feedback_cipher.h"

namespace tolva::archive {

using ArchiveCipher = FeedbackCipher<Cast256>;

ArchiveCipher MakeArchiveCipher(std::string_view password);

}  // namespace tolva::archive
