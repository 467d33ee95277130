#include "archive/unpacked_size.h"

#include <gtest/gtest.h>

#include <string>

#include "archive_builder.h"
#include "platform/fake/memory_file_system.h"

namespace tolva::archive {
namespace {

using test::ArchiveBuilder;

constexpr char kArchive[] = "C:\\dist\\setupas.dat";

TEST(UnpackedSizeTest, CountsContentNotStoredBytes) {
    platform::MemoryFileSystem files;
    const std::string large(100000, 'x');
    files.files[kArchive] = ArchiveBuilder(3)
                                .Entry("rules\\local.cf", large)
                                .Entry("empty.txt", "")
                                .Entry("secret.dat", "0123456789", "password")
                                .bytes();
    uint64_t size = 0;
    ASSERT_TRUE(UnpackedSize(files, kArchive, size));
    // The encrypted entry counts with what it stores.
    const uint64_t encrypted = test::Encrypt(test::Compress("0123456789"), "password").size();
    EXPECT_EQ(size, large.size() + encrypted);
}

TEST(UnpackedSizeTest, AnArchiveCutShortOrMissingHasNoSize) {
    platform::MemoryFileSystem files;
    const std::string whole = ArchiveBuilder(3).Entry("a.txt", std::string(5000, 'a')).bytes();
    files.files[kArchive] = whole.substr(0, whole.size() / 2);
    uint64_t size = 7;
    EXPECT_FALSE(UnpackedSize(files, kArchive, size));
    EXPECT_FALSE(UnpackedSize(files, "C:\\dist\\missing.dat", size));
    EXPECT_EQ(size, 7u);
}

}  // namespace
}  // namespace tolva::archive
