#pragma once
// The server's settings store: the settings record, the domain table, the server's folders and
// the small text files beside settings.cfg. One store is owned by the program and passed down; it
// holds the server's database library, which reads the record and the root folder it is given.
//
// Failures are swallowed the way the server does it: a file that cannot be read leaves the state it
// would have filled unchanged, and the operations report through their boolean results.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "stores/database_library.h"
#include "stores/domain_table.h"
#include "stores/numbered_locks.h"
#include "stores/settings_record.h"

namespace tolva::stores {

// How the running program was started: its arguments (without the program name) and its folder.
struct ProgramStart {
    std::vector<std::string> arguments;
    std::string programFolder;
};

struct NetworkShare {
    std::string remoteName;
    std::string user;
    std::string password;
};

// What path.dat sets beyond the three main folders, by line number.
struct PathOverrides {
    std::string serverValue3;          // line 3
    std::vector<NetworkShare> shares;  // line 4
    std::string serverFolder5;         // line 5
    std::string serverFolder6;         // line 6
    std::string outgoingQueueFolder;   // line 7
    std::string retryQueueFolder;      // line 8
    std::string hostAddresses;         // line 9, first value: replaces HostAddresses at every load
    std::string serverHostName;        // line 10: replaces the string at offset 0 at every load
    std::string serverValue11;         // line 11
    std::string incomingQueueFolder;   // line 12
};

struct ResolverConfiguration {
    std::vector<std::string> servers;
    uint8_t timeoutSeconds = 0;
    uint8_t option = 0;
    int32_t attempts = 0;
};

class SettingsStore {
public:
    static constexpr char kSettingsFile[] = "settings.cfg";
    static constexpr char kDomainsFile[] = "domains.cfg";
    // Offset of the domain table inside a settings.cfg of the versions before domains.cfg.
    static constexpr size_t kLegacyDomainTableOffset = 20344;
    // A DomainCount beyond this is taken for a damaged record: the table is then sized by its file.
    static constexpr int32_t kDomainCountLimit = 100000;

    // Takes the files, system, libraries, shell and processes of the bundle; libraries, shell and
    // processes may be null.
    explicit SettingsStore(const platform::Platform& platform, ProgramStart program = {});
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    SettingsRecord& Record() { return record_; }
    const SettingsRecord& Record() const { return record_; }
    DomainTable& Domains() { return domains_; }
    const DomainTable& Domains() const { return domains_; }
    DatabaseLibrary& Database() { return database_; }
    NumberedLocks& Locks() { return locks_; }

    const std::string& RootFolder() const { return rootFolder_; }
    void SetRootFolder(std::string_view folder);
    const std::string& ConfigurationFolder() const { return configFolder_; }
    void SetConfigurationFolder(std::string_view folder);
    const std::string& HtmlFolder() const { return htmlFolder_; }

    platform::FileTime SettingsTimeStamp() const { return settingsTime_; }
    bool HasSubdomains() const { return subdomains_; }
    const std::string& ServerTitle() const { return serverTitle_; }
    const std::vector<std::pair<std::string, std::string>>& ServerTitleValues() const {
        return serverTitleValues_;
    }
    const PathOverrides& Overrides() const { return overrides_; }
    const std::string& OutgoingBindAddress() const { return outgoingBind_; }
    const std::string& IPv6BindList() const { return ipv6Bind_; }
    const std::vector<std::string>& ArchiveAddresses() const { return archiveAddresses_; }
    const ResolverConfiguration& Resolver() const { return resolver_; }
    uint8_t PathModeMarker() const { return pathModeMarker_; }

    void Lock(int n) { locks_.Lock(n); }
    void Unlock(int n) { locks_.Unlock(n); }

    // Establishes the root, configuration and html folders and the absolute data paths, and reads
    // path.dat and servertitle.dat.
    void InitServerPaths();
    // Reads settings.cfg over the record and runs the load steps; settingsOnly skips the domain
    // table and what follows it. False only when mustExist is set and settings.cfg did not open.
    bool LoadSettings(bool mustExist, bool settingsOnly);
    void ApplySettingsDefaults();
    void LoadDomainTable();
    // Appends a domain, growing the table by one record when it is full. An empty name only grows.
    // False, with nothing changed, once DomainCount has reached kDomainCountLimit.
    bool AddDomain(std::string_view name);
    // Makes room for extra more records at once; false, with nothing changed, past the limit.
    bool ReserveDomains(int extra);
    // Writes settings.cfg and, unless settingsOnly, domains.cfg. Each file is written beside the
    // old one and then put in its place, so a failure leaves the old file as it was; when
    // settings.cfg cannot be replaced, domains.cfg is left as well. A file that existed but could
    // not be read at the last load is never overwritten: the record (or the table) does not hold
    // what it holds. An unread settings.cfg leaves domains.cfg as well. True when every file it
    // set out to write was written; otherwise SaveProblem says which file was not and why.
    bool SaveSettings(bool settingsOnly);
    // Empty after a save that wrote everything it set out to.
    const std::string& SaveProblem() const { return saveProblem_; }
    void UseConfigurationFolder(std::string_view installationFolder);

    // The machine's DNS servers joined by ";", as many whole addresses as fit DnsServers.
    std::string MachineDnsServers() const;
    // Writes tags.dat and footervalue.txt (holding footerText) into the configuration folder,
    // creating the folder when needed, and sets FooterTagsEnabled. Each file is written even when
    // the other fails; false when either failed.
    bool WriteFooterFiles(std::string_view footerText);

    std::string GetDomainName(int index) const { return domains_.Name(index); }
    std::string ControlServiceHost() const;
    const std::string& TimeZoneOffset() const { return timeZoneOffset_; }
    void RefreshTimeZoneOffset();

private:
    void ReadPathFile();
    void ReadServerTitleFile();
    void ReadBindFile();
    void ReadArchiveDomainsFile();
    // The lines of a text file of the configuration or root folder; empty when it cannot be read.
    std::vector<std::string> ReadLines(const std::string& path) const;
    void ApplyPathOverrides();
    void ConfigureResolver();
    bool ReadSettingsFile(const std::string& path);
    bool LoadDomainsFromDatabase();
    // False when domains.cfg exists but could not be read; the table is then empty.
    bool LoadDomainsFromFiles();
    void TakeLegacyDomainNames();
    void WidenLegacyDomainEntries();

    platform::FileSystem& files_;
    platform::System& system_;
    platform::Shell* shell_;
    platform::Processes* processes_;
    ProgramStart program_;

    NumberedLocks locks_;
    SettingsRecord record_;
    DomainTable domains_;
    std::string rootFolder_;
    DatabaseLibrary database_;

    std::string configFolder_;
    std::string htmlFolder_;
    platform::FileTime settingsTime_ = 0;
    bool subdomains_ = false;
    std::string serverTitle_;
    std::vector<std::pair<std::string, std::string>> serverTitleValues_;
    PathOverrides overrides_;
    std::string outgoingBind_;
    std::string ipv6Bind_;
    std::vector<std::string> archiveAddresses_;
    ResolverConfiguration resolver_;
    bool resolverCreated_ = false;
    uint8_t pathModeMarker_ = 0;
    std::string timeZoneOffset_;
    bool domainsFileUnread_ = false;
    // The settings.cfg that existed but could not be read at the last load; empty when none.
    std::string unreadSettingsFile_;
    std::string saveProblem_;
};

}  // namespace tolva::stores
