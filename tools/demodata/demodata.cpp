// demodata FOLDER: writes into the host folder FOLDER what the demonstration archive brings into a
// new installation's configuration folder: settings.cfg and domains.cfg with the demonstration
// domain, and that domain's users.cfg with a user and an administrator account.

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/host/host_platform.h"
#include "stores/account_store.h"
#include "stores/settings_store.h"
#include "util/product.h"

namespace {

constexpr char kInstallFolder[] = "C:\\Demo\\";

bool SaveUser(tolva::stores::AccountStore& accounts, const char* alias, const char* password) {
    tolva::stores::AccountRecord record;
    record.SetAccountType(tolva::stores::AccountRecord::kUserAccount);
    record.SetAliasList(alias);
    record.SetPassword(password);
    accounts.EncodePassword(record);
    int32_t index = -1;
    return accounts.SaveAccount(tolva::kDemoDomain, record, index, "");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 64;
    }
    namespace fs = std::filesystem;
    const fs::path work = fs::path(argv[1]).concat(".work");
    fs::remove_all(work);
    fs::create_directories(work / "c");

    tolva::platform::HostPlatform host(work.string());
    tolva::stores::SettingsStore settings(host.Services());
    settings.SetRootFolder(kInstallFolder);
    settings.InitServerPaths();
    settings.ApplySettingsDefaults();
    tolva::stores::AccountStore accounts(host.Services(), settings);
    const bool written = settings.AddDomain(tolva::kDemoDomain) && settings.SaveSettings(false) &&
                         SaveUser(accounts, "user", "demo") && SaveUser(accounts, "admin", "admin");
    if (!written) {
        std::fprintf(stderr, "demodata: the demonstration configuration could not be written\n");
        return 1;
    }
    fs::remove_all(argv[1]);
    fs::rename(work / "c" / "Demo" / "config", argv[1]);
    fs::remove_all(work);
    return 0;
}
