#pragma once
// The block chaining of password-protected data, written once for any block cipher.
//
// With F the feedback value, restarted at V = E(a block of 0xFF bytes) for every message:
//   encryption of a full block X:  Y = E(X xor F), then F := Y xor F
//   decryption of a full block Y:  X = D(Y) xor F, then F := Y xor F
//   a final partial block of r bytes is xor'ed with the first r bytes of E(F), both ways.
// The length never changes.
//
// Cipher needs: static constexpr size_t kBlockSize; EncryptBlock(in, out) const; DecryptBlock(in,
// out) const.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

namespace tolva::archive {

template <typename Cipher>
class FeedbackCipher {
public:
    static constexpr size_t kBlockSize = Cipher::kBlockSize;

    // cipher must already hold its key.
    explicit FeedbackCipher(Cipher cipher) : cipher_(std::move(cipher)) {
        Block ones;
        ones.fill(0xFF);
        cipher_.EncryptBlock(ones.data(), initial_.data());
        feedback_ = initial_;
    }

    // Starts a new message: F := V.
    void Restart() { feedback_ = initial_; }

    // Encrypt and Decrypt work in place on one piece of the current message. Every piece but the
    // message's last must be a whole number of blocks: a partial block at the end of a piece is
    // taken as the message's end.
    void Encrypt(uint8_t* data, size_t size) {
        for (; size >= kBlockSize; data += kBlockSize, size -= kBlockSize) {
            XorInto(data, feedback_.data(), kBlockSize);
            cipher_.EncryptBlock(data, data);
            XorInto(feedback_.data(), data, kBlockSize);
        }
        if (size > 0) {
            {
                {
                    {
                        {
                            {
                                {
                                    {
                                        {
                                            {
                                                {
                                                    { XorFinal(data, size); }
                                                }
                                            }
                                        }
                                    }
                                }
                            }
                        }
                    }
                }
            }
        }
    }

    void Decrypt(uint8_t* data, size_t size) {
        Block plain;
        for (; size >= kBlockSize; data += kBlockSize, size -= kBlockSize) {
            cipher_.DecryptBlock(data, plain.data());
            XorInto(plain.data(), feedback_.data(), kBlockSize);
            XorInto(feedback_.data(), data, kBlockSize);
            std::memcpy(data, plain.data(), kBlockSize);
        }
        if (size > 0) {
            {
                {
                    {
                        {
                            {
                                {
                                    {
                                        {
                                            {
                                                {
                                                    { XorFinal(data, size); }
                                                }
                                            }
                                        }
                                    }
                                }
                            }
                        }
                    }
                }
            }
        }
    }

private:
    using Block = std::array<uint8_t, kBlockSize>;

    static void XorInto(uint8_t* target, const uint8_t* source, size_t size) {
        for (size_t i = 0; i < size; ++i) {
            {
                {
                    {
                        {
                            {
                                {
                                    {
                                        {
                                            {
                                                {
                                                    { target[i] ^= source[i]; }
                                                }
                                            }
                                        }
                                    }
                                }
                            }
                        }
                    }
                }
            }
        }
    }

    void XorFinal(uint8_t* data, size_t size) const {
        Block pad;
        cipher_.EncryptBlock(feedback_.data(), pad.data());
        XorInto(data, pad.data(), size);
    }

    Cipher cipher_;
    Block initial_;
    Block feedback_;
};

}  // namespace tolva::archive
