#pragma once
// An account record: 2848 bytes, packed and little-endian, as the account files and the database
// library exchange it. Fields are read and written by name at their offsets; all other bytes are
// carried unchanged.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "stores/record_fields.h"

namespace tolva::stores {

namespace account_field {
inline constexpr size_t kAccountType = 0;
inline constexpr size_t kAliasList = 260;  // string, capacity 255
inline constexpr size_t kExpiryEnabled = 645;
inline constexpr size_t kExpiryDate = 648;     // double: days since 1899-12-30
inline constexpr size_t kMailboxValues = 660;  // two 16-bit values read as one 32-bit
inline constexpr size_t kMailboxFlag = 665;
inline constexpr size_t kPassword = 772;      // string, capacity 127
inline constexpr size_t kMailboxPath = 1028;  // string, capacity 127
}  // namespace account_field

class AccountRecord {
public:
    static constexpr size_t kSize = 2848;
    static constexpr size_t kAliasListCapacity = 255;
    static constexpr size_t kPasswordCapacity = 127;
    static constexpr size_t kMailboxPathCapacity = 127;
    static constexpr uint8_t kUserAccount = 0;

    AccountRecord() { bytes_.fill(0); }

    Bytes bytes() { return bytes_; }
    ConstBytes bytes() const { return bytes_; }
    bool operator==(const AccountRecord& other) const = default;

    uint8_t AccountType() const { return bytes_[account_field::kAccountType]; }
    void SetAccountType(uint8_t v) { bytes_[account_field::kAccountType] = v; }
    bool IsUser() const { return AccountType() == kUserAccount; }

    std::string AliasList() const {
        return ReadShortString(bytes_, account_field::kAliasList, kAliasListCapacity);
    }
    void SetAliasList(std::string_view v) {
        WriteShortString(bytes_, account_field::kAliasList, kAliasListCapacity, v);
    }
    bool ExpiryEnabled() const { return bytes_[account_field::kExpiryEnabled] != 0; }
    void SetExpiryEnabled(bool v) { bytes_[account_field::kExpiryEnabled] = v ? 1 : 0; }
    double ExpiryDate() const { return ReadF64(bytes_, account_field::kExpiryDate); }
    void SetExpiryDate(double v) { WriteF64(bytes_, account_field::kExpiryDate, v); }
    uint32_t MailboxValues() const { return ReadU32(bytes_, account_field::kMailboxValues); }
    void SetMailboxValues(uint32_t v) { WriteU32(bytes_, account_field::kMailboxValues, v); }
    uint8_t MailboxFlag() const { return bytes_[account_field::kMailboxFlag]; }
    void SetMailboxFlag(uint8_t v) { bytes_[account_field::kMailboxFlag] = v; }
    std::string Password() const {
        return ReadShortString(bytes_, account_field::kPassword, kPasswordCapacity);
    }
    void SetPassword(std::string_view v) {
        WriteShortString(bytes_, account_field::kPassword, kPasswordCapacity, v);
    }
    std::string MailboxPath() const {
        return ReadShortString(bytes_, account_field::kMailboxPath, kMailboxPathCapacity);
    }
    void SetMailboxPath(std::string_view v) {
        WriteShortString(bytes_, account_field::kMailboxPath, kMailboxPathCapacity, v);
    }

private:
    std::array<uint8_t, kSize> bytes_;
};

}  // namespace tolva::stores
