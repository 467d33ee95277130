#include "upgrade/upgrade_table.h"

#include "upgrade/service_table.h"
#include "upgrade/task_packet.h"

namespace tolva::upgrade {
namespace {

constexpr UpgradeRow Posts(const char* threshold, TaskPost first) {
    return {threshold, ConfigurationTask::kNone, {first, TaskPost{}}, 1};
}

constexpr UpgradeRow Posts(const char* threshold, TaskPost first, TaskPost second) {
    return {threshold, ConfigurationTask::kNone, {first, second}, 2};
}

constexpr UpgradeRow Edit(const char* threshold, ConfigurationTask task) {
    return {threshold, task, {}, 0};
}

constexpr UpgradeRow EditThenPost(const char* threshold, ConfigurationTask task, TaskPost post) {
    return {threshold, task, {post, TaskPost{}}, 1};
}

// The SMTP program takes its numbered upgrade tasks under the codes 2, 3 and 4.
constexpr TaskPost Smtp(int32_t code, int32_t taskNumber) {
    return {kSmtpService, code, taskNumber};
}

constexpr TaskPost GroupWare(int32_t taskNumber) {
    return {kGroupWareService, kGroupWareTaskCode, taskNumber};
}

// Task numbers 7 and 17 were never given out.
constexpr std::array<UpgradeRow, 33> kRows = {{
    Posts("7.1.3", {kGroupWareService, kGroupWareCreateTablesCode, 0}, Smtp(2, 0)),
    Posts("7.4.6", Smtp(3, 1), Smtp(4, 2)),
    Posts("7.4.7", Smtp(4, 3), Smtp(4, 4)),
    Posts("7.6.1", GroupWare(5)),
    Posts("7.6.3", GroupWare(6)),
    Posts("7.7.2", GroupWare(8)),
    Posts("8.2.10", Smtp(2, 9)),
    Posts("8.2.13", Smtp(2, 10)),
    Posts("8.3.11", Smtp(4, 11)),
    Posts("8.3.12", GroupWare(12)),
    Posts("8.3.13", GroupWare(13)),
    Posts("8.3.14", GroupWare(14)),
    Posts("8.3.15", Smtp(4, 15)),
    Edit("8.3.16", ConfigurationTask::kClearUnusedHostAddresses),
    Posts("8.3.17", Smtp(4, 16)),
    EditThenPost("8.5.2", ConfigurationTask::kAddWebDavHandler, Smtp(4, 18)),
    Posts("8.5.2-9", GroupWare(19)),
    Edit("8.5.3", ConfigurationTask::kRenameOldFolders),
    Posts("8.5.3-7", GroupWare(20)),
    Posts("8.5.3-11", Smtp(2, 21)),
    Posts("8.5.6-1", Smtp(2, 22)),
    Edit("8.5.6-2", ConfigurationTask::kAddPhpHandler),
    Edit("8.5.7-5", ConfigurationTask::kScaleToMinutes),
    Edit("8.5.7-6", ConfigurationTask::kScaleToBytes),
    Edit("8.6.9", ConfigurationTask::kResetDnsRetries),
    Edit("8.9.0-1", ConfigurationTask::kConvertImapRules),
    Posts("8.9.2", GroupWare(23)),
    Posts("8.9.3-4", GroupWare(24)),
    Posts("8.9.3-6", GroupWare(25)),
    Posts("8.9.3-8", GroupWare(26)),
    Posts("8.9.5-3", Smtp(4, 27)),
    Posts("8.9.7-6", GroupWare(28)),
    // The newest version that needed an upgrade step: only its broadcast is left.
    Edit("8.9.8-3", ConfigurationTask::kNone),
}};

}  // namespace

std::span<const UpgradeRow> UpgradeTable() {
    return kRows;
}

}  // namespace tolva::upgrade
