#include "i18n/localization_strings.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "i18n/ui_strings.h"
#include "platform/fake/fake_system.h"
#include "util/text.h"

namespace tolva::i18n {
namespace {

const platform::FakeSystem kSystem;

TEST(LocalizationStrings, KeysAreFoundWithoutRegardToCase) {
    TLocalizationStrings registry;
    std::u16string first, second, third;
    RegisterLocalizedString("cDoYouExit", first, registry);
    RegisterLocalizedString("Other", second, registry);
    RegisterLocalizedString("CDOYOUEXIT", third, registry);
    EXPECT_EQ(registry.Items[0].Key, "cdoyouexit");
    EXPECT_EQ(FindLocalizedString("CdoYouExit", registry), 0);  // the first of two entries
    EXPECT_EQ(FindLocalizedString("other", registry), 1);
    EXPECT_EQ(FindLocalizedString("missing", registry), -1);
    EXPECT_EQ(FindLocalizedString("", registry), -1);

    SetLocalizedString("CDOYOUEXIT", u"Wirklich?", kSystem, registry);
    SetLocalizedString("unknown", u"x", kSystem, registry);
    EXPECT_EQ(first, u"Wirklich?");
    EXPECT_EQ(third, u"");
    EXPECT_EQ(second, u"");
}

TEST(LocalizationStrings, LongKeysAreStoredCutAndFindNothingWhole) {
    TLocalizationStrings registry;
    std::u16string value;
    const std::string key(200, 'K');
    RegisterLocalizedString(key, value, registry);
    EXPECT_EQ(registry.Items[0].Key, std::string(kMaxLocalizedKeyLength, 'k'));
    EXPECT_EQ(FindLocalizedString(key.substr(0, kMaxLocalizedKeyLength), registry), 0);
    // A file's overlong key must not land on an entry that merely shares its start.
    SetLocalizedString(key, u"x", kSystem, registry);
    EXPECT_EQ(value, u"");
}

TEST(LocalizationStrings, TargetsReceiveTheirOwnKindOfText) {
    TLocalizationStrings registry;
    std::string ansi = "old";
    std::u16string wide = u"old";
    RegisterLocalizedString("ansi", ansi, registry);
    RegisterLocalizedString("wide", wide, registry);

    SetLocalizedString("ansi", u"Gr\u00FC\u00DFe \u0420\u0443\u0441", kSystem, registry);
    SetLocalizedString("wide", u"Gr\u00FC\u00DFe \u0420\u0443\u0441", kSystem, registry);
    EXPECT_EQ(ansi,
              "Gr\xFC\xDF"
              "e ???");  // Windows-1252 has no Cyrillic
    EXPECT_EQ(wide, u"Gr\u00FC\u00DFe \u0420\u0443\u0441");

    ClearLocalizedStrings(registry);
    EXPECT_EQ(registry.Count(), 0u);
    EXPECT_EQ(FindLocalizedString("wide", registry), -1);
    EXPECT_EQ(wide, u"Gr\u00FC\u00DFe \u0420\u0443\u0441");
}

TEST(UIStringTable, KeysAreDistinctWithoutRegardToCase) {
    std::set<std::string> seen;
    for (size_t i = 0; i < kUIStringCount; ++i) {
        const std::string key = util::LowerCase(UIStringKey(static_cast<UIString>(i)));
        EXPECT_TRUE(seen.insert(key).second) << "key: " << key;
    }
}

TEST(UIStringTable, RegistersEveryValueOfItsSetInTableOrder) {
    TUIStrings strings;
    TLocalizationStrings registry;
    RegisterUIStringTable(strings, registry);
    ASSERT_EQ(registry.Count(), kUIStringCount);
    EXPECT_EQ(registry.Items.front().Key, "cname");
    EXPECT_EQ(registry.Items[MAddOns].Key, "maddons");
    EXPECT_EQ(registry.Items[MAddOns + 1].Key, "cuninstallrefused") << "the installer's own after";

    SetLocalizedString("cDoYouExit", u"\u0412\u044B\u0439\u0442\u0438?", kSystem, registry);
    EXPECT_EQ(strings[cDoYouExit], u"\u0412\u044B\u0439\u0442\u0438?");
    EXPECT_EQ(TUIStrings()[cDoYouExit], u"Do you wish to cancel this installation?");
    EXPECT_EQ(Text(cDoYouExit), u"Do you wish to cancel this installation?");
}

}  // namespace
}  // namespace tolva::i18n
