#include "util/replace_file.h"

#include <gtest/gtest.h>

#include "platform/fake/memory_file_system.h"

namespace tolva::util {
namespace {

TEST(ReplaceFile, FailureKeepsThePreviousContent) {
    platform::MemoryFileSystem files;
    files.files["C:\\a.ini"] = "old";
    ASSERT_TRUE(ReplaceFileContent(files, "C:\\a.ini", "new"));
    EXPECT_EQ(files.files["C:\\a.ini"], "new");
    EXPECT_EQ(files.files.size(), 1u);

    for (bool* failure : {&files.failWrites, &files.failMoves}) {
        *failure = true;
        EXPECT_FALSE(ReplaceFileContent(files, "C:\\a.ini", "newer"));
        EXPECT_EQ(files.files["C:\\a.ini"], "new");
        EXPECT_EQ(files.files.size(), 1u);
        *failure = false;
    }
}

}  // namespace
}  // namespace tolva::util
