#include "stores/settings_record.h"

namespace tolva::stores {

SettingsRecord::SettingsRecord() : bytes_(kSize, 0) {
    using namespace settings_field;
    SetServerHostName("localhost");
    SetTempPath("temp");
    SetMailPath("mail");
    SetLogPath("logs");
    SetString(kBounceSender, kShortCapacity, "MAILER-DAEMON");
    SetString(kBounceSenderName, kShortCapacity, "Mail Delivery Subsystem");
    SetString(kTrustedAddresses, kLongCapacity, "127.0.0.1;192.168.*.*;10.*.*.*;172.16-31.*.*");
    SetAccountStorageMode(1);
    SetDomainsConverted(true);
    WriteU16(bytes_, kRetryMinutes, 45);
    SetHoursToMinutesField(240);
    SetDaysToMinutesField(2880);
}

std::string SettingsRecord::LegacyDomain(int slot) const {
    if (slot < 0 || slot >= kLegacyDomainSlots) {
        return {};
    }
    return String(settings_field::kLegacyDomainList + slot * kLegacyDomainStride, kShortCapacity);
}

void SettingsRecord::SetLegacyDomain(int slot, std::string_view name) {
    if (slot < 0 || slot >= kLegacyDomainSlots) {
        return;
    }
    SetString(settings_field::kLegacyDomainList + slot * kLegacyDomainStride, kShortCapacity, name);
}

}  // namespace tolva::stores
