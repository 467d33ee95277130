#pragma once
// Older versions kept the product's registry values under keys of their own. The first run of this
// installer on such a machine copies them under the current keys, once: the copy creates the
// vendor key, and a machine that has the vendor key is never migrated again.

#include "platform/registry.h"

namespace tolva::upgrade {

// Values longer than this are not taken for the server's binary values.
inline constexpr size_t kLegacyBinaryLimit = 4096;

// Copies "Software\Tolva" and "Software\CWEBMAIL" of HKEY_LOCAL_MACHINE under the vendor key
// unless "Software\Corvane" exists; with deleteLegacy each old key that was copied in full is
// deleted with its subkeys. A value of an unexpected type or size ends the migration there and
// keeps the old keys. Every failure is silent.
void MigrateLegacyRegistry(platform::Registry& registry, bool deleteLegacy);

}  // namespace tolva::upgrade
