#include "upgrade/settings_conversions.h"

#include <algorithm>
#include <limits>

namespace tolva::upgrade {

int32_t SaturatingMultiply(int32_t value, int32_t factor) {
    const int64_t product = static_cast<int64_t>(value) * factor;
    return static_cast<int32_t>(std::clamp<int64_t>(product, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

void ClearUnusedHostAddresses(stores::SettingsRecord& record) {
    if (!record.HostAddressesEnabled()) {
        record.SetHostAddresses("");
    }
}

void ScaleToMinutes(stores::SettingsRecord& record) {
    constexpr int32_t kMinutesPerHour = 60;
    constexpr int32_t kMinutesPerDay = 1440;
    record.SetHoursToMinutesField(
        SaturatingMultiply(record.HoursToMinutesField(), kMinutesPerHour));
    record.SetDaysToMinutesField(SaturatingMultiply(record.DaysToMinutesField(), kMinutesPerDay));
}

void ScaleToBytes(stores::SettingsRecord& record) {
    constexpr int32_t kBytesPerKilobyte = 1024;
    record.SetKiloScaledField(SaturatingMultiply(record.KiloScaledField(), kBytesPerKilobyte));
}

void ResetDnsRetries(stores::SettingsRecord& record) {
    record.SetDnsTimeout(3);
    record.SetDnsAttempts(1);
}

}  // namespace tolva::upgrade
