#include "setup/program_folder.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"

namespace tolva::setup {
namespace {

TEST(ProgramFolderTest, AFolderTheCodePageCannotHoldIsRefused) {
    const struct {
        const char16_t* folder;
        bool accepted;
    } cases[] = {
        {u"C:\\Users\\ann\\Downloads\\", true},
        {u"C:\\Users\\J\u00F6rg\\T\u00E9l\u00E9chargements\\", true},
        {u"C:\\Users\\ann\\\u0420\u0443\u0441\u0441\u043A\u0438\u0439\\", false},
        {u"C:\\\u4E0B\u8F7D\\", false},
    };
    for (const auto& c : cases) {
        platform::FakePlatform machine;
        EXPECT_EQ(AcceptProgramFolder(machine.Dialogs(), machine.System(), c.folder), c.accepted);
        if (c.accepted) {
            EXPECT_TRUE(machine.Dialogs().Shown().empty());
            continue;
        }
        ASSERT_EQ(machine.Dialogs().Shown().size(), 1u);
        const auto& box = machine.Dialogs().Shown()[0];
        EXPECT_EQ(box.caption, u"Error");
        EXPECT_NE(box.text.find(u"\"" + std::u16string(c.folder) + u"\""), std::u16string::npos);
        EXPECT_EQ(box.icon, platform::DialogIcon::kError);
    }
}

}  // namespace
}  // namespace tolva::setup
