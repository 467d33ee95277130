#include "stores/settings_store.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "stores/list_text.h"
#include "stores/record_fields.h"
#include "stores/scramble.h"
#include "util/folder_path.h"
#include "util/product.h"
#include "util/read_fully.h"
#include "util/string_file.h"
#include "util/text.h"

namespace tolva::stores {

namespace {

constexpr size_t kTextValueLimit = 255;

std::string Cut(std::string_view text, size_t limit) {
    return std::string(text.substr(0, limit));
}

// The value of a "-InstallDir=" switch ("-", "/", "--" or "//" before the name, any letter case).
bool InstallDirValue(std::string_view argument, std::string& value) {
    if (argument.empty() || (argument[0] != '-' && argument[0] != '/')) {
        return false;
    }
    size_t start = 1;
    if (argument.size() > 1 && argument[1] == argument[0]) {
        start = 2;
    }
    const size_t equals = argument.find('=', start);
    if (equals == std::string_view::npos ||
        !util::SameText(argument.substr(start, equals - start), "InstallDir")) {
        return false;
    }
    value = std::string(argument.substr(equals + 1));
    return true;
}

bool StartsWithText(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && util::SameText(text.substr(0, prefix.size()), prefix);
}

struct NumericDefault {
    size_t offset;
    size_t width;  // bytes
    int32_t value;
};

// Numeric fields that receive a value when the loaded record holds 0.
constexpr std::array<NumericDefault, 25> kNumericDefaults = {{
    {settings_field::kControlHttpPort, 2, 32000},
    {settings_field::kSecureControlPort, 2, 32001},
    {settings_field::kDnsTimeout, 1, 3},
    {settings_field::kDnsAttempts, 4, 1},
    {settings_field::kDaysToMinutesField, 4, 2880},
    {settings_field::kDatabaseUseLimit, 4, 20},
    {1028, 2, 25},
    {1461, 2, 465},
    {1024, 2, 110},
    {1026, 2, 995},
    {1038, 2, 143},
    {1030, 2, 993},
    {250, 2, 389},
    {248, 2, 636},
    {228, 2, 5222},
    {230, 2, 5223},
    {167, 2, 5269},
    {160, 2, 5229},
    {21384, 2, 21},
    {21386, 2, 990},
    {22217, 2, 161},
    {24755, 2, 5060},
    {28047, 4, 5061},
    {252, 2, 366},
    {22219, 2, 13},
}};

void ApplyNumericDefault(Bytes record, const NumericDefault& field) {
    switch (field.width) {
        case 1:
            if (record[field.offset] == 0) {
                record[field.offset] = static_cast<uint8_t>(field.value);
            }
            break;
        case 2:
            if (ReadU16(record, field.offset) == 0) {
                WriteU16(record, field.offset, static_cast<uint16_t>(field.value));
            }
            break;
        default:
            if (ReadI32(record, field.offset) == 0) {
                WriteI32(record, field.offset, field.value);
            }
            break;
    }
}

// What normalising a list does with its blanks.
enum class Blanks { kRemoved, kKept, kSeparate };

struct ListField {
    size_t offset;
    size_t capacity;
    Blanks blanks;
};

constexpr std::array<ListField, 7> kListFields = {{
    {settings_field::kServerHostName, SettingsRecord::kShortCapacity, Blanks::kRemoved},
    {settings_field::kServerNames, SettingsRecord::kShortCapacity, Blanks::kRemoved},
    // "192.0.2.1 192.0.2.2" names two servers; run together they would name none.
    {settings_field::kDnsServers, SettingsRecord::kShortCapacity, Blanks::kSeparate},
    {settings_field::kHostAddresses, SettingsRecord::kShortCapacity, Blanks::kRemoved},
    {settings_field::kAccountStorageConnection, SettingsRecord::kLongCapacity, Blanks::kKept},
    {settings_field::kRelayAddresses, SettingsRecord::kShortCapacity, Blanks::kRemoved},
    {settings_field::kTrustedAddresses, SettingsRecord::kLongCapacity, Blanks::kRemoved},
}};

std::string Normalized(std::string_view value, Blanks blanks) {
    return blanks == Blanks::kSeparate ? NormalizeAddressList(value)
                                       : NormalizeList(value, blanks == Blanks::kKept);
}

// The items of a ";"-list that fit within limit characters whole: an item cut short would be
// another, wrong value.
std::string WholeItemsWithin(std::string_view list, size_t limit) {
    if (list.size() <= limit) {
        return std::string(list);
    }
    const size_t lastSeparator = list.substr(0, limit + 1).rfind(';');
    return lastSeparator == std::string_view::npos ? std::string()
                                                   : std::string(list.substr(0, lastSeparator));
}

bool Skip(platform::InputFile& file, uint64_t count) {
    std::array<uint8_t, 4096> scratch;
    while (count > 0) {
        size_t got = 0;
        const size_t want = static_cast<size_t>(std::min<uint64_t>(count, scratch.size()));
        if (!util::ReadFully(file, scratch.data(), want, got) || got != want) {
            return false;
        }
        count -= got;
    }
    return true;
}

}  // namespace

SettingsStore::SettingsStore(const platform::Platform& platform, ProgramStart program)
    : files_(*platform.files),
      system_(*platform.system),
      shell_(platform.shell),
      processes_(platform.processes),
      program_(std::move(program)),
      database_(platform.libraries, locks_, {record_, rootFolder_}),
      serverTitle_(std::string("Corvane ") + kSetupVersion) {
    RefreshTimeZoneOffset();
}

void SettingsStore::SetRootFolder(std::string_view folder) {
    rootFolder_ = Cut(folder, kTextValueLimit);
}

void SettingsStore::SetConfigurationFolder(std::string_view folder) {
    configFolder_ = Cut(folder, kTextValueLimit);
}

void SettingsStore::InitServerPaths() {
    record_.SetPathDelimiter('\\');
    if (rootFolder_.empty()) {
        std::string installDir;
        const bool given =
            std::any_of(program_.arguments.begin(), program_.arguments.end(),
                        [&](const std::string& a) { return InstallDirValue(a, installDir); });
        SetRootFolder(util::WithTrailingBackslash(given ? installDir : program_.programFolder));
    }
    SetConfigurationFolder(rootFolder_ + "config\\");
    htmlFolder_ = Cut(rootFolder_ + "html\\", kTextValueLimit);
    record_.SetTempPath(rootFolder_ + record_.TempPath());
    record_.SetMailPath(rootFolder_ + record_.MailPath());
    record_.SetLogPath(rootFolder_ + record_.LogPath());
    ReadPathFile();
    ReadServerTitleFile();
    RefreshTimeZoneOffset();
}

std::vector<std::string> SettingsStore::ReadLines(const std::string& path) const {
    std::string content;
    if (!files_.ReadWholeFile(path, content)) {
        return {};
    }
    // A line ends at CR LF, LF or CR.
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') {
                ++i;
            }
        } else {
            line += c;
        }
    }
    if (!line.empty()) {
        lines.push_back(std::move(line));
    }
    return lines;
}

