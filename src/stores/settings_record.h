#pragma once
// The server's main settings record: 30064 bytes, packed and little-endian, stored byte for byte
// (after scrambling) in settings.cfg. Fields are read and written by name at their offsets; every
// byte that has no accessor here is carried unchanged.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "stores/record_fields.h"

namespace tolva::stores {

namespace settings_field {
inline constexpr size_t kServerHostName = 0;  // string, capacity 127
inline constexpr size_t kDatabaseUsePooling = 152;
inline constexpr size_t kEncryptPasswords = 187;
inline constexpr size_t kResolverOption = 238;
inline constexpr size_t kTempPath = 256;  // strings of capacity 255
inline constexpr size_t kMailPath = 512;
inline constexpr size_t kLogPath = 768;
inline constexpr size_t kControlHttpPort = 1036;
inline constexpr size_t kSecureControlPort = 1040;
inline constexpr size_t kServerNames = 1048;  // string, capacity 127
inline constexpr size_t kHostAddresses = 1176;
inline constexpr size_t kDnsServers = 1304;
inline constexpr size_t kFooterTagsEnabled = 1463;
inline constexpr size_t kHostAddressesEnabled = 1474;
inline constexpr size_t kDnsTimeout = 1476;
inline constexpr size_t kBounceSender = 1477;      // string, capacity 127
inline constexpr size_t kBounceSenderName = 1509;  // string, capacity 127
inline constexpr size_t kSingleProcessor = 1542;
inline constexpr size_t kAccountStorageConnection = 2356;
inline constexpr size_t kAccountStorageMode = 3633;
inline constexpr size_t kRelayAddresses = 3641;    // string, capacity 127
inline constexpr size_t kTrustedAddresses = 4577;  // string, capacity 255
inline constexpr size_t kDomainsConverted = 7001;
inline constexpr size_t kRetryMinutes = 7010;  // unsigned 16-bit
inline constexpr size_t kHoursToMinutesField = 7012;
inline constexpr size_t kDaysToMinutesField = 7016;
inline constexpr size_t kDomainCount = 7020;
inline constexpr size_t kLegacyDomainList = 7024;
inline constexpr size_t kConsoleViewFile = 21428;
inline constexpr size_t kPathDelimiter = 22121;
inline constexpr size_t kPathModeMarker = 22122;
inline constexpr size_t kDnsAttempts = 22136;
inline constexpr size_t kDefaultDbSyntax = 23394;
inline constexpr size_t kArchiveOption = 28051;
inline constexpr size_t kKiloScaledField = 28059;
inline constexpr size_t kDatabaseUseLimit = 29449;
}  // namespace settings_field

class SettingsRecord {
public:
    static constexpr size_t kSize = 30064;
    static constexpr size_t kShortCapacity = 127;
    static constexpr size_t kLongCapacity = 255;
    static constexpr size_t kConsoleViewFileCapacity = 255;
    static constexpr int kLegacyDomainSlots = 100;
    static constexpr size_t kLegacyDomainStride = 128;

    // The built-in default image.
    SettingsRecord();

    Bytes bytes() { return bytes_; }
    ConstBytes bytes() const { return bytes_; }
    bool operator==(const SettingsRecord& other) const = default;

    uint8_t Byte(size_t offset) const { return bytes_.at(offset); }
    void SetByte(size_t offset, uint8_t value) { bytes_.at(offset) = value; }
    std::string String(size_t offset, size_t capacity) const {
        return ReadShortString(bytes_, offset, capacity);
    }
    void SetString(size_t offset, size_t capacity, std::string_view value) {
        WriteShortString(bytes_, offset, capacity, value);
    }

    std::string ServerHostName() const {
        return String(settings_field::kServerHostName, kShortCapacity);
    }
    void SetServerHostName(std::string_view v) {
        SetString(settings_field::kServerHostName, kShortCapacity, v);
    }
    bool DatabaseUsePooling() const { return Byte(settings_field::kDatabaseUsePooling) != 0; }
    void SetDatabaseUsePooling(bool v) { SetByte(settings_field::kDatabaseUsePooling, v ? 1 : 0); }
    bool EncryptPasswords() const { return Byte(settings_field::kEncryptPasswords) != 0; }
    void SetEncryptPasswords(bool v) { SetByte(settings_field::kEncryptPasswords, v ? 1 : 0); }
    uint8_t ResolverOption() const { return Byte(settings_field::kResolverOption); }

    std::string TempPath() const { return String(settings_field::kTempPath, kLongCapacity); }
    void SetTempPath(std::string_view v) { SetString(settings_field::kTempPath, kLongCapacity, v); }
    std::string MailPath() const { return String(settings_field::kMailPath, kLongCapacity); }
    void SetMailPath(std::string_view v) { SetString(settings_field::kMailPath, kLongCapacity, v); }
    std::string LogPath() const { return String(settings_field::kLogPath, kLongCapacity); }
    void SetLogPath(std::string_view v) { SetString(settings_field::kLogPath, kLongCapacity, v); }

