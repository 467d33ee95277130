#include "stores/password_codec.h"

#include "archive/blowfish.h"
#include "archive/feedback_cipher.h"
#include "archive/sha1.h"
#include "stores/account_record.h"
#include "util/base64.h"

namespace tolva::stores {

namespace {

// Shared with the server programs, which decode what the installer stores and the other way round.
constexpr std::string_view kAccountPassPhrase =
    "Tolva/accounts: Blowfish pass phrase shared with the server";
static_assert(kAccountPassPhrase.size() == 59);

constexpr std::string_view kEncodedMarker = "~#1";

}  // namespace

class PasswordCodec::Cipher {
public:
    Cipher() : chain_(Keyed()) {}

    std::string Encrypt(std::string_view plain) {
        std::string data(plain);
        chain_.Restart();
        chain_.Encrypt(reinterpret_cast<uint8_t*>(data.data()), data.size());
        return data;
    }

    std::string Decrypt(std::string_view encrypted) {
        std::string data(encrypted);
        chain_.Restart();
        chain_.Decrypt(reinterpret_cast<uint8_t*>(data.data()), data.size());
        return data;
    }

private:
    static archive::Blowfish Keyed() {
        const archive::Sha1::Digest key = archive::Sha1::Hash(kAccountPassPhrase);
        archive::Blowfish blowfish;
        blowfish.SetKey(key.data(), key.size());
        return blowfish;
    }

    archive::FeedbackCipher<archive::Blowfish> chain_;
};

bool IsEncodedPassword(std::string_view stored) {
    return stored.size() > 2 && stored.starts_with("~#");
}

PasswordCodec::PasswordCodec(NumberedLocks& locks) : locks_(locks) {}

PasswordCodec::~PasswordCodec() = default;

PasswordCodec::Cipher& PasswordCodec::TheCipher() {
    if (!cipher_) {
        cipher_ = std::make_unique<Cipher>();
    }
    return *cipher_;
}

bool PasswordCodec::Encode(std::string_view plain, std::string& stored) {
    NumberedLockGuard guard(locks_, 0);
    std::string encoded =
        std::string(kEncodedMarker) + util::Base64Encode(TheCipher().Encrypt(plain));
    if (encoded.size() > AccountRecord::kPasswordCapacity) {
        return false;
    }
    stored = std::move(encoded);
    return true;
}

bool PasswordCodec::Decode(std::string_view stored, std::string& plain) {
    if (!IsEncodedPassword(stored)) {
        plain = std::string(stored);
        return true;
    }
    NumberedLockGuard guard(locks_, 0);
    std::string encrypted;
    if (!util::Base64Decode(stored.substr(kEncodedMarker.size()), encrypted)) {
        return false;
    }
    plain = TheCipher().Decrypt(encrypted).substr(0, AccountRecord::kPasswordCapacity);
    return true;
}

void PasswordCodec::EncodePassword(AccountRecord& record) {
    std::string stored;
    if (Encode(record.Password(), stored)) {
        record.SetPassword(stored);
    }
}

void PasswordCodec::DecodePassword(AccountRecord& record) {
    std::string plain;
    if (IsEncodedPassword(record.Password()) && Decode(record.Password(), plain)) {
        record.SetPassword(plain);
    }
}

}  // namespace tolva::stores
