// Our ciphers against an independent implementation, on random keys and data.

#include <botan/block_cipher.h>
#include <botan/hash.h>
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "archive/blowfish.h"
#include "archive/cast256.h"
#include "archive/feedback_cipher.h"
#include "archive/hex.h"
#include "archive/sha1.h"
#include "archive/sha256.h"

namespace tolva::archive {
namespace {

using test::ToHex;

std::vector<uint8_t> RandomBytes(std::mt19937& random, size_t size) {
    std::vector<uint8_t> bytes(size);
    for (auto& b : bytes) {
        b = uint8_t(random());
    }
    return bytes;
}

template <typename Ours>
void CrossCheckHash(const char* name) {
    std::mt19937 random(1);
    auto reference = Botan::HashFunction::create_or_throw(name);
    for (size_t size : {0u, 1u, 55u, 56u, 63u, 64u, 65u, 119u, 120u, 1000u, 65536u + 17}) {
        const auto data = RandomBytes(random, size);
        const auto expected = reference->process(data);
        EXPECT_EQ(ToHex(Ours::Hash(data.data(), data.size())), ToHex(expected))
            << name << ", " << size << " bytes";
    }
}

TEST(CipherCrossCheck, Hashes) {
    CrossCheckHash<Sha1>("SHA-1");
    CrossCheckHash<Sha256>("SHA-256");
}

template <typename Ours>
void CrossCheckBlockCipher(const char* name, std::vector<size_t> keySizes) {
    std::mt19937 random(2);
    auto reference = Botan::BlockCipher::create_or_throw(name);
    ASSERT_EQ(reference->block_size(), Ours::kBlockSize);
    for (size_t keySize : keySizes) {
        for (int round = 0; round < 50; ++round) {
            const auto key = RandomBytes(random, keySize);
            const auto plain = RandomBytes(random, Ours::kBlockSize * 4);
            reference->set_key(key);
            std::vector<uint8_t> expected(plain.size());
            reference->encrypt_n(plain.data(), expected.data(), 4);

            Ours ours;
            ASSERT_TRUE(ours.SetKey(key.data(), key.size()));
            std::vector<uint8_t> got(plain.size()), back(plain.size());
            for (size_t at = 0; at < plain.size(); at += Ours::kBlockSize) {
                ours.EncryptBlock(plain.data() + at, got.data() + at);
                ours.DecryptBlock(got.data() + at, back.data() + at);
            }
            ASSERT_EQ(ToHex(got), ToHex(expected)) << name << " key " << ToHex(key);
            ASSERT_EQ(back, plain) << name << " key " << ToHex(key);
        }
    }
}

TEST(CipherCrossCheck, Cast256) {
    CrossCheckBlockCipher<Cast256>("CAST-256", {16, 20, 24, 28, 32});
}

TEST(CipherCrossCheck, Blowfish) {
    CrossCheckBlockCipher<Blowfish>("Blowfish", {4, 8, 16, 20, 56});
}

// The chaining against a reference written straight from its definition over the other
// implementation's cipher.
TEST(CipherCrossCheck, FeedbackChainingOverCast256) {
    std::mt19937 random(3);
    auto reference = Botan::BlockCipher::create_or_throw("CAST-256");
    for (size_t size : {0u, 5u, 16u, 17u, 100u, 4096u + 3}) {
        const auto key = Sha1::Hash("password " + std::to_string(size));
        const auto plain = RandomBytes(random, size);
        reference->set_key(key.data(), key.size());

        std::vector<uint8_t> feedback(16, 0xFF), expected;
        reference->encrypt(feedback.data());
        size_t at = 0;
        for (; at + 16 <= size; at += 16) {
            std::vector<uint8_t> block(16);
            for (size_t i = 0; i < 16; ++i) {
                block[i] = plain[at + i] ^ feedback[i];
            }
            reference->encrypt(block.data());
            for (size_t i = 0; i < 16; ++i) {
                feedback[i] ^= block[i];
            }
            expected.insert(expected.end(), block.begin(), block.end());
        }
        reference->encrypt(feedback.data());
        for (size_t i = 0; at + i < size; ++i) {
            expected.push_back(plain[at + i] ^ feedback[i]);
        }

        Cast256 cast;
        ASSERT_TRUE(cast.SetKey(key.data(), key.size()));
        FeedbackCipher<Cast256> chain(cast);
        auto got = plain;
        chain.Encrypt(got.data(), got.size());
        EXPECT_EQ(ToHex(got), ToHex(expected)) << size << " bytes";
    }
}

}  // namespace
}  // namespace tolva::archive
