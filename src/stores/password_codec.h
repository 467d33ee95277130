#pragma once
// The encrypted form of stored account passwords: "~#1" followed by the Base64 text of the
// password's bytes encrypted with Blowfish under the SHA-1 of the account pass phrase, in the
// block feedback chaining restarted for every password.

#include <memory>
#include <string>
#include <string_view>

#include "stores/numbered_locks.h"

namespace tolva::stores {

class AccountRecord;

class PasswordCodec {
public:
    // The cipher is keyed on first use; encoding and decoding hold lock 0.
    explicit PasswordCodec(NumberedLocks& locks);
    ~PasswordCodec();
    PasswordCodec(const PasswordCodec&) = delete;
    PasswordCodec& operator=(const PasswordCodec&) = delete;

    // The stored form of a plain password, or nothing when it does not fit the 127-character field.
    bool Encode(std::string_view plain, std::string& stored);
    // The plain form of a stored "~#" password; false, with plain untouched, when the text after
    // the marker is not Base64. Any other text is returned as it is.
    bool Decode(std::string_view stored, std::string& plain);

    // The Password field of a record in place.
    void EncodePassword(AccountRecord& record);
    void DecodePassword(AccountRecord& record);

private:
    class Cipher;
    Cipher& TheCipher();

    NumberedLocks& locks_;
    std::unique_ptr<Cipher> cipher_;
};

// True when the stored password carries the encrypted marker.
bool IsEncodedPassword(std::string_view stored);

}  // namespace tolva::stores
