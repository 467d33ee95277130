#pragma once
// A small distribution on the in-memory machine, for runs of the whole install sequence: the
// archives setup.exe ships, a setup.dat with the core programs and a demonstration archive, the
// COM libraries the new installation registers, a clock and the machine's DNS servers.

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "archive/delete_folder_tree.h"
#include "deployment_fixture.h"
#include "setup/package_table.h"
#include "stores/account_store.h"
#include "stores/settings_store.h"
#include "util/product.h"

namespace tolva::setup::test {

class DistributionRun : public DeploymentRun {
public:
    static constexpr char kInstall[] = "C:\\Tolva Mail Server\\";
    static constexpr char kConfig[] = "C:\\Tolva Mail Server\\config\\";
    static constexpr char kDist[] = "C:\\dist\\";
    static constexpr char kTemp[] = "C:\\Temp\\";
    static constexpr char kExtract[] = "C:\\Temp\\tolvainstall\\";
    static constexpr char kLogFile[] = "C:\\Tolva Mail Server\\logs\\setup\\setup.log";

    DistributionRun() {
        system.SetTempFolder(kTemp);
        system.SetNow({2026, 3, 1, 15, 30, 0, 0, 0});
        (void)files.CreateFolders(kTemp);
        dialogs.SetDefaultAnswer(platform::DialogResult::kOk);
        fake.Automation().DefineLibrary(In(kInstall, "api.dll"), {});
        fake.Automation().DefineLibrary(In(kInstall, "corvanecom.dll"),
                                        {{"CorvaneServer.APIObject", {}}});
        PutDistribution();
        // After demo.dat was made, which then holds DNS servers of its own.
        system.SetDnsServers({"10.0.0.53", "10.0.0.54"});
    }

    // The log's lines without their time stamps; the empty line after a CR LF message stays.
    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        const std::string text = Get(kLogFile);
        for (size_t start = 0; start < text.size();) {
            const size_t end = text.find("\r\n", start);
            const std::string line = text.substr(start, end - start);
            lines.push_back(line.size() >= 20 ? line.substr(20) : line);
            start = end == std::string::npos ? text.size() : end + 2;
        }
        return lines;
    }

    static std::string In(const char* folder, const std::string& name) { return folder + name; }

    void PutDistribution() {
        Put(In(kDist, "setup.exe"), "setup program");
        Put(In(kDist, "releasenotes.txt"), "notes");
        Put(In(kDist, "license.txt"), "licence");
        Put(In(kDist, "readme.txt"), "read me");
        Put(In(kDist, "setupphp.dat"), "php archive");
        PutArchive(In(kDist, "setupas.dat"),
                   {{"antispam.db", "shipped db"}, {"rules\\local.cf", "shipped local"}});
        PutArchive(In(kDist, "setupavast.dat"), {{"setiface.dll", "library"}});
        PutArchive(In(kDist, "setupldap.dat"), {{"create.bat", "@echo off"}});
        PutArchive(In(kDist, "setupwizard.dat"), {{"domain.html", "wizard"}});
        PutArchive(In(kDist, "setupaspell.dat"), {{"dict\\en.dat", "words"}});
        PutArchive(In(kDist, "setupwebmail2.dat"), {{"webmail\\index.php", "webmail"}});
        PutArchive(In(kDist, "setupconfig.dat"), {{"config.exe", "console"}});
        PutArchive(In(kDist, "tolva.mcb"), {{"filters.dat", "module catalogue"}});

        PutArchive(In(kDist, "setup.dat"), SetupArchive());
    }

    // The entries of setup.dat.
    std::map<std::string, std::string> SetupArchive() {
        std::map<std::string, std::string> setup;
        for (std::string_view program : kCoreProgramFiles) {
            setup[std::string(program)] = std::string(program) + " v2";
        }
        for (const char* name : {"corvanecom.dll", "im.exe", "cal.exe"}) {
            setup[name] = std::string(name) + " v2";
        }
        setup["cert.pem"] = "shipped certificate";
        setup["webserver.dat"] = "<WEB><ROOT>%%installpath%%html\\</ROOT></WEB>\n";
        setup["html\\index.html"] = "index";
        setup["calendar\\calendar.xml"] = "calendar";
        setup["demo.dat"] = DemoArchive();
        return setup;
    }

    // What the demonstration archive brings: the demonstration domain with a user and an
    // administrator account, made by the stores in a staging folder.
    std::string DemoArchive() {
        const std::string stage = "C:\\stage\\";
        {
            stores::SettingsStore demo(platform);
            demo.SetRootFolder(stage);
            demo.InitServerPaths();
            demo.ApplySettingsDefaults();
            demo.Record().SetDnsServers("192.0.2.53");
            (void)demo.AddDomain(kDemoDomain);
            (void)demo.SaveSettings(false);
            stores::AccountStore accounts(platform, demo);
            for (const char* alias : {"user", "admin"}) {
                stores::AccountRecord record;
                record.SetAccountType(stores::AccountRecord::kUserAccount);
                record.SetAliasList(alias);
                int32_t index = -1;
                (void)accounts.SaveAccount(kDemoDomain, record, index, "");
            }
        }
        const std::string config = stage + "config\\";
        const std::string users = std::string(kDemoDomain) + "\\users.cfg";
        PutArchive(stage + "demo.dat", {{"settings.cfg", Get(config + "settings.cfg")},
                                        {"domains.cfg", Get(config + "domains.cfg")},
                                        {users, Get(config + users)}});
        std::string archive = Get(stage + "demo.dat");
        archive::DeleteFolderTree(files, stage);
        return archive;
    }
};

}  // namespace tolva::setup::test
