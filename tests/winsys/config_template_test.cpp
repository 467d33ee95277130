// Configuration templates: line rules, placeholders, where the template is read from, and what is
// left when nothing can be written.

#include <gtest/gtest.h>

#include "platform/fake/fake_system.h"
#include "platform/fake/faulty_file_system.h"
#include "platform/fake/memory_file_system.h"
#include "winsys/config_template.h"

namespace tolva::winsys {
namespace {

const TemplateValues kValues{"C:\\Mail\\", "C:\\Mail\\logs\\", "C:\\Windows\\temp\\"};

class ConfigTemplateTest : public ::testing::Test {
protected:
    platform::MemoryFileSystem files{platform::MemoryFileSystem::Folders::kMustBeCreated};
};

TEST_F(ConfigTemplateTest, LinesAndPlaceholders) {
    struct Case {
        const char* text;
        const char* written;
    };
    const Case cases[] = {
        {"a=1\nb=2\n", "a=1\r\nb=2\r\n"},
        {"a=1\r\nb=2", "a=1\r\nb=2\r\n"},
        {"  padded  \n\tline\t\n", "padded\r\nline\r\n"},
        {"\n\n  \none\n\n\ntwo\n\n", "one\r\ntwo\r\n"},
        {"root=%%installpath%%", "root=C:\\Mail\\\r\n"},
        {"log=%%logpath%%x;%%logpath%%y", "log=C:\\Mail\\logs\\x;%%logpath%%y\r\n"},
        {"t=%%temppath%% %%installpath%%bin", "t=C:\\Windows\\temp\\ C:\\Mail\\bin\r\n"},
        {"%%INSTALLPATH%%", "%%INSTALLPATH%%\r\n"},
    };
    for (const Case& c : cases) {
        files.files["C:\\x\\webserver.dat"] = c.text;
        ASSERT_TRUE(FillTemplate(files, "webserver.dat", "C:\\x\\", "C:\\Mail\\config\\", kValues))
            << c.text;
        EXPECT_EQ(files.files["C:\\Mail\\config\\webserver.dat"], c.written) << c.text;
        EXPECT_FALSE(files.FileExists("C:\\Mail\\config\\webserver.dat.new"));
    }
}

TEST_F(ConfigTemplateTest, AbsoluteTemplatePathsAreTakenAsGiven) {
    for (const char* path : {"C:\\t\\php.ini", "\\t\\php.ini", "/t/php.ini"}) {
        files.files.clear();
        files.files[files.FullPath(path)] = "x=1";
        EXPECT_TRUE(FillTemplate(files, path, "C:\\elsewhere\\", "C:\\out\\", kValues)) << path;
        EXPECT_EQ(files.files["C:\\out\\php.ini"], "x=1\r\n") << path;
    }
}

TEST_F(ConfigTemplateTest, FillsTheTemplateInPlace) {
    (void)files.CreateFolders("C:\\Mail\\php\\");
    files.files["C:\\Mail\\php\\php.ini"] = "extension_dir=%%installpath%%php\\ext\n";
    EXPECT_TRUE(FillTemplate(files, "C:\\Mail\\php\\php.ini", "", "C:\\Mail\\php\\", kValues));
    EXPECT_EQ(files.files["C:\\Mail\\php\\php.ini"], "extension_dir=C:\\Mail\\php\\ext\r\n");
}

TEST_F(ConfigTemplateTest, NothingIsWrittenWithoutLinesOrTemplate) {
    (void)files.CreateFolders("C:\\out\\");
    files.files["C:\\out\\webserver.dat"] = "the administrator's";
    files.files["C:\\x\\webserver.dat"] = " \r\n\t\n";
    EXPECT_FALSE(FillTemplate(files, "webserver.dat", "C:\\x\\", "C:\\out\\", kValues));
    EXPECT_FALSE(FillTemplate(files, "missing.dat", "C:\\x\\", "C:\\out\\", kValues));
    EXPECT_EQ(files.files["C:\\out\\webserver.dat"], "the administrator's");
    EXPECT_FALSE(files.FileExists("C:\\out\\missing.dat"));
}

TEST_F(ConfigTemplateTest, FailedWriteLeavesNoPartialFile) {
    files.files["C:\\x\\webserver.dat"] = "a=1";
    platform::FaultyFileSystem faulty(files);
    faulty.Inject(platform::FileOperation::kMoveTo);
    EXPECT_FALSE(FillTemplate(faulty, "webserver.dat", "C:\\x\\", "C:\\out\\", kValues));
    EXPECT_FALSE(files.FileExists("C:\\out\\webserver.dat"));
    EXPECT_FALSE(files.FileExists("C:\\out\\webserver.dat.new"));
}

TEST(MakeTemplateValues, TempPathIsTheWindowsFoldersTemp) {
    platform::FakeSystem system;
    system.SetWindowsFolder("D:\\WINNT\\");
    const TemplateValues values = MakeTemplateValues(system, "C:\\Mail\\", "E:\\logs\\");
    EXPECT_EQ(values.installPath, "C:\\Mail\\");
    EXPECT_EQ(values.logPath, "E:\\logs\\");
    EXPECT_EQ(values.tempPath, "D:\\WINNT\\temp\\");
}

}  // namespace
}  // namespace tolva::winsys