void SettingsStore::ReadPathFile() {
    overrides_ = {};
    const std::string path = rootFolder_ + "path.dat";
    const std::string oldPath = rootFolder_ + "path.cfg";
    if (files_.FileExists(oldPath)) {
        (void)files_.MoveTo(oldPath, path, false);
    }
    const std::vector<std::string> lines = ReadLines(path);
    for (size_t number = 0; number < lines.size(); ++number) {
        const std::string value = Cut(RemoveComments(lines[number]), kTextValueLimit);
        if (value.empty()) {
            continue;
        }
        const std::string folder = Cut(util::WithTrailingBackslash(value), kTextValueLimit);
        switch (number) {
            case 0:
                SetConfigurationFolder(folder);
                break;
            case 1:
                htmlFolder_ = folder;
                break;
            case 3:
                overrides_.serverValue3 = value;
                break;
            case 4:
                for (const std::string& entry : util::SplitText(value, '|')) {
                    const std::vector<std::string> parts = util::SplitText(entry, ';');
                    NetworkShare share{parts[0], parts.size() > 1 ? parts[1] : "",
                                       parts.size() > 2 ? parts[2] : ""};
                    if (share.remoteName.empty()) {
                        continue;
                    }
                    if (shell_ != nullptr) {
                        (void)shell_->ConnectNetworkShare(share.remoteName, share.user,
                                                          share.password);
                    }
                    overrides_.shares.push_back(std::move(share));
                }
                break;
            case 5:
                overrides_.serverFolder5 = folder;
                break;
            case 6:
                overrides_.serverFolder6 = folder;
                break;
            case 7:
                overrides_.outgoingQueueFolder = folder;
                break;
            case 8:
                overrides_.retryQueueFolder = folder;
                break;
            case 9: {
                const size_t bar = value.find('|');
                overrides_.hostAddresses = value.substr(0, bar);
                if (bar != std::string::npos) {
                    outgoingBind_ = value.substr(bar + 1);
                }
                break;
            }
            case 10:
                overrides_.serverHostName = value;
                break;
            case 11:
                overrides_.serverValue11 = value;
                break;
            case 12:
                overrides_.incomingQueueFolder = folder;
                break;
            default:
                break;
        }
    }
}

