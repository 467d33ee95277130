// Extracting a large entry must not hold it in memory: the heap's peak stays far below the entry's
// size.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "archive/archive_builder.h"
#include "archive/extract_archive.h"
#include "archive/temp_root.h"

namespace {

std::atomic<size_t> liveBytes{0};
std::atomic<size_t> peakBytes{0};
constexpr size_t kSizeHeader = alignof(std::max_align_t);

void* Allocate(size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(size + kSizeHeader));
    if (!block) {
        return nullptr;
    }
    *reinterpret_cast<size_t*>(block) = size;
    const size_t now = liveBytes += size;
    size_t peak = peakBytes.load();
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
    }
    return block + kSizeHeader;
}

void Release(void* pointer) {
    if (!pointer) {
        return;
    }
    auto* block = static_cast<unsigned char*>(pointer) - kSizeHeader;
    liveBytes -= *reinterpret_cast<size_t*>(block);
    std::free(block);
}

}  // namespace

void* operator new(size_t size) {
    if (void* p = Allocate(size)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new[](size_t size) {
    return operator new(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, size_t) noexcept {
    Release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    Release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    Release(p);
}

namespace tolva::archive {
namespace {

TEST(BoundedMemory, LargeEntryIsExtractedInPieces) {
    test::TempRoot root;
    platform::HostFileSystem files{platform::HostPathMap(root.root().string())};
    constexpr size_t kEntrySize = 96 * 1024 * 1024;
    for (const std::string password : {"", "secret"}) {
        {
            std::string content(kEntrySize, 'z');
            content[12345] = 'a';
            root.Write("big.dat",
                       test::ArchiveBuilder(3).Entry("big.bin", content, password).bytes());
        }
        const size_t before = liveBytes;
        peakBytes = before;
        int code = -1;
        EXPECT_TRUE(ExtractArchive(files, "C:\\big.dat", "C:\\out", code, true, "", "", password));
        const size_t used = peakBytes - before;
        EXPECT_LT(used, 2u * 1024 * 1024) << "password \"" << password << "\"";
        EXPECT_EQ(std::filesystem::file_size(root.Host("out/big.bin")), kEntrySize);
    }
}

}  // namespace
}  // namespace tolva::archive
