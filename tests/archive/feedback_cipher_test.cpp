#include "archive/feedback_cipher.h"

#include <gtest/gtest.h>

#include <vector>

#include "archive/blowfish.h"
#include "archive/cast256.h"
#include "archive/hex.h"

namespace tolva::archive {
namespace {

using test::FromHex;
using test::ToHex;

// A transparent 4-byte "cipher" (each byte plus one) so that expected results can be worked out by
// hand.
struct AddOneCipher {
    static constexpr size_t kBlockSize = 4;
    void EncryptBlock(const uint8_t* in, uint8_t* out) const {
        for (size_t i = 0; i < kBlockSize; ++i) {
            out[i] = uint8_t(in[i] + 1);
        }
    }
    void DecryptBlock(const uint8_t* in, uint8_t* out) const {
        for (size_t i = 0; i < kBlockSize; ++i) {
            out[i] = uint8_t(in[i] - 1);
        }
    }
};

TEST(FeedbackCipher, ChainsAsDefined) {
    // V = E(ff ff ff ff) = 00 00 00 00.
    // Y1 = E(X1 ^ V) = 02 03 04 05, F = Y1 ^ V = 02 03 04 05.
    // Y2 = E(X2 ^ F) = E(12 23 34 45) = 13 24 35 46, F = Y2 ^ F = 11 27 31 43.
    // Tail: aa bb ^ E(F) = aa bb ^ 12 28 = b8 93.
    FeedbackCipher<AddOneCipher> chain{AddOneCipher{}};
    auto data = FromHex("0102030410203040aabb");
    chain.Encrypt(data.data(), data.size());
    EXPECT_EQ(ToHex(data), "0203040513243546b893");
    chain.Restart();
    chain.Decrypt(data.data(), data.size());
    EXPECT_EQ(ToHex(data), "0102030410203040aabb");
}

template <typename Cipher>
class FeedbackCipherOver : public ::testing::Test {
protected:
    static FeedbackCipher<Cipher> Make() {
        const auto key = FromHex("0123456789abcdeffedcba98765432100123456789abcdef");
        Cipher cipher;
        EXPECT_TRUE(cipher.SetKey(key.data(), 20));
        return FeedbackCipher<Cipher>(cipher);
    }
    static std::vector<uint8_t> Message(size_t size) {
        std::vector<uint8_t> message(size);
        for (size_t i = 0; i < size; ++i) {
            message[i] = uint8_t(i * 31 + 7);
        }
        return message;
    }
};

using Ciphers = ::testing::Types<Cast256, Blowfish>;
TYPED_TEST_SUITE(FeedbackCipherOver, Ciphers);

TYPED_TEST(FeedbackCipherOver, RoundTripsEveryLengthAndKeepsIt) {
    auto chain = this->Make();
    for (size_t size = 0; size <= 3 * TypeParam::kBlockSize + 1; ++size) {
        const auto plain = this->Message(size);
        auto data = plain;
        chain.Restart();
        chain.Encrypt(data.data(), data.size());
        if (size > 0) {
            EXPECT_NE(data, plain) << size;
        }
        chain.Restart();
        chain.Decrypt(data.data(), data.size());
        EXPECT_EQ(data, plain) << "message of " << size << " bytes";
    }
}

TYPED_TEST(FeedbackCipherOver, RestartGivesIdenticalOutputForIdenticalInput) {
    auto chain = this->Make();
    auto first = this->Message(40), second = this->Message(40), third = this->Message(40);
    chain.Encrypt(first.data(), first.size());
    chain.Restart();
    chain.Encrypt(second.data(), second.size());
    EXPECT_EQ(first, second);
    // Without a restart the feedback carries on, so the same plain text must not repeat.
    const size_t whole = 32;
    chain.Restart();
    chain.Encrypt(third.data(), whole);
    auto fourth = this->Message(whole);
    chain.Encrypt(fourth.data(), whole);
    EXPECT_NE(std::vector<uint8_t>(third.begin(), third.begin() + whole), fourth);
}

TYPED_TEST(FeedbackCipherOver, PiecesOfWholeBlocksMatchOneCall) {
    const auto plain = this->Message(16 * 7 + 5);
    auto whole = plain, pieces = plain;
    auto chain = this->Make();
    chain.Encrypt(whole.data(), whole.size());
    chain.Restart();
    const size_t piece = 2 * TypeParam::kBlockSize;
    size_t at = 0;
    for (; pieces.size() - at > piece; at += piece) {
        chain.Encrypt(pieces.data() + at, piece);
    }
    chain.Encrypt(pieces.data() + at, pieces.size() - at);
    EXPECT_EQ(whole, pieces);

    chain.Restart();
    for (at = 0; pieces.size() - at > piece; at += piece) {
        chain.Decrypt(pieces.data() + at, piece);
    }
    chain.Decrypt(pieces.data() + at, pieces.size() - at);
    EXPECT_EQ(pieces, plain);
}

}  // namespace
}  // namespace tolva::archive