void SettingsStore::ReadServerTitleFile() {
    serverTitle_ = std::string("Corvane ") + kSetupVersion;
    serverTitleValues_.clear();
    const std::vector<std::string> lines = ReadLines(configFolder_ + "servertitle.dat");
    for (size_t number = 0; number < lines.size(); ++number) {
        if (number == 0) {
            if (!lines[0].empty()) {
                serverTitle_ = Cut(lines[0], kTextValueLimit);
            }
            continue;
        }
        const std::string line = RemoveComments(lines[number]);
        const size_t equals = line.find('=');
        if (equals != std::string::npos) {
            serverTitleValues_.emplace_back(Cut(line.substr(0, equals), kTextValueLimit),
                                            Cut(line.substr(equals + 1), kTextValueLimit));
        }
    }
}

void SettingsStore::RefreshTimeZoneOffset() {
    const int32_t bias = system_.TimeZoneBias();
    const int32_t minutes = std::abs(bias);
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%c%.2d%.2d", bias < 0 ? '+' : '-', minutes / 60,
                  minutes % 60);
    timeZoneOffset_ = text.data();
}

bool SettingsStore::LoadSettings(bool mustExist, bool settingsOnly) {
    const std::string path = configFolder_ + kSettingsFile;
    platform::FileTime stamp = 0;
    settingsTime_ = files_.GetFileTime(path, stamp) ? stamp : 0;
    bool result = !mustExist;
    unreadSettingsFile_.clear();
    const std::string rememberedConnection = record_.AccountStorageConnection();
    if (rootFolder_.empty()) {
        SetRootFolder(configFolder_ + "..\\");
    }
    {
        NumberedLockGuard guard(locks_, 0);
        if (ReadSettingsFile(path)) {
            result = true;
        }
        ApplySettingsDefaults();
        ReadBindFile();
        if (record_.ArchiveOption()) {
            ReadArchiveDomainsFile();
        }
    }
    subdomains_ = files_.FileExists(configFolder_ + "subdomains.dat");
    ConfigureResolver();
    if (!settingsOnly) {
        if (database_.IsLoaded() && record_.AccountStorageConnection() != rememberedConnection) {
            database_.ConnectDatabaseLibrary(true);
        }
        LoadDomainTable();
        if (processes_ != nullptr) {
            (void)processes_->LimitToFirstProcessor(record_.SingleProcessor());
        }
    }
    return result;
}

