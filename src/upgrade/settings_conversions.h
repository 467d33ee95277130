#pragma once
// The conversions of the settings record that upgrades from older versions need. Each changes the
// record in memory only; the caller saves it.

#include <cstdint>

#include "stores/settings_record.h"

namespace tolva::upgrade {

// value × factor, held at the nearest 32-bit limit when the product does not fit.
int32_t SaturatingMultiply(int32_t value, int32_t factor);

// Host addresses that are not enabled are dropped.
void ClearUnusedHostAddresses(stores::SettingsRecord& record);
// The two fields once kept in hours and in days now hold minutes.
void ScaleToMinutes(stores::SettingsRecord& record);
// The field once kept in kilobytes now holds bytes.
void ScaleToBytes(stores::SettingsRecord& record);
// Three seconds per DNS query and one attempt.
void ResetDnsRetries(stores::SettingsRecord& record);

}  // namespace tolva::upgrade
