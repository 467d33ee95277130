#include "archive/archive_writer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "archive/archive_builder.h"
#include "archive/extract_archive.h"
#include "archive/temp_root.h"

namespace tolva::archive {
namespace {

class ArchiveWriterTest : public ::testing::Test {
protected:
    void Pack(const std::vector<std::pair<std::string, std::string>>& entries,
              const std::string& password) {
        ArchiveWriter writer;
        ASSERT_TRUE(writer.Create(files_, "C:\\packed.dat", password).ok());
        for (const auto& [name, content] : entries) {
            ASSERT_TRUE(writer.AddContent(name, content).ok()) << name;
        }
        ASSERT_TRUE(writer.Finish().ok());
    }

    test::TempRoot root_;
    platform::HostFileSystem files_{platform::HostPathMap(root_.root().string())};
};

std::string RandomText(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string text(size, '\0');
    for (char& c : text) {
        c = char(random());
    }
    return text;
}

TEST_F(ArchiveWriterTest, WritesTheDocumentedLayout) {
    Pack({{"dir/a.txt", "hello"}}, "");
    const std::string expected = test::ArchiveBuilder(3).Entry("dir\\a.txt", "hello").bytes();
    EXPECT_EQ(root_.Read("packed.dat"), expected);
}

TEST_F(ArchiveWriterTest, RoundTripsWithAndWithoutPassword) {
    // The large incompressible entry takes the path that compresses twice instead of holding the
    // result.
    const std::vector<std::pair<std::string, std::string>> entries = {
        {"empty.txt", ""},
        {"one.txt", "1"},
        {"sub/dir/text.html", std::string(100000, 'h') + "end"},
        {"big.bin", RandomText(9 * 1024 * 1024 + 5, 7)},
    };
    for (const std::string password : {"", "secret"}) {
        Pack(entries, password);
        std::filesystem::remove_all(root_.Host("out"));
        int code = -1;
        EXPECT_TRUE(
            ExtractArchive(files_, "C:\\packed.dat", "C:\\out", code, true, "", "", password))
            << password;
        for (const auto& [name, content] : entries) {
            std::string relative = "out/" + name;
            EXPECT_EQ(root_.Read(relative), content) << name << " password \"" << password << "\"";
        }
    }
}

TEST_F(ArchiveWriterTest, IdenticalEncryptedEntriesGiveIdenticalStoredBytes) {
    const std::string content = "the same content, longer than one cipher block";
    Pack({{"a.txt", content}, {"b.txt", content}}, "pw");
    const std::string archive = root_.Read("packed.dat");
    const std::string stored = test::Encrypt(test::Compress(content), "pw");
    const size_t first = archive.find(stored);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(archive.find(stored, first + 1), std::string::npos);
}

TEST_F(ArchiveWriterTest, RefusesNamesExtractionWouldRefuse) {
    ArchiveWriter writer;
    ASSERT_TRUE(writer.Create(files_, "C:\\packed.dat", "").ok());
    for (const std::string& name :
         {std::string(), std::string("../x"), std::string("con.txt"), std::string(256, 'a')}) {
        EXPECT_FALSE(writer.AddContent(name, "x").ok()) << name;
    }
    EXPECT_TRUE(writer.AddContent(std::string(255, 'a'), "x").ok());
    EXPECT_TRUE(writer.Finish().ok());
}

}  // namespace
}  // namespace tolva::archive
