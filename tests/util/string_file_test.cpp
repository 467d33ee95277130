#include "util/string_file.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fake/faulty_file_system.h"
#include "platform/fake/memory_file_system.h"

namespace tolva::util {
namespace {

TEST(StringFile, Load) {
    platform::MemoryFileSystem files(platform::MemoryFileSystem::Folders::kMustBeCreated);
    EXPECT_EQ(LoadStringFromFile(files, "C:\\missing.txt"), "");
    files.files["C:\\a.txt"] = std::string("x\0y", 3);
    EXPECT_EQ(LoadStringFromFile(files, "C:\\a.txt"), std::string("x\0y", 3));
    EXPECT_EQ(LoadStringFromFile(files, "C:\\a.txt", true), std::string("x\0y", 3));
    EXPECT_FALSE(files.FileExists("C:\\a.txt"));
    // Names are cut to 255 characters.
    const std::string cut = "C:\\" + std::string(252, 'n');
    files.files[cut] = "long";
    EXPECT_EQ(LoadStringFromFile(files, cut + "tail"), "long");
}

TEST(StringFile, Save) {
    platform::MemoryFileSystem files(platform::MemoryFileSystem::Folders::kMustBeCreated);
    EXPECT_TRUE(SaveStringToFile(files, "one", "C:\\f.txt", false, false));
    EXPECT_TRUE(SaveStringToFile(files, "two", "C:\\f.txt", false, false));
    EXPECT_EQ(files.files["C:\\f.txt"], "two");
    EXPECT_TRUE(SaveStringToFile(files, "+3", "C:\\f.txt", false, true));
    EXPECT_EQ(files.files["C:\\f.txt"], "two+3");
    EXPECT_TRUE(files.CreatedFolders().empty());

    // The folders are created only after a failed first try, then the write is repeated.
    EXPECT_TRUE(SaveStringToFile(files, "new", "C:\\x\\y\\g.txt", false, true));
    EXPECT_EQ(files.files["C:\\x\\y\\g.txt"], "new");
    EXPECT_EQ(files.CreatedFolders(), std::vector<std::string>{"C:\\x\\y\\"});

    EXPECT_TRUE(SaveStringToFile(files, "", "C:\\empty.txt", false, false));
    EXPECT_EQ(files.files["C:\\empty.txt"], "");
    EXPECT_TRUE(SaveStringToFile(files, "", "C:\\f.txt", true, false));
    EXPECT_FALSE(files.FileExists("C:\\f.txt"));
    EXPECT_TRUE(SaveStringToFile(files, "", "C:\\never.txt", true, false));

    platform::FaultyFileSystem full(files);
    full.FillTheDisk();
    EXPECT_FALSE(SaveStringToFile(full, "z", "C:\\x\\y\\g.txt", false, false));
    EXPECT_FALSE(SaveStringToFile(full, "z", "nofolder.txt", false, false));
    EXPECT_EQ(files.files["C:\\x\\y\\g.txt"], "new");
}

TEST(StringFile, ReadTellsAnEmptyFileFromAMissingOne) {
    platform::MemoryFileSystem files(platform::MemoryFileSystem::Folders::kMustBeCreated);
    files.files["C:\\empty.txt"] = "";
    std::string content = "stale";
    EXPECT_TRUE(ReadStringFromFile(files, "C:\\empty.txt", content));
    EXPECT_EQ(content, "");
    content = "stale";
    EXPECT_FALSE(ReadStringFromFile(files, "C:\\missing.txt", content));
    EXPECT_EQ(content, "");
}

TEST(StringFile, WriteCreatingFoldersTakesThePathAsItIs) {
    platform::MemoryFileSystem files(platform::MemoryFileSystem::Folders::kMustBeCreated);
    // Unlike SaveStringToFile, a path beyond 255 characters is not cut.
    const std::string path = "C:\\" + std::string(250, 'f') + "\\footervalue.txt";
    EXPECT_TRUE(WriteCreatingFolders(files, path, "text"));
    EXPECT_EQ(files.files[path], "text");
    EXPECT_TRUE(WriteCreatingFolders(files, path, "+more", true));
    EXPECT_EQ(files.files[path], "text+more");
}

TEST(StringFile, ReplaceFileWholeKeepsTheOldFileOnFailure) {
    const struct {
        const char* name;
        const char* path;
        bool createFolders;
        bool failWrites;
        bool failMoves;
        bool replaced;
        const char* after;  // null: no file there
    } cases[] = {
        {"replaced", "C:\\d\\f.txt", false, false, false, true, "new"},
        {"write fails", "C:\\d\\f.txt", false, true, false, false, "old"},
        {"move fails", "C:\\d\\f.txt", false, false, true, false, "old"},
        {"missing folder made", "C:\\new\\f.txt", true, false, false, true, "new"},
        {"missing folder left", "C:\\new\\f.txt", false, false, false, false, nullptr},
    };
    for (const auto& c : cases) {
        platform::MemoryFileSystem files(platform::MemoryFileSystem::Folders::kMustBeCreated);
        ASSERT_TRUE(files.CreateFolders("C:\\d\\").ok());
        files.files["C:\\d\\f.txt"] = "old";
        platform::FaultyFileSystem faulty(files);
        if (c.failWrites) {
            faulty.Inject(platform::FileOperation::kWriteWholeFile);
            faulty.Inject(platform::FileOperation::kWrite);
        }
        if (c.failMoves) {
            faulty.Inject(platform::FileOperation::kMoveTo);
        }
        EXPECT_EQ(ReplaceFileWhole(faulty, c.path, "new", c.createFolders), c.replaced) << c.name;
        ASSERT_EQ(files.FileExists(c.path), c.after != nullptr) << c.name;
        if (c.after != nullptr) {
            EXPECT_EQ(files.files[c.path], c.after) << c.name;
        }
        EXPECT_FALSE(files.FileExists(std::string(c.path) + ".new")) << c.name;
    }
}

}  // namespace
}  // namespace tolva::util
