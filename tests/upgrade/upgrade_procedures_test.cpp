#include "upgrade/upgrade_procedures.h"

#include <gtest/gtest.h>

#include <climits>

#include "platform/fake/faulty_file_system.h"
#include "upgrade/step_messages.h"
#include "upgrade/upgrade_machine.h"

namespace tolva::upgrade {
namespace {

TEST(UpgradeProcedures, EveryStepAboveTheOldVersionRunsAndEveryTestIsBroadcast) {
    struct Case {
        const char* oldVersion;
        size_t firstStep;  // 34: none
        std::vector<std::string> webEdits;
        size_t imapRequests;
    } cases[] = {
        {"7.0", 1, {"webdav", "php"}, 1},  // no patch field: 7,000,000
        {"7.7.2", 7, {"webdav", "php"}, 1},
        {"8.5.2", 17, {"php"}, 1},
        {"8.5.3", 19, {"php"}, 1},  // its own step has been reached
        {"8.5.3-7", 20, {"php"}, 1},
        {"8.9.0-1", 27, {}, 0},
        {"8.9.8-2", 33, {}, 0},
        {"9.0.0", 34, {}, 0},
        {"9.0.5", 34, {}, 0},
    };
    for (const Case& c : cases) {
        UpgradeMachine upgrade;
        EXPECT_TRUE(upgrade.Run(c.oldVersion)) << c.oldVersion;
        EXPECT_EQ(upgrade.Messages(), ExpectedMessages(c.firstStep)) << c.oldVersion;
        std::vector<std::string> edits;
        for (const RecordingWebServer::Edit& edit : upgrade.webServer.edits) {
            edits.push_back(edit.what);
            EXPECT_EQ(edit.configFolder, kConfigFolder) << c.oldVersion;
        }
        EXPECT_EQ(edits, c.webEdits) << c.oldVersion;
        EXPECT_EQ(upgrade.controlService.RequestCount(), c.imapRequests) << c.oldVersion;
    }
}

TEST(UpgradeProcedures, WebDavHandlerComesAfterItsStepsBroadcastAndBeforeItsMessage) {
    UpgradeMachine upgrade;
    upgrade.Run("8.5.1");
    const std::vector<std::string> messages = upgrade.Messages();
    ASSERT_FALSE(upgrade.webServer.edits.empty());
    const size_t before = upgrade.webServer.edits.front().messagesBefore;
    ASSERT_LT(before, messages.size());
    EXPECT_EQ(messages[before - 1], "b");
    EXPECT_EQ(messages[before], "0:4:18");
}

TEST(UpgradeProcedures, SettingsStepsConvertTheInstallationsRecord) {
    struct Case {
        const char* what;
        int32_t hours, days, kilo;
        int32_t minutesFromHours, minutesFromDays, bytes;
    } cases[] = {
        {"ordinary values", 2, 3, 512, 120, 4320, 524288},
        {"zero: days take their default at load first", 0, 0, 0, 0, 2880 * 1440, 0},
        {"negative", -2, -1, -4, -120, -1440, -4096},
        {"largest that fits", INT32_MAX / 60, INT32_MAX / 1440, INT32_MAX / 1024,
         INT32_MAX / 60 * 60, INT32_MAX / 1440 * 1440, INT32_MAX / 1024 * 1024},
        {"too large: held at the limit", INT32_MAX / 60 + 1, INT32_MAX, INT32_MAX / 1024 + 1,
         INT32_MAX, INT32_MAX, INT32_MAX},
        {"too small: held at the limit", INT32_MIN / 60 - 1, INT32_MIN, INT32_MIN / 1024 - 1,
         INT32_MIN, INT32_MIN, INT32_MIN},
    };
    for (const Case& c : cases) {
        UpgradeMachine upgrade;
        upgrade.SeedSettings([&](stores::SettingsRecord& record) {
            record.SetHoursToMinutesField(c.hours);
            record.SetDaysToMinutesField(c.days);
            record.SetKiloScaledField(c.kilo);
            record.SetDnsTimeout(9);
            record.SetDnsAttempts(7);
        });
        upgrade.Run("8.5.7");
        const stores::SettingsRecord saved = upgrade.SavedSettings();
        EXPECT_EQ(saved.HoursToMinutesField(), c.minutesFromHours) << c.what;
        EXPECT_EQ(saved.DaysToMinutesField(), c.minutesFromDays) << c.what;
        EXPECT_EQ(saved.KiloScaledField(), c.bytes) << c.what;
        EXPECT_EQ(saved.DnsTimeout(), 3) << c.what;
        EXPECT_EQ(saved.DnsAttempts(), 1) << c.what;
    }
}

TEST(UpgradeProcedures, HostAddressesAreKeptOnlyWhenEnabled) {
    for (bool enabled : {false, true}) {
        UpgradeMachine upgrade;
        upgrade.SeedSettings([&](stores::SettingsRecord& record) {
            record.SetHostAddressesEnabled(enabled);
            record.SetHostAddresses("127.0.0.1;10.0.0.6");
            record.SetHoursToMinutesField(5);
        });
        upgrade.Run("8.3.15");
        const stores::SettingsRecord saved = upgrade.SavedSettings();
        EXPECT_EQ(saved.HostAddresses(), enabled ? "127.0.0.1;10.0.0.6" : "") << enabled;
        EXPECT_EQ(saved.HoursToMinutesField(), 300) << "one load carries every later step";
    }
}

TEST(UpgradeProcedures, SettingsAreThoseOfTheInstallationFolderAndUntouchedWithoutASettingsStep) {
    UpgradeMachine upgrade;
    upgrade.SeedSettings([](stores::SettingsRecord& record) { record.SetDnsAttempts(7); });
    // The store still points at another installation, as after the start-up's look at an older one.
    upgrade.settings.SetConfigurationFolder("D:\\Other\\config\\");
    std::string before;
    ASSERT_TRUE(
        upgrade.machine.files.ReadWholeFile(std::string(kConfigFolder) + "settings.cfg", before)
            .ok());

    upgrade.Run("8.6.9");
    std::string after;
    ASSERT_TRUE(
        upgrade.machine.files.ReadWholeFile(std::string(kConfigFolder) + "settings.cfg", after)
            .ok());
    EXPECT_EQ(after, before) << "no step below 8.6.9 works on the settings";

    upgrade.Run("8.6.8");
    EXPECT_EQ(upgrade.SavedSettings().DnsAttempts(), 1);
    EXPECT_FALSE(upgrade.machine.files.FileExists("D:\\Other\\config\\settings.cfg"));
}

// A settings.cfg the installer cannot read (held by another program, a failing disk) keeps the
// administrator's values: the settings steps do not replace it with converted defaults.
TEST(UpgradeProcedures, AnUnreadableSettingsFileIsLeftAsItIsAndLogged) {
    UpgradeMachine upgrade;
    upgrade.SeedSettings([](stores::SettingsRecord& record) { record.SetHoursToMinutesField(2); });
    const std::string file = std::string(kConfigFolder) + "settings.cfg";
    std::string before;
    ASSERT_TRUE(upgrade.machine.files.ReadWholeFile(file, before).ok());
    platform::FaultyFileSystem files(upgrade.machine.files);
    files.Inject(platform::FileOperation::kOpenForRead).OnPathsEndingIn("settings.cfg");
    platform::Platform platform = upgrade.machine.platform;
    platform.files = &files;
    stores::SettingsStore settings(platform);
    settings.SetRootFolder(kInstallFolder);
    stores::AccountStore accounts(platform, settings);

    UpgradeProcedures(files, upgrade.messenger, settings, accounts, upgrade.webServer, upgrade.http,
                      upgrade.log)
        .RunUpgradeProcedures("8.3.0", kInstallFolder);

    std::string after;
    ASSERT_TRUE(upgrade.machine.files.ReadWholeFile(file, after).ok());
    EXPECT_EQ(after, before);
    EXPECT_EQ(upgrade.log.lines,
              std::vector<std::string>{"Error: Settings could not be saved - " + file +
                                       " could not be read when the settings were loaded"});
    EXPECT_EQ(upgrade.Messages(), ExpectedMessages(9)) << "the other steps still run";
}

TEST(UpgradeProcedures, OldFoldersAreRenamedWithTheirContent) {
    UpgradeMachine upgrade;
    platform::MemoryFileSystem& files = upgrade.machine.files;
    const std::string mail = std::string(kInstallFolder) + "mail\\";
    const struct {
        std::string old, renamed;
    } folders[] = {
        {std::string(kConfigFolder) + "remotewatchdog\\",
         std::string(kConfigFolder) + "_remotewatchdog\\"},
        {std::string(kConfigFolder) + "certs\\", std::string(kConfigFolder) + "_certs\\"},
        {mail + "forward\\", mail + "_outgoing\\"},
    };
    for (const auto& folder : folders) {
        ASSERT_TRUE(files.CreateFolders(folder.old + "sub\\").ok());
        ASSERT_TRUE(files.WriteWholeFile(folder.old + "sub\\item.dat", folder.old).ok());
    }
    // A folder whose new name is taken already stays where it is, and so does the one there.
    ASSERT_TRUE(files.CreateFolders(folders[1].renamed).ok());
    ASSERT_TRUE(files.WriteWholeFile(folders[1].renamed + "kept.pem", "kept").ok());

    upgrade.Run("8.5.2-9");
    for (size_t i = 0; i < 3; ++i) {
        const auto& folder = folders[i];
        std::string content;
        if (i == 1) {
            EXPECT_TRUE(files.ReadWholeFile(folder.old + "sub\\item.dat", content).ok());
            EXPECT_TRUE(files.FileExists(folder.renamed + "kept.pem"));
            EXPECT_FALSE(files.FileExists(folder.renamed + "sub\\item.dat"));
            continue;
        }
        EXPECT_FALSE(files.FolderExists(folder.old)) << folder.old;
        EXPECT_TRUE(files.ReadWholeFile(folder.renamed + "sub\\item.dat", content).ok())
            << folder.renamed;
        EXPECT_EQ(content, folder.old);
    }
}

}  // namespace
}  // namespace tolva::upgrade
