#pragma once
// The upgrade table: one row per version that changed how the server keeps its data, in the order
// the rows are tested. A row's task runs when the old installation is below the row's version; it
// changes the configuration itself, asks a server program to convert its own data, or both.

#include <array>
#include <cstdint>
#include <span>

namespace tolva::upgrade {

// What a row changes in the configuration itself, before its task messages are posted.
enum class ConfigurationTask {
    kNone,
    kClearUnusedHostAddresses,  // HostAddresses emptied when they are not enabled
    kAddWebDavHandler,
    kRenameOldFolders,  // remotewatchdog, certs and the mail folder's forward
    kAddPhpHandler,
    kScaleToMinutes,  // hours and days to minutes
    kScaleToBytes,    // kilobytes to bytes
    kResetDnsRetries,
    kConvertImapRules,  // through the control service, when the server is small
};

// A task message of the row: code and task number to one program, message 1280.
struct TaskPost {
    int target;
    int32_t code;
    int32_t argument;
};

struct UpgradeRow {
    const char* threshold;
    ConfigurationTask task;
    std::array<TaskPost, 2> posts;
    size_t postCount;

    std::span<const TaskPost> Posts() const { return {posts.data(), postCount}; }
};

std::span<const UpgradeRow> UpgradeTable();

}  // namespace tolva::upgrade
