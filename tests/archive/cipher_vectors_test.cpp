// Published known-answer vectors of SHA-1 (FIPS 180-1), SHA-256 (FIPS 180-4), CAST-256 (RFC 2612)
// and Blowfish.

#include <gtest/gtest.h>

#include <string>

#include "archive/blowfish.h"
#include "archive/cast256.h"
#include "archive/hex.h"
#include "archive/sha1.h"
#include "archive/sha256.h"

namespace tolva::archive {
namespace {

using test::FromHex;
using test::ToHex;

TEST(BlockHash, PublishedVectors) {
    struct Case {
        std::string message;
        const char* sha1;
        const char* sha256;
    };
    const Case cases[] = {
        {"", "da39a3ee5e6b4b0d3255bfef95601890afd80709",
         "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "a9993e364706816aba3e25717850c26c9cd0d89d",
         "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "84983e441c3bd26ebaae4aa1f95129e5e54670f1",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrl"
         "mnop"
         "qrsmnopqrstnopqrstu",
         "a49b2446a02c645bf419f995b67091253a04a259",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(1000000, 'a'), "34aa973cd4c4daa4f61eeb2bdbad27316534016f",
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToHex(Sha1::Hash(c.message)), c.sha1)
            << "SHA-1 of a message of " << c.message.size() << " bytes";
        EXPECT_EQ(ToHex(Sha256::Hash(c.message)), c.sha256)
            << "SHA-256 of a message of " << c.message.size() << " bytes";
    }
}

template <typename Hash>
void ExpectPiecewiseUpdatesMatchOneShot(const char* name) {
    std::string message;
    for (int i = 0; i < 300; ++i) {
        message += char(i * 7 + 1);
    }
    const auto expected = Hash::Hash(message);
    // Piece sizes that cross the 64-byte block and the 56-byte padding boundary in every way.
    for (size_t piece : {1u, 3u, 55u, 56u, 63u, 64u, 65u, 127u}) {
        Hash hash;
        for (size_t at = 0; at < message.size(); at += piece) {
            hash.Update(message.substr(at, piece));
        }
        EXPECT_EQ(hash.Finish(), expected) << name << ", piece size " << piece;
    }
    Hash reused;
    reused.Update("something else");
    reused.Finish();
    reused.Update(message);
    EXPECT_EQ(reused.Finish(), expected) << name << ": Finish must start over";
}

TEST(BlockHash, PiecewiseUpdatesMatchOneShot) {
    ExpectPiecewiseUpdatesMatchOneShot<Sha1>("SHA-1");
    ExpectPiecewiseUpdatesMatchOneShot<Sha256>("SHA-256");
}

TEST(Cast256, Rfc2612Vectors) {
    struct Case {
        const char* key;
        const char* cipher;
    };
    const Case cases[] = {
        {"2342bb9efa38542c0af75647f29f615d", "c842a08972b43d20836c91d1b7530f6b"},
        {"2342bb9efa38542cbed0ac83940ac298bac77a7717942863", "1b386c0210dcadcbdd0e41aa08a7a7e8"},
        {"2342bb9efa38542cbed0ac83940ac2988d7c47ce264908461cc1b5137ae6b604",
         "4f6a2038286897b9c9870136553317fa"},
    };
    for (const Case& c : cases) {
        const auto key = FromHex(c.key);
        Cast256 cast;
        ASSERT_TRUE(cast.SetKey(key.data(), key.size()));
        uint8_t block[16] = {};
        cast.EncryptBlock(block, block);
        EXPECT_EQ(ToHex(block, 16), c.cipher) << "key " << c.key;
        cast.DecryptBlock(block, block);
        EXPECT_EQ(ToHex(block, 16), std::string(32, '0')) << "key " << c.key;
    }
}

TEST(Cast256, ShortKeysArePaddedWithZeroBytes) {
    const auto key = FromHex("2342bb9efa38542c0af75647f29f615d");
    auto padded = key;
    padded.resize(32, 0);
    Cast256 a, b;
    ASSERT_TRUE(a.SetKey(key.data(), key.size()));
    ASSERT_TRUE(b.SetKey(padded.data(), padded.size()));
    uint8_t x[16] = {1, 2, 3}, y[16] = {1, 2, 3};
    a.EncryptBlock(x, x);
    b.EncryptBlock(y, y);
    EXPECT_EQ(ToHex(x, 16), ToHex(y, 16));

    const std::vector<uint8_t> tooLong(33, 1);
    EXPECT_FALSE(a.SetKey(tooLong.data(), tooLong.size()));
}

TEST(Blowfish, PublishedVectors) {
    struct Case {
        const char* key;
        const char* plain;
        const char* cipher;
    };
    const Case cases[] = {
        {"0000000000000000", "0000000000000000", "4ef997456198dd78"},
        {"ffffffffffffffff", "ffffffffffffffff", "51866fd5b85ecb8a"},
        {"3000000000000000", "1000000000000001", "7d856f9a613063f2"},
        {"1111111111111111", "1111111111111111", "2466dd878b963c9d"},
        {"0123456789abcdef", "1111111111111111", "61f9c3802281b096"},
        {"fedcba9876543210", "0123456789abcdef", "0aceab0fc6a0a28d"},
        {"f0e1d2c3b4a5968778695a4b3c2d1e0f0011223344556677", "fedcba9876543210",
         "05044b62fa52d080"},
    };
    for (const Case& c : cases) {
        const auto key = FromHex(c.key);
        auto block = FromHex(c.plain);
        Blowfish blowfish;
        ASSERT_TRUE(blowfish.SetKey(key.data(), key.size()));
        blowfish.EncryptBlock(block.data(), block.data());
        EXPECT_EQ(ToHex(block), c.cipher) << "key " << c.key;
        blowfish.DecryptBlock(block.data(), block.data());
        EXPECT_EQ(ToHex(block), c.plain) << "key " << c.key;
    }
}

TEST(Blowfish, RejectsEmptyAndOverlongKeys) {
    Blowfish blowfish;
    const std::vector<uint8_t> key(73, 1);
    EXPECT_FALSE(blowfish.SetKey(key.data(), 0));
    EXPECT_FALSE(blowfish.SetKey(key.data(), 73));
    EXPECT_TRUE(blowfish.SetKey(key.data(), 72));
}

}  // namespace
}  // namespace tolva::archive
