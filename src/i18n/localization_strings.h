#pragma once
// The string registry: named text variables that a language file replaces by key. The registry
// does not own the variables; they must outlive it (the UI string table's live for the whole run).
//
// Every operation takes the registry it works on; without one it uses the process-wide registry
// that setup.exe fills with the UI string table. Tests pass a registry of their own.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system.h"

namespace tolva::i18n {

// Keys are stored cut to this length.
inline constexpr size_t kMaxLocalizedKeyLength = 127;

// Exactly one target is set.
struct TLocalizedString {
    std::string Key;                       // lower case, at most kMaxLocalizedKeyLength characters
    std::string* AnsiTarget = nullptr;     // 8-bit text in the system ANSI code page
    std::u16string* WideTarget = nullptr;  // UTF-16 text
};

struct TLocalizationStrings {
    // In registration order; a key may appear more than once (look-ups find the first).
    std::vector<TLocalizedString> Items;

    uint32_t Count() const { return static_cast<uint32_t>(Items.size()); }
};

// The registry of the running program.
TLocalizationStrings& LocalizationStrings();

// Appends an entry: the key lower-cased (ASCII letters) and cut to kMaxLocalizedKeyLength. A key
// already present is entered again.
void RegisterLocalizedString(std::string_view key, std::string& target,
                             TLocalizationStrings& registry = LocalizationStrings());
void RegisterLocalizedString(std::string_view key, std::u16string& target,
                             TLocalizationStrings& registry = LocalizationStrings());

// Index of the first entry whose key equals the lower-cased key, or -1. The key is compared whole,
// so a key longer than the stored length finds nothing.
int32_t FindLocalizedString(std::string_view key,
                            const TLocalizationStrings& registry = LocalizationStrings());

// Gives the value to the entry of that key: an 8-bit target receives it in the ANSI code page (what
// the code page lacks is lost there), a UTF-16 target unchanged. An unknown key is ignored.
void SetLocalizedString(std::string_view key, std::u16string_view value,
                        const platform::System& system,
                        TLocalizationStrings& registry = LocalizationStrings());

// Drops every entry; the variables keep their values.
void ClearLocalizedStrings(TLocalizationStrings& registry = LocalizationStrings());

}  // namespace tolva::i18n
