#include "util/replace_file.h"

#include <gtest/gtest.h>

#include "platform/fake/faulty_file_system.h"
#include "platform/fake/memory_file_system.h"

namespace tolva::util {
namespace {

TEST(ReplaceFile, FailureKeepsThePreviousContent) {
    platform::MemoryFileSystem files;
    files.files["C:\\a.ini"] = "old";
    ASSERT_TRUE(ReplaceFileContent(files, "C:\\a.ini", "new"));
    EXPECT_EQ(files.files["C:\\a.ini"], "new");
    EXPECT_EQ(files.files.size(), 1u);

    using platform::FileOperation;
    for (const FileOperation operation : {FileOperation::kOpenForWrite, FileOperation::kWrite,
                                          FileOperation::kClose, FileOperation::kMoveTo}) {
        platform::FaultyFileSystem faulty(files);
        faulty.Inject(operation);
        EXPECT_FALSE(ReplaceFileContent(faulty, "C:\\a.ini", "newer")) << int(operation);
        EXPECT_EQ(files.files["C:\\a.ini"], "new") << int(operation);
        EXPECT_EQ(files.files.size(), 1u) << int(operation);
    }
}

}  // namespace
}  // namespace tolva::util
