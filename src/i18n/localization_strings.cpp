#include "i18n/localization_strings.h"

#include "util/text.h"

namespace tolva::i18n {

namespace {

// The registry grows by this many entries at a time.
constexpr size_t kGrowth = 100;

void Append(TLocalizationStrings& registry, std::string_view key, std::string* ansi,
            std::u16string* wide) {
    if (registry.Items.size() == registry.Items.capacity()) {
        registry.Items.reserve(registry.Items.size() + kGrowth);
    }
    registry.Items.push_back({util::LowerCase(key.substr(0, kMaxLocalizedKeyLength)), ansi, wide});
}

}  // namespace

TLocalizationStrings& LocalizationStrings() {
    static TLocalizationStrings registry;
    return registry;
}

void RegisterLocalizedString(std::string_view key, std::string& target,
                             TLocalizationStrings& registry) {
    Append(registry, key, &target, nullptr);
}

void RegisterLocalizedString(std::string_view key, std::u16string& target,
                             TLocalizationStrings& registry) {
    Append(registry, key, nullptr, &target);
}

int32_t FindLocalizedString(std::string_view key, const TLocalizationStrings& registry) {
    const std::string lowered = util::LowerCase(key);
    for (size_t i = 0; i < registry.Items.size(); ++i) {
        if (registry.Items[i].Key == lowered) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

void SetLocalizedString(std::string_view key, std::u16string_view value,
                        const platform::System& system, TLocalizationStrings& registry) {
    const int32_t index = FindLocalizedString(key, registry);
    if (index < 0) {
        return;
    }
    const TLocalizedString& entry = registry.Items[static_cast<size_t>(index)];
    if (entry.WideTarget != nullptr) {
        *entry.WideTarget = value;
    } else if (entry.AnsiTarget != nullptr) {
        *entry.AnsiTarget = system.WideToAnsi(value);
    }
}

void ClearLocalizedStrings(TLocalizationStrings& registry) {
    registry.Items.clear();
}

}  // namespace tolva::i18n
