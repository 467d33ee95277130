#include "i18n/language_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "archive/temp_root.h"
#include "platform/fake/fake_system.h"
#include "platform/fake/faulty_file_system.h"
#include "platform/host/host_file_system.h"

namespace tolva::i18n {
namespace {

const platform::FakeSystem kSystem;

using Found = std::vector<std::pair<std::string, std::u16string>>;  // path, caption

Found Scanned(const platform::FileSystem& files, std::string_view folder) {
    LanguageList list{{u"stale", "C:\\stale.lng"}};
    ScanLanguageFiles(files, kSystem, folder, list);
    Found found;
    for (const LanguageEntry& entry : list) {
        found.emplace_back(entry.path, entry.caption);
    }
    std::sort(found.begin(), found.end());
    return found;
}

TEST(LanguageScan, MarkedFilesInTheFolderTree) {
    const struct {
        std::string file;  // below C:\lang\, with slashes
        std::string content;
        std::vector<std::u16string> captions;  // in line order
    } cases[] = {
        {"first.lng", "<?lang caption='Deutsch'?>\r\n<APPLICATION/>", {u"Deutsch"}},
        {"second.lng",
         "<?xml version=\"1.0\"?>\r\n<?lang caption=\"Espa\xC3\xB1ol\"?>\r\n",
         {u"Espa\u00F1ol"}},
        {"third.lng", "<?xml version=\"1.0\"?>\r\n<!-- -->\r\n<?lang caption='Dansk'?>", {}},
        {"both.lng", "<?lang caption='Eins'?>\n<?lang caption='Zwei'?>\n", {u"Eins", u"Zwei"}},
        {"neither.lng", "<APPLICATION/>\r\n", {}},
        {"empty.lng", "", {}},
        {"lf.lng", "first\n<?lang caption='LF'?>", {u"LF"}},
        {"cr.lng", "first\r<?lang caption='CR'?>\rthird", {u"CR"}},
        {"blank-first-line.lng", "\r\n<?lang caption='Leer'?>", {u"Leer"}},
        {"beside-declaration.lng", "<?xml version='1.0'?><?lang caption='Same'?>", {u"Same"}},
        {"entity.lng", "<?lang caption='Tom &amp; Jerry'?>", {u"Tom & Jerry"}},
        {"cyrillic.lng",
         "<?lang caption='\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9'?>",
         {u"\u0420\u0443\u0441\u0441\u043A\u0438\u0439"}},
        {"other-instruction.lng", "<?language caption='Nein'?>", {}},
        {"any-name.txt", "<?lang caption='Text'?>", {u"Text"}},
        {"de/de.lng", "<?lang caption='Deutsch (Unterordner)'?>", {u"Deutsch (Unterordner)"}},
        {"a/b/c/d/deep.lng", "<?lang caption='Tief'?>", {u"Tief"}},
        {".hidden.lng", "<?lang caption='Versteckt'?>", {}},
        {".git/x.lng", "<?lang caption='Versteckt'?>", {}},
        {"a/.svn/y.lng", "<?lang caption='Versteckt'?>", {}},
        {"locked.lng", "<?lang caption='Gesperrt'?>", {}},
    };
    archive::test::TempRoot root;
    Found expected;
    for (const auto& c : cases) {
        root.Write("lang/" + c.file, c.content);
        std::string path = "C:\\lang\\" + c.file;
        std::replace(path.begin(), path.end(), '/', '\\');
        for (const std::u16string& caption : c.captions) {
            expected.emplace_back(path, caption);
        }
    }
    std::sort(expected.begin(), expected.end());
    platform::HostFileSystem host{platform::HostPathMap(root.root().string())};
    platform::FaultyFileSystem files(host);
    files.Inject(platform::FileOperation::kOpenForRead).OnPathsEndingIn("locked.lng");

    const Found found = Scanned(files, "C:\\lang\\");
    EXPECT_EQ(found, expected);
    EXPECT_EQ(Scanned(files, "C:\\lang"), expected);
    EXPECT_EQ(Scanned(files, "C:\\missing\\"), Found());
}

TEST(LanguageScan, MarkerBeyondTheFilesStartIsNotSought) {
    archive::test::TempRoot root;
    root.Write("lang/long.lng", std::string(kMarkerWindow, ' ') + "\r\n<?lang caption='Fern'?>");
    root.Write("lang/near.lng",
               std::string(kMarkerWindow - 30, ' ') + "\r\n<?lang caption='Nah'?>\r\n");
    platform::HostFileSystem files{platform::HostPathMap(root.root().string())};
    EXPECT_EQ(Scanned(files, "C:\\lang\\"), Found({{"C:\\lang\\near.lng", u"Nah"}}));
}

TEST(LanguageList, SortsAndFindsWithoutRegardToCase) {
    LanguageList list{
        {u"\u0420\u0443\u0441\u0441\u043A\u0438\u0439", "C:\\l\\ru.lng"},
        {u"english (UK)", "C:\\l\\uk.lng"},
        {kEnglish, ""},
        {u"deutsch", "C:\\l\\z.lng"},
        {u"Deutsch", "C:\\l\\a.lng"},
        {u"\u00C9ire", "C:\\l\\ga.lng"},
    };
    SortLanguageList(list);
    std::vector<std::string> paths;
    for (const LanguageEntry& entry : list) {
        paths.push_back(entry.path);
    }
    EXPECT_EQ(paths, (std::vector<std::string>{"C:\\l\\a.lng", "C:\\l\\z.lng", "", "C:\\l\\uk.lng",
                                               "C:\\l\\ga.lng", "C:\\l\\ru.lng"}));

    const struct {
        std::u16string name;
        int position;
    } lookups[] = {
        {u"DEUTSCH", 0},   {u"English", 2},
        {u"english", 2},   {u"\u0440\u0443\u0441\u0441\u043A\u0438\u0439", 5},
        {u"\u00E9ire", 4}, {u"Engl", -1},
        {u"", -1},
    };
    for (const auto& lookup : lookups) {
        EXPECT_EQ(FindLanguage(list, lookup.name), lookup.position)
            << "name of " << lookup.name.size() << " units";
    }
}

}  // namespace
}  // namespace tolva::i18n
