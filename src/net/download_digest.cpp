#include "net/download_digest.h"

#include <memory>

#include "archive/sha256.h"
#include "net/http_url.h"
#include "util/text.h"

namespace tolva::net {
namespace {

constexpr size_t kReadPiece = 64 * 1024;

bool ParseDigest(std::string_view text, archive::Sha256::Digest& digest) {
    std::string hex = util::Trim(text);
    if (hex.size() != 2 * digest.size()) {
        return false;
    }
    for (size_t i = 0; i < digest.size(); ++i) {
        int high = HexDigitValue(hex[2 * i]);
        int low = HexDigitValue(hex[2 * i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        digest[i] = static_cast<uint8_t>(high * 16 + low);
    }
    return true;
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
    archive::Sha256::Digest expected;
    std::unique_ptr<platform::InputFile> file;
    if (!ParseDigest(digest, expected) || !files.OpenForRead(path, file).ok()) {
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
    return hash.Finish() == expected;
}

}  // namespace tolva::net