bool SettingsStore::ReadSettingsFile(const std::string& path) {
    std::unique_ptr<platform::InputFile> file;
    if (!files_.OpenForRead(path, file)) {
        if (files_.FileExists(path)) {
            unreadSettingsFile_ = path;
        }
        return false;
    }
    std::vector<uint8_t> image(SettingsRecord::kSize);
    size_t got = 0;
    // A failed read leaves the record as it was, like a missing file.
    if (util::ReadFully(*file, image.data(), image.size(), got)) {
        ScrambleBlock(image.data(), got, 0);
        std::copy_n(image.begin(), got, record_.bytes().begin());
    } else {
        unreadSettingsFile_ = path;
    }
    return true;
}

void SettingsStore::ApplySettingsDefaults() {
    record_.SetPathDelimiter('\\');
    pathModeMarker_ = record_.PathModeMarker();
    record_.SetPathModeMarker(0);

    const auto completePath = [&](std::string path, const char* defaultName) {
        if (path.empty()) {
            path = rootFolder_ + defaultName;
        }
        return util::WithTrailingBackslash(path);
    };
    record_.SetTempPath(completePath(record_.TempPath(), "temp"));
    record_.SetMailPath(completePath(record_.MailPath(), "mail"));
    record_.SetLogPath(completePath(record_.LogPath(), "logs"));

    for (const NumericDefault& field : kNumericDefaults) {
        ApplyNumericDefault(record_.bytes(), field);
    }

    // Blanks alone would be trimmed away below and leave the resolver without servers.
    if (util::Trim(record_.DnsServers()).empty()) {
        record_.SetDnsServers(MachineDnsServers());
    }

    for (const ListField& field : kListFields) {
        const std::string value = record_.String(field.offset, field.capacity);
        const std::string normalized = Normalized(value, field.blanks);
        if (normalized != value) {
            record_.SetString(field.offset, field.capacity, normalized);
        }
    }
    ApplyPathOverrides();
}

std::string SettingsStore::MachineDnsServers() const {
    std::string servers;
    for (const std::string& server : system_.DnsServers()) {
        servers += (servers.empty() ? "" : ";") + server;
    }
    return WholeItemsWithin(servers, SettingsRecord::kShortCapacity);
}

void SettingsStore::ApplyPathOverrides() {
    if (!overrides_.hostAddresses.empty()) {
        record_.SetHostAddresses(overrides_.hostAddresses);
    }
    if (!overrides_.serverHostName.empty()) {
        record_.SetServerHostName(overrides_.serverHostName);
    }
}

void SettingsStore::ReadBindFile() {
    for (const std::string& line : ReadLines(configFolder_ + "bind.dat")) {
        std::string text = RemoveComments(line);
        std::erase(text, ' ');
        if (StartsWithText(text, "Outgoing_Bind=")) {
            outgoingBind_ = util::Trim(FirstListItem(text.substr(14)));
        } else if (StartsWithText(text, "IPv6_Bind=")) {
            ipv6Bind_ = text.substr(10);
        }
    }
}

void SettingsStore::ReadArchiveDomainsFile() {
    archiveAddresses_.clear();
    for (const std::string& line : ReadLines(configFolder_ + "archivedomains.dat")) {
        const std::string address = RemoveComments(line);
        if (!address.empty()) {
            archiveAddresses_.push_back(address.find('@') == std::string::npos ? "*@" + address
                                                                               : address);
        }
    }
}

void SettingsStore::ConfigureResolver() {
    resolverCreated_ = true;
    resolver_.servers = util::ListItems(record_.DnsServers());
    resolver_.timeoutSeconds = record_.DnsTimeout();
    resolver_.option = record_.ResolverOption();
    resolver_.attempts = record_.DnsAttempts();
}

