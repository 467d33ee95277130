#include "net/download_digest.h"

#include <memory>

#include "archive/sha256.h"
#include "util/text.h"

namespace tolva::net {
namespace {

constexpr size_t kReadPiece = 64 * 1024;

std::string LowerHex(const archive::Sha256::Digest& digest) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (uint8_t byte : digest) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    return hex;
}

}  // namespace

std::optional<std::string> CatalogueDigest(const util::TXMLObject* root,
                                           std::string_view archiveName) {
    if (root == nullptr) {
        return std::nullopt;
    }
    for (const auto& child : root->Children) {
        if (child->Name == "ARCHIVE" &&
            util::SameText(child->GetAttribute("name", util::xcFull), archiveName)) {
            return child->GetAttribute("sha256", util::xcFull);
        }
    }
    return std::nullopt;
}

bool FileMatchesDigest(const platform::FileSystem& files, std::string_view path,
                       std::string_view digest) {
    // Any character that is not a hexadecimal digit makes the comparison fail.
    const std::string expected = util::LowerCase(util::Trim(digest));
    std::unique_ptr<platform::InputFile> file;
    if (expected.size() != 2 * archive::Sha256::kDigestSize ||
        !files.OpenForRead(path, file).ok()) {
        return false;
    }
    auto buffer = std::make_unique<char[]>(kReadPiece);
    archive::Sha256 hash;
    for (;;) {
        size_t got = 0;
        if (!file->Read(buffer.get(), kReadPiece, got).ok()) {
            return false;
        }
        if (got == 0) {
            break;
        }
        hash.Update(buffer.get(), got);
    }
    return LowerHex(hash.Finish()) == expected;
}

}  // namespace tolva::net
