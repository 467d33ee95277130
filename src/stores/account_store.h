#pragma once
// The server's account store: the accounts of each domain, kept in the domain's users.cfg inside
// the configuration folder (records of 2848 bytes, each scrambled on its own) or, with account
// storage mode 2, in the server's database library.
//
// Failures are swallowed: a missing file or a failed call reports nothing (false, -1, 0).

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "stores/account_record.h"
#include "stores/database_entry_points.h"
#include "stores/password_codec.h"

namespace tolva::stores {

class SettingsStore;

// One pass over the accounts of a domain. Between OpenAccounts and CloseAccounts it holds the
// domain's account file open (file mode) or the database library's own state (database mode).
class AccountIterator {
public:
    AccountRecord& Record() { return record_; }
    const AccountRecord& Record() const { return record_; }
    // Position of the current record in the domain's file; -1 before the first.
    int32_t Index() const { return index_; }
    int32_t Count() const { return count_; }
    const std::string& Domain() const { return domain_; }
    bool IsOpen() const { return open_; }

private:
    friend class AccountStore;

    AccountRecord record_;
    std::array<uint8_t, db::kIteratorStateSize> databaseState_{};
    std::unique_ptr<platform::InputFile> file_;
    bool inDatabase_ = false;
    int32_t index_ = -1;
    int32_t count_ = 0;
    std::string domain_;
    std::string filterText_;
    bool filterFlag_ = false;
    bool open_ = false;
};

class AccountStore {
public:
    static constexpr char kAccountFile[] = "users.cfg";
    // Days from the installation until a demonstration account expires.
    static constexpr int kDemoAccountDays = 30;

    // Decides whether a record passes a non-empty filter text; without one every record passes.
    using FilterHook =
        std::function<bool(const AccountRecord& record, std::string_view text, bool flag)>;
    // Receives the lines of the server's account log.
    using AccountLog = std::function<void(const std::string& line)>;

    // Takes the files and the clock of the bundle; the settings give the configuration folder, the
    // record, the domain table, the locks and the database library.
    AccountStore(const platform::Platform& platform, SettingsStore& settings);
    AccountStore(const AccountStore&) = delete;
    AccountStore& operator=(const AccountStore&) = delete;

    void SetFilterHook(FilterHook hook) { filterHook_ = std::move(hook); }
    void SetAccountLog(AccountLog log) { accountLog_ = std::move(log); }

    // Configuration folder + domain + "\users.cfg"; empty for a name that is not a plain folder
    // name (empty, "." or "..", or holding a path separator or drive colon).
    std::string AccountFilePath(std::string_view domain) const;

    bool OpenAccounts(std::string_view domain, AccountIterator& iterator,
                      std::string_view filterText, bool filterFlag, int32_t skip);
    // True when the iteration is finished; false when the iterator holds the next account.
    bool NextAccount(AccountIterator& iterator);
    void CloseAccounts(AccountIterator& iterator);

    // Index of the first account whose alias list matches the alias (patterns allowed), or -1.
    int32_t FindAccountIndex(std::string_view domain, std::string_view alias);
    // Reads the account at index into record and returns the domain's number of accounts (0 when
    // it has none, and then nothing is read).
    int32_t ReadAccount(std::string_view domain, AccountRecord& record, int32_t index);
    // Writes the record at index (-1, or the number of accounts, appends and sets index to the new
    // position). The record is unchanged in memory. An empty alias list is never written.
    bool SaveAccount(std::string_view domain, AccountRecord& record, int32_t& index,
                     std::string_view changer);
    // The accounts of one domain, or of every domain of the domain table for an empty name.
    int32_t CountAccounts(std::string_view domain);

    // The Password field in the form that is stored, and back to plain. User accounts only.
    void EncodePassword(AccountRecord& record);
    void DecodePassword(AccountRecord& record);

    // Makes the user accounts of the demonstration domain temporary and saves them into the
    // primary domain.
    void PrepareDemoAccounts();

private:
    bool InDatabaseMode() const;
    bool ConnectDatabase();
    bool ReadRecordFrom(platform::InputFile& file, AccountRecord& record);
    int32_t FileRecordCount(std::string_view domain) const;
    bool WriteToFile(std::string_view domain, const AccountRecord& record, int32_t& index,
                     bool& isNew);
    std::string MailboxFolder(const AccountRecord& record) const;
    void RunFollowUps(std::string_view domain, const AccountRecord& record, bool isNew,
                      std::string_view changer);

    platform::FileSystem& files_;
    const platform::System& system_;
    SettingsStore& settings_;
    PasswordCodec codec_;
    FilterHook filterHook_;
    AccountLog accountLog_;
};

// True when an item of list a equals an item of list b (";"-separated, letter case ignored). With
// allowPatterns an item of b that starts with "[" is a wildcard pattern ("*" and "?", an optional
// closing "]") matched against the items of a.
bool AliasesMatch(std::string_view a, std::string_view b, bool allowPatterns);

// The server's folder name for an account's mailbox: the domain, then the primary alias.
std::string MailboxNameFor(std::string_view domain, std::string_view primaryAlias);

// A local date as days since 30 December 1899.
double DateSerial(int year, int month, int day);

}  // namespace tolva::stores