void SettingsStore::LoadDomainTable() {
    NumberedLockGuard guard(locks_, 0);
    domainsFileUnread_ = false;
    bool fromFiles = record_.AccountStorageMode() != 2;
    if (!fromFiles) {
        fromFiles = !LoadDomainsFromDatabase();
    }
    // An unread domains.cfg leaves DomainCount and DomainsConverted describing the file as it
    // stands; the legacy steps would take its records for missing and rewrite both.
    if (fromFiles && LoadDomainsFromFiles()) {
        TakeLegacyDomainNames();
        WidenLegacyDomainEntries();
    }
    domains_.RebuildIndex(record_.DomainCount());
}

// True when the database settled the table (loaded it, or failed and left it as it was); false
// when it holds no domains and the files are to be read.
bool SettingsStore::LoadDomainsFromDatabase() {
    if (!database_.ConnectDatabaseLibrary(false)) {
        return true;
    }
    const std::optional<int32_t> count = database_.DBGetDomainCount();
    if (!count || *count < 0 || *count > kDomainCountLimit) {
        return true;
    }
    if (*count == 0) {
        return false;
    }
    DomainTable loaded;
    loaded.Allocate(*count);
    if (!database_.DBGetDomains(loaded.Data(), *count)) {
        return true;
    }
    domains_ = std::move(loaded);
    record_.SetDomainCount(*count);
    return true;
}

bool SettingsStore::LoadDomainsFromFiles() {
    domains_.Discard();
    const std::string domainsPath = configFolder_ + kDomainsFile;
    const bool legacy = !files_.FileExists(domainsPath);
    std::unique_ptr<platform::InputFile> file;
    if (!files_.OpenForRead(legacy ? configFolder_ + kSettingsFile : domainsPath, file)) {
        domainsFileUnread_ = !legacy;
        return legacy;
    }
    uint64_t size = file->Size();
    if (legacy) {
        if (size <= kLegacyDomainTableOffset || !Skip(*file, kLegacyDomainTableOffset)) {
            size = 0;
        } else {
            size -= kLegacyDomainTableOffset;
        }
    } else if (record_.DomainCount() == 0) {
        record_.SetDomainCount(static_cast<int32_t>(
            std::min<uint64_t>(size / DomainTable::kRecordSize, kDomainCountLimit)));
    }
    int32_t count = std::max(record_.DomainCount(), 0);
    if (count > kDomainCountLimit) {
        const uint64_t inFile = (size + DomainTable::kRecordSize - 1) / DomainTable::kRecordSize;
        count = static_cast<int32_t>(std::min<uint64_t>(inFile, kDomainCountLimit));
    }
    domains_.Allocate(count);
    const size_t wanted = static_cast<size_t>(std::min<uint64_t>(
        size, uint64_t{static_cast<uint32_t>(count)} * DomainTable::kRecordSize));
    size_t got = 0;
    if (!util::ReadFully(*file, domains_.Data(), wanted, got) && !legacy) {
        domains_.Discard();
        domainsFileUnread_ = true;
        return false;
    }
    if (legacy) {
        ScrambleBlock(domains_.Data(), got, kLegacyDomainTableOffset % 16);
    }
    return true;
}

void SettingsStore::TakeLegacyDomainNames() {
    if (record_.DomainCount() <= 0 || !domains_.Name(0).empty()) {
        return;
    }
    const int32_t count = std::min(record_.DomainCount(), SettingsRecord::kLegacyDomainSlots);
    record_.SetDomainCount(0);
    if (util::Trim(record_.LegacyDomain(0)).empty()) {
        return;
    }
    domains_.Discard();
    for (int32_t slot = 0; slot < count; ++slot) {
        const std::string name = record_.LegacyDomain(slot);
        if (!name.empty()) {
            AddDomain(name);
        }
    }
}

void SettingsStore::WidenLegacyDomainEntries() {
    if (record_.DomainsConverted()) {
        return;
    }
    constexpr size_t kLegacyWidth = 32;
    const int32_t count = std::min(record_.DomainCount(), domains_.Capacity());
    for (int32_t n = count - 1; n >= 0; --n) {
        const std::span<uint8_t> table(domains_.Data(),
                                       domains_.Capacity() * DomainTable::kRecordSize);
        const std::string name = ReadShortString(table, n * kLegacyWidth, kLegacyWidth - 1);
        WriteShortString(table, n * DomainTable::kRecordSize, DomainTable::kNameCapacity, name);
    }
    record_.SetDomainsConverted(true);
}

