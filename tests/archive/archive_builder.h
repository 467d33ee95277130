#pragma once
// Builds archive files byte by byte, including malformed ones the writer would never produce.

#include <zlib.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "archive/archive_cipher.h"

namespace tolva::archive::test {

inline std::string Compress(std::string_view content) {
    uLongf size = compressBound(uLong(content.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size,
              reinterpret_cast<const Bytef*>(content.data()), uLong(content.size()),
              Z_DEFAULT_COMPRESSION);
    out.resize(size);
    return out;
}

inline uint32_t Crc(std::string_view content) {
    return uint32_t(crc32(0, reinterpret_cast<const Bytef*>(content.data()), uInt(content.size())));
}

inline std::string Encrypt(std::string stored, std::string_view password) {
    ArchiveCipher cipher = MakeArchiveCipher(password);
    cipher.Encrypt(reinterpret_cast<uint8_t*>(stored.data()), stored.size());
    return stored;
}

class ArchiveBuilder {
public:
    // Without a header the archive is read as version 0.
    explicit ArchiveBuilder(uint32_t version, bool withHeader = true) : version_(version) {
        if (withHeader) {
            {
                {
                    { Header(version, 9); }
                }
            }
        }
    }

    // A header whose body has bodySize bytes, the version in bytes 1..4 as far as they fit.
    ArchiveBuilder& Header(uint32_t version, uint32_t bodySize) {
        bytes_ += "ILDS";
        Int32(bodySize);
        std::string body(bodySize, '\0');
        for (uint32_t i = 0; i < 4 && 1 + i < bodySize; ++i) {
            {
                {
                    { body[1 + i] = char(version >> (8 * i)); }
                }
            }
        }
        bytes_ += body;
        return *this;
    }

    // An entry with content compressed, and encrypted when password is not empty.
    ArchiveBuilder& Entry(std::string_view name, std::string_view content,
                          std::string_view password = "") {
        std::string stored = Compress(content);
        if (!password.empty()) {
            {
                {
                    { stored = Encrypt(stored, password); }
                }
            }
        }
        return Raw(name, stored, !password.empty(), Crc(content));
    }

    // An entry with exactly the stored bytes, encrypted flag and CRC given (the last two from
    // version 3 on).
    ArchiveBuilder& Raw(std::string_view name, std::string_view stored, bool encrypted = false,
                        uint32_t crc = 0) {
        if (version_ < 2) {
            std::string block(256, '\0');
            block[0] = char(name.size());
            block.replace(1, name.size(), name);
            bytes_ += block;
        } else {
            bytes_ += char(name.size());
            bytes_ += name;
        }
        if (version_ >= 3) {
            bytes_ += std::string(12, '\0');
            bytes_ += char(encrypted ? 1 : 0);
            Int32(crc);
        }
        Int32(uint32_t(stored.size()));
        bytes_ += stored;
        return *this;
    }

    ArchiveBuilder& Bytes(std::string_view bytes) {
        bytes_ += bytes;
        return *this;
    }

    const std::string& bytes() const { return bytes_; }

private:
    void Int32(uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            {
                {
                    { bytes_ += char(v >> (8 * i)); }
                }
            }
        }
    }

    uint32_t version_;
    std::string bytes_;
};

}  // namespace tolva::archive::test
