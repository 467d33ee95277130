#include "stores/account_store.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "stores/list_text.h"
#include "stores/scramble.h"
#include "stores/settings_store.h"
#include "util/folder_path.h"
#include "util/product.h"
#include "util/read_fully.h"
#include "util/string_file.h"
#include "util/text.h"
#include "util/wildcard.h"

namespace tolva::stores {

namespace {

constexpr size_t kRecordSize = AccountRecord::kSize;

bool IsAbsolutePath(std::string_view path) {
    return path.starts_with('\\') || path.starts_with('/') || path.find(':') != std::string::npos;
}

// One whole record; false at the end of the file, after a torn record or on a read error.
bool ReadRecordBytes(platform::InputFile& file, AccountRecord& record) {
    size_t got = 0;
    return util::ReadFully(file, record.bytes().data(), kRecordSize, got) && got == kRecordSize;
}

bool SkipRecords(platform::InputFile& file, int32_t count) {
    AccountRecord scratch;
    for (int32_t i = 0; i < count; ++i) {
        if (!ReadRecordBytes(file, scratch)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool AliasesMatch(std::string_view a, std::string_view b, bool allowPatterns) {
    const std::vector<std::string> itemsB = util::ListItems(util::LowerCase(b));
    for (const std::string& itemA : util::ListItems(util::LowerCase(a))) {
        for (const std::string& itemB : itemsB) {
            if (itemA == itemB) {
                return true;
            }
            if (allowPatterns && itemB.starts_with('[')) {
                std::string_view pattern = std::string_view(itemB).substr(1);
                if (pattern.ends_with(']')) {
                    pattern.remove_suffix(1);
                }
                if (util::WildcardMatch(pattern, itemA)) {
                    return true;
                }
            }
        }
    }
    return false;
}

std::string MailboxNameFor(std::string_view domain, std::string_view primaryAlias) {
    std::string alias(primaryAlias);
    for (char& c : alias) {
        if (std::strchr("\\/:*?\"<>|", c) != nullptr) {
            c = '_';
        }
    }
    if (alias.find_first_not_of('.') == std::string::npos) {
        alias = "_";
    }
    return (std::string(domain) + "\\" + alias + "\\")
        .substr(0, AccountRecord::kMailboxPathCapacity);
}

double DateSerial(int year, int month, int day) {
    // Days from 1970-01-01 of a proleptic Gregorian date.
    const int y = year - (month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const long daysSince1970 = static_cast<long>(era) * 146097 + dayOfEra - 719468;
    constexpr long k1899To1970 = 25569;
    return static_cast<double>(daysSince1970 + k1899To1970);
}

AccountStore::AccountStore(const platform::Platform& platform, SettingsStore& settings)
    : files_(*platform.files),
      system_(*platform.system),
      settings_(settings),
      codec_(settings.Locks()) {}

bool AccountStore::InDatabaseMode() const {
    return settings_.Record().AccountStorageMode() == 2;
}

bool AccountStore::ConnectDatabase() {
    return settings_.Database().ConnectDatabaseLibrary(false);
}

std::string AccountStore::AccountFilePath(std::string_view domain) const {
    if (domain.empty() || domain == "." || domain == ".." ||
        domain.find_first_of("\\/:") != std::string_view::npos) {
        return {};
    }
    return settings_.ConfigurationFolder() + std::string(domain) + "\\" + kAccountFile;
}

void AccountStore::EncodePassword(AccountRecord& record) {
    if (!record.IsUser()) {
        return;
    }
    // A plain password that looks encoded would be garbled by the next read: store it encoded.
    if (settings_.Record().EncryptPasswords() || IsEncodedPassword(record.Password())) {
        codec_.EncodePassword(record);
    }
}

void AccountStore::DecodePassword(AccountRecord& record) {
    if (record.IsUser()) {
        codec_.DecodePassword(record);
    }
}

bool AccountStore::ReadRecordFrom(platform::InputFile& file, AccountRecord& record) {
    AccountRecord read;
    if (!ReadRecordBytes(file, read)) {
        return false;
    }
    ScrambleBlock(read.bytes().data(), kRecordSize, 0);
    DecodePassword(read);
    record = read;
    return true;
}

bool AccountStore::OpenAccounts(std::string_view domain, AccountIterator& iterator,
                                std::string_view filterText, bool filterFlag, int32_t skip) {
    CloseAccounts(iterator);
    iterator = AccountIterator();
    iterator.filterText_ = filterText;
    iterator.filterFlag_ = filterFlag;
    iterator.domain_ = std::string(domain.substr(0, 95));
    if (InDatabaseMode()) {
        if (!ConnectDatabase()) {
            return false;
        }
        std::array<uint8_t, db::kIteratorBlockSize> block{};
        const bool started = settings_.Database().DBInitUsers(domain, block.data(), skip);
        std::copy_n(block.begin(), kRecordSize, iterator.record_.bytes().begin());
        std::copy_n(block.begin() + kRecordSize, db::kIteratorStateSize,
                    iterator.databaseState_.begin());
        iterator.inDatabase_ = true;
        iterator.open_ = started;
        return started;
    }
    const std::string path = AccountFilePath(domain);
    if (path.empty() || !files_.OpenForRead(path, iterator.file_)) {
        return false;
    }
    iterator.count_ =
        static_cast<int32_t>(std::min<uint64_t>(iterator.file_->Size() / kRecordSize, INT32_MAX));
    if (skip > 0) {
        skip = std::min(skip, iterator.count_);
        if (!SkipRecords(*iterator.file_, skip)) {
            iterator.file_.reset();
            return false;
        }
        iterator.index_ = skip - 1;
    }
    iterator.open_ = true;
    return true;
}

bool AccountStore::NextAccount(AccountIterator& iterator) {
    if (!iterator.open_) {
        return true;
    }
    if (iterator.inDatabase_) {
        std::array<uint8_t, db::kIteratorBlockSize> block;
        std::copy_n(iterator.record_.bytes().begin(), kRecordSize, block.begin());
        std::copy_n(iterator.databaseState_.begin(), db::kIteratorStateSize,
                    block.begin() + kRecordSize);
        const bool finished = settings_.Database().DBNextUser(block.data());
        std::copy_n(block.begin(), kRecordSize, iterator.record_.bytes().begin());
        std::copy_n(block.begin() + kRecordSize, db::kIteratorStateSize,
                    iterator.databaseState_.begin());
        return finished;
    }
    // Accounts appended while the pass runs are not visited.
    while (iterator.index_ + 1 < iterator.count_) {
        if (!ReadRecordFrom(*iterator.file_, iterator.record_)) {
            return true;
        }
        ++iterator.index_;
        if (iterator.filterText_.empty() || !filterHook_ ||
            filterHook_(iterator.record_, iterator.filterText_, iterator.filterFlag_)) {
            return false;
        }
    }
    return true;
}

void AccountStore::CloseAccounts(AccountIterator& iterator) {
    if (iterator.open_ && iterator.inDatabase_) {
        std::array<uint8_t, db::kIteratorBlockSize> block;
        std::copy_n(iterator.record_.bytes().begin(), kRecordSize, block.begin());
        std::copy_n(iterator.databaseState_.begin(), db::kIteratorStateSize,
                    block.begin() + kRecordSize);
        settings_.Database().DBDoneUsers(block.data());
    }
    iterator.file_.reset();
    iterator.open_ = false;
}

int32_t AccountStore::FindAccountIndex(std::string_view domain, std::string_view alias) {
    if (InDatabaseMode()) {
        if (!ConnectDatabase()) {
            return -1;
        }
        return settings_.Database().DBGetUsersIndex(domain, alias).value_or(-1);
    }
    const std::string path = AccountFilePath(domain);
    std::unique_ptr<platform::InputFile> file;
    if (path.empty() || !files_.OpenForRead(path, file)) {
        return -1;
    }
    const uint64_t count = file->Size() / kRecordSize;
    AccountRecord record;
    for (uint64_t index = 0; index < count && index < INT32_MAX; ++index) {
        if (!ReadRecordBytes(*file, record)) {
            return -1;
        }
        ScrambleBlock(record.bytes().data(), kRecordSize, 0);
        if (AliasesMatch(alias, record.AliasList(), true)) {
            return static_cast<int32_t>(index);
        }
    }
    return -1;
}

int32_t AccountStore::ReadAccount(std::string_view domain, AccountRecord& record, int32_t index) {
    if (InDatabaseMode()) {
        if (!ConnectDatabase()) {
            return 0;
        }
        return settings_.Database().DBGetUsers(domain, record.bytes().data(), index).value_or(0);
    }
    const std::string path = AccountFilePath(domain);
    std::unique_ptr<platform::InputFile> file;
    if (path.empty() || !files_.OpenForRead(path, file)) {
        return 0;
    }
    const int32_t count =
        static_cast<int32_t>(std::min<uint64_t>(file->Size() / kRecordSize, INT32_MAX));
    if (index >= 0 && index < count && SkipRecords(*file, index)) {
        ReadRecordFrom(*file, record);
    }
    return count;
}

int32_t AccountStore::FileRecordCount(std::string_view domain) const {
    const std::string path = AccountFilePath(domain);
    uint64_t size = 0;
    if (path.empty() || !files_.GetFileSize(path, size)) {
        return 0;
    }
    return static_cast<int32_t>(std::min<uint64_t>(size / kRecordSize, INT32_MAX));
}

int32_t AccountStore::CountAccounts(std::string_view domain) {
    if (InDatabaseMode()) {
        if (!ConnectDatabase()) {
            return 0;
        }
        return settings_.Database().DBGetTotalUsers(domain).value_or(0);
    }
    const std::string wanted = util::LowerCase(domain);
    const int32_t domains =
        std::min(settings_.Record().DomainCount(), settings_.Domains().Capacity());
    int64_t total = 0;
    for (int32_t i = 0; i < domains; ++i) {
        const std::string name = settings_.GetDomainName(i);
        if (wanted.empty() || name == wanted) {
            total += FileRecordCount(name);
        }
    }
    return static_cast<int32_t>(std::min<int64_t>(total, INT32_MAX));
}

bool AccountStore::WriteToFile(std::string_view domain, const AccountRecord& record, int32_t& index,
                               bool& isNew) {
    const std::string path = AccountFilePath(domain);
    if (path.empty() || index < -1) {
        return false;
    }
    NumberedLockGuard guard(settings_.Locks(), 0);
    std::unique_ptr<platform::UpdateFile> file;
    if (!files_.OpenForUpdate(path, false, file)) {
        (void)files_.CreateFolders(settings_.ConfigurationFolder() + std::string(domain) + "\\");
        if (!files_.OpenForUpdate(path, true, file)) {
            return false;
        }
    }
    const int64_t count = static_cast<int64_t>(file->Size() / kRecordSize);
    // An index past the end appends too: writing there would leave a gap of empty records.
    if (isNew || index >= count) {
        if (count >= INT32_MAX) {
            return false;
        }
        isNew = true;
        index = static_cast<int32_t>(count);
    }
    AccountRecord stored = record;
    EncodePassword(stored);
    ScrambleBlock(stored.bytes().data(), kRecordSize, 0);
    return file->WriteAt(uint64_t(index) * kRecordSize, stored.bytes().data(), kRecordSize).ok() &&
           file->Close().ok();
}

bool AccountStore::SaveAccount(std::string_view domain, AccountRecord& record, int32_t& index,
                               std::string_view changer) {
    const std::string primary = FirstListItem(record.AliasList());
    if (record.AliasList().empty()) {
        return false;
    }
    if (record.IsUser() && record.MailboxPath().empty()) {
        record.SetMailboxPath(MailboxNameFor(domain, primary));
    }
    bool isNew = index == -1;
    if (!isNew) {
        AccountRecord old;
        if (index < ReadAccount(domain, old, index) && index >= 0) {
            const bool aliasChanged = FirstListItem(old.AliasList()) != primary;
            if (aliasChanged && old.MailboxPath() == record.MailboxPath()) {
                record.SetMailboxPath(MailboxNameFor(domain, primary));
                const std::string from = MailboxFolder(old);
                const std::string to = MailboxFolder(record);
                if (files_.FolderExists(from)) {
                    (void)files_.MoveTo(from, to, false);
                }
            }
        }
    }
    bool written = false;
    if (InDatabaseMode()) {
        written = ConnectDatabase() &&
                  settings_.Database().DBSaveUsers(domain, record.bytes().data(), index);
    } else {
        written = WriteToFile(domain, record, index, isNew);
    }
    if (written) {
        RunFollowUps(domain, record, isNew, changer);
    }
    return written;
}

std::string AccountStore::MailboxFolder(const AccountRecord& record) const {
    const std::string path = record.MailboxPath();
    return util::WithTrailingBackslash(IsAbsolutePath(path) ? path
                                                            : settings_.Record().MailPath() + path);
}

void AccountStore::RunFollowUps(std::string_view domain, const AccountRecord& record, bool isNew,
                                std::string_view changer) {
    if (accountLog_) {
        const std::string who = changer.empty() ? "System" : std::string(changer);
        const std::string address = FirstListItem(record.AliasList()) + "@" + std::string(domain);
        accountLog_("'" + who + "' " + (isNew ? "created" : "updated") + " '" + address + "'");
    }
    if (!record.IsUser()) {
        return;
    }
    const std::string mailbox = MailboxFolder(record);
    if (files_.FileExists(mailbox + "respond.dat")) {
        (void)files_.RemoveFile(mailbox + "respond.dat");
    }
    if (record.MailboxValues() > 0xFFFF && !files_.FileExists(mailbox + "active.dat")) {
        (void)util::WriteCreatingFolders(files_, mailbox + "active.dat", "");
    }
}

void AccountStore::PrepareDemoAccounts() {
    AccountIterator iterator;
    if (!OpenAccounts(kDemoDomain, iterator, "", false, 0)) {
        return;
    }
    const platform::LocalTime today = system_.Now();
    const double expiry = DateSerial(today.year, today.month, today.day) + kDemoAccountDays;
    while (!NextAccount(iterator)) {
        AccountRecord& record = iterator.Record();
        if (!record.IsUser()) {
            continue;
        }
        record.SetExpiryEnabled(true);
        record.SetExpiryDate(expiry);
        const std::string alias = FirstListItem(record.AliasList());
        const std::string primaryDomain = settings_.GetDomainName(0);
        int32_t index = FindAccountIndex(primaryDomain, alias);
        SaveAccount(primaryDomain, record, index, "");
    }
    CloseAccounts(iterator);
}

}  // namespace tolva::stores