bool SettingsStore::AddDomain(std::string_view name) {
    NumberedLockGuard guard(locks_, 0);
    const int32_t count = std::max(record_.DomainCount(), 0);
    // A damaged DomainCount would otherwise ask for gigabytes, or count past the 32-bit range.
    if (count >= kDomainCountLimit) {
        return false;
    }
    if (count >= domains_.Capacity()) {
        domains_.Grow(count + 1 - domains_.Capacity());
    }
    if (name.empty()) {
        return false;
    }
    domains_.SetName(count, name);
    domains_.AddToIndex(domains_.Name(count), count);
    record_.SetDomainCount(count + 1);
    return true;
}

bool SettingsStore::ReserveDomains(int extra) {
    NumberedLockGuard guard(locks_, 0);
    if (extra < 0 || extra > kDomainCountLimit - domains_.Capacity()) {
        return false;
    }
    domains_.Grow(extra);
    return true;
}

bool SettingsStore::SaveSettings(bool settingsOnly) {
    NumberedLockGuard guard(locks_, 0);
    saveProblem_.clear();
    const std::string settingsPath = configFolder_ + kSettingsFile;
    if (!unreadSettingsFile_.empty() && util::SameText(settingsPath, unreadSettingsFile_)) {
        // The record holds defaults, not the values in that file: writing it would lose them.
        saveProblem_ = settingsPath + " could not be read when the settings were loaded";
        return false;
    }
    std::string image(reinterpret_cast<const char*>(record_.bytes().data()), SettingsRecord::kSize);
    ScrambleBlock(reinterpret_cast<uint8_t*>(image.data()), image.size(), 0);
    if (!util::ReplaceFileWhole(files_, settingsPath, image, true)) {
        // DomainCount of the old settings file still describes the old domains file.
        saveProblem_ = settingsPath + " could not be written";
        return false;
    }
    if (settingsOnly) {
        return true;
    }
    const std::string domainsPath = configFolder_ + kDomainsFile;
    if (domainsFileUnread_) {
        // The table holds none of the domains in that file: writing it would lose them all.
        saveProblem_ = domainsPath + " could not be read when the settings were loaded";
        return false;
    }
    const int32_t count = std::clamp(record_.DomainCount(), 0, domains_.Capacity());
    const std::string_view table(reinterpret_cast<const char*>(domains_.Data()),
                                 static_cast<size_t>(count) * DomainTable::kRecordSize);
    if (!util::ReplaceFileWhole(files_, domainsPath, table, false)) {
        saveProblem_ = domainsPath + " could not be written";
        return false;
    }
    return true;
}

bool SettingsStore::WriteFooterFiles(std::string_view footerText) {
    // Each file is written whatever became of the other.
    const bool tagsWritten = util::WriteCreatingFolders(files_, configFolder_ + "tags.dat",
                                                        ";\r\nfootervalue.txt;\r\n\r\n\r\n10\r\n");
    const bool footerWritten =
        util::WriteCreatingFolders(files_, configFolder_ + "footervalue.txt", footerText);
    record_.SetFooterTagsEnabled(true);
    return tagsWritten && footerWritten;
}

void SettingsStore::UseConfigurationFolder(std::string_view installationFolder) {
    SetConfigurationFolder(util::WithTrailingBackslash(installationFolder) + "config\\");
    LoadSettings(false, false);
    database_.ReleaseDatabaseLibrary();
}

std::string SettingsStore::ControlServiceHost() const {
    const std::string host = util::Trim(FirstListItem(record_.HostAddresses()));
    return host.empty() ? "localhost" : host;
}

}  // namespace tolva::stores