    uint16_t ControlHttpPort() const { return ReadU16(bytes_, settings_field::kControlHttpPort); }
    void SetControlHttpPort(uint16_t v) { WriteU16(bytes_, settings_field::kControlHttpPort, v); }
    uint16_t SecureControlPort() const {
        return ReadU16(bytes_, settings_field::kSecureControlPort);
    }
    void SetSecureControlPort(uint16_t v) {
        WriteU16(bytes_, settings_field::kSecureControlPort, v);
    }

    std::string HostAddresses() const {
        return String(settings_field::kHostAddresses, kShortCapacity);
    }
    void SetHostAddresses(std::string_view v) {
        SetString(settings_field::kHostAddresses, kShortCapacity, v);
    }
    std::string DnsServers() const { return String(settings_field::kDnsServers, kShortCapacity); }
    void SetDnsServers(std::string_view v) {
        SetString(settings_field::kDnsServers, kShortCapacity, v);
    }

    bool FooterTagsEnabled() const { return Byte(settings_field::kFooterTagsEnabled) != 0; }
    void SetFooterTagsEnabled(bool v) { SetByte(settings_field::kFooterTagsEnabled, v ? 1 : 0); }
    bool HostAddressesEnabled() const { return Byte(settings_field::kHostAddressesEnabled) != 0; }
    void SetHostAddressesEnabled(bool v) {
        SetByte(settings_field::kHostAddressesEnabled, v ? 1 : 0);
    }
    uint8_t DnsTimeout() const { return Byte(settings_field::kDnsTimeout); }
    void SetDnsTimeout(uint8_t v) { SetByte(settings_field::kDnsTimeout, v); }
    bool SingleProcessor() const { return Byte(settings_field::kSingleProcessor) != 0; }
    void SetSingleProcessor(bool v) { SetByte(settings_field::kSingleProcessor, v ? 1 : 0); }

    std::string AccountStorageConnection() const {
        return String(settings_field::kAccountStorageConnection, kLongCapacity);
    }
    void SetAccountStorageConnection(std::string_view v) {
        SetString(settings_field::kAccountStorageConnection, kLongCapacity, v);
    }
    uint8_t AccountStorageMode() const { return Byte(settings_field::kAccountStorageMode); }
    void SetAccountStorageMode(uint8_t v) { SetByte(settings_field::kAccountStorageMode, v); }

    bool DomainsConverted() const { return Byte(settings_field::kDomainsConverted) != 0; }
    void SetDomainsConverted(bool v) { SetByte(settings_field::kDomainsConverted, v ? 1 : 0); }
    int32_t HoursToMinutesField() const {
        return ReadI32(bytes_, settings_field::kHoursToMinutesField);
    }
    void SetHoursToMinutesField(int32_t v) {
        WriteI32(bytes_, settings_field::kHoursToMinutesField, v);
    }
    int32_t DaysToMinutesField() const {
        return ReadI32(bytes_, settings_field::kDaysToMinutesField);
    }
    void SetDaysToMinutesField(int32_t v) {
        WriteI32(bytes_, settings_field::kDaysToMinutesField, v);
    }
    int32_t DomainCount() const { return ReadI32(bytes_, settings_field::kDomainCount); }
    void SetDomainCount(int32_t v) { WriteI32(bytes_, settings_field::kDomainCount, v); }

    // slot 0..99
    std::string LegacyDomain(int slot) const;
    void SetLegacyDomain(int slot, std::string_view name);

    std::string ConsoleViewFile() const {
        return String(settings_field::kConsoleViewFile, kConsoleViewFileCapacity);
    }
    void SetConsoleViewFile(std::string_view v) {
        SetString(settings_field::kConsoleViewFile, kConsoleViewFileCapacity, v);
    }
    char PathDelimiter() const { return static_cast<char>(Byte(settings_field::kPathDelimiter)); }
    void SetPathDelimiter(char v) {
        SetByte(settings_field::kPathDelimiter, static_cast<uint8_t>(v));
    }
    uint8_t PathModeMarker() const { return Byte(settings_field::kPathModeMarker); }
    void SetPathModeMarker(uint8_t v) { SetByte(settings_field::kPathModeMarker, v); }
    int32_t DnsAttempts() const { return ReadI32(bytes_, settings_field::kDnsAttempts); }
    void SetDnsAttempts(int32_t v) { WriteI32(bytes_, settings_field::kDnsAttempts, v); }
    uint8_t DefaultDbSyntax() const { return Byte(settings_field::kDefaultDbSyntax); }
    void SetDefaultDbSyntax(uint8_t v) { SetByte(settings_field::kDefaultDbSyntax, v); }
    bool ArchiveOption() const { return Byte(settings_field::kArchiveOption) != 0; }
    void SetArchiveOption(bool v) { SetByte(settings_field::kArchiveOption, v ? 1 : 0); }
    int32_t KiloScaledField() const { return ReadI32(bytes_, settings_field::kKiloScaledField); }
    void SetKiloScaledField(int32_t v) { WriteI32(bytes_, settings_field::kKiloScaledField, v); }
    int32_t DatabaseUseLimit() const { return ReadI32(bytes_, settings_field::kDatabaseUseLimit); }
    void SetDatabaseUseLimit(int32_t v) { WriteI32(bytes_, settings_field::kDatabaseUseLimit, v); }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace tolva::stores
