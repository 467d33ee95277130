#pragma once
// The components of the suite and the archives that carry them.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tolva::setup {

// The key each node of the component tree carries: 0-11 are components, 12-14 group headings.
namespace component_key {
inline constexpr int32_t kServicesAndCoreFiles = 0;
inline constexpr int32_t kAdministrationInterface = 1;
inline constexpr int32_t kDesktopIcon = 2;
inline constexpr int32_t kQuickLaunchIcon = 3;
inline constexpr int32_t kWebmail = 4;
inline constexpr int32_t kAntiSpam = 5;
inline constexpr int32_t kAntiVirus = 6;
inline constexpr int32_t kGroupWare = 7;
inline constexpr int32_t kInstantMessaging = 8;
inline constexpr int32_t kLdap = 9;
inline constexpr int32_t kWizards = 10;
inline constexpr int32_t kASpell = 11;
inline constexpr int32_t kAdministrationGroup = 12;
inline constexpr int32_t kModulesGroup = 13;
inline constexpr int32_t kAddOnsGroup = 14;
}  // namespace component_key

inline constexpr size_t kComponentCount = 12;

// One row of the package table: the archive specifications of a component, separated by ",";
// each is an archive file name, optionally followed by "|" and the folder it unpacks into.
struct TModuleItem {
    int32_t Key;
    std::string_view Packages;
};

struct TPackageItem {
    std::string FileName;
    std::string Folder;  // empty, or a relative folder ending in a backslash
    bool operator==(const TPackageItem&) const = default;
};

using TPackageList = std::vector<TPackageItem>;

inline constexpr std::array<TModuleItem, kComponentCount> kPackageTable = {{
    {component_key::kServicesAndCoreFiles, "setup.dat,setupphp.dat"},
    {component_key::kAdministrationInterface, "setupconfig.dat"},
    {component_key::kDesktopIcon, ""},
    {component_key::kQuickLaunchIcon, ""},
    {component_key::kWebmail, "setupwebmail2.dat"},
    {component_key::kAntiSpam, "setupas.dat|spam\\"},
    {component_key::kAntiVirus, "setupavast.dat|avast\\"},
    {component_key::kGroupWare, ""},
    {component_key::kInstantMessaging, ""},
    {component_key::kLdap, "setupldap.dat|ldap\\"},
    {component_key::kWizards, "setupwizard.dat|wizards\\"},
    {component_key::kASpell, "setupaspell.dat|aspell\\"},
}};

// The archives of the row with that key (the first row when no row has it): the specifications
// split at ",", trimmed, empty ones dropped; each split at its first "|" into a trimmed file name
// and folder.
TPackageList GetPackages(int32_t key);
// The folder of the component's first package ("spam\"); empty when it has none.
std::string PackageFolder(int32_t key);

// The archives named in the package table (setup.dat is its first).
inline constexpr std::string_view kMainArchive = "setup.dat";
inline constexpr std::string_view kAdministrationArchive = "setupconfig.dat";
inline constexpr std::string_view kPhpArchive = "setupphp.dat";
inline constexpr std::string_view kAntiSpamArchive = "setupas.dat";
inline constexpr std::string_view kAntiVirusArchive = "setupavast.dat";
inline constexpr std::string_view kLdapArchive = "setupldap.dat";
inline constexpr std::string_view kWizardsArchive = "setupwizard.dat";
inline constexpr std::string_view kASpellArchive = "setupaspell.dat";
inline constexpr std::string_view kWebmailArchive = "setupwebmail2.dat";
// Archives that are applied when they lie beside the setup program, without a row of their own.
inline constexpr std::string_view kLegacyWebmailArchive = "setupwebmail.dat";
inline constexpr std::string_view kFirstInstallArchive = "setupfirst.dat";
inline constexpr std::string_view kCustomArchive = "setupcustom.dat";

// The program files that setup.dat carries into the installation folder, in the order they are
// copied; the automation library follows them.
inline constexpr std::array<std::string_view, 14> kCoreProgramFiles = {
    "smtp.exe", "pop3.exe",     "control.exe", "config.exe",   "dnsquery.exe",
    "tool.exe", "sendmail.exe", "api.dll",     "libeay32.dll", "libssl32.dll",
    "db.dll",   "regex.dll",    "sqlite3.dll", "libiconv.dll"};
inline constexpr std::string_view kAutomationLibrary = "corvanecom.dll";
// Programs of components that travel in setup.dat and are copied when it holds them.
inline constexpr std::string_view kInstantMessagingProgram = "im.exe";
inline constexpr std::string_view kGroupWareProgram = "cal.exe";

}  // namespace tolva::setup
