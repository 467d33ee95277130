// A save that fails or is cut short must leave the previous files as they were, and a load that
// fails must leave the record as it was.

#include <gtest/gtest.h>

#include "platform/fake/faulty_file_system.h"
#include "store_fixture.h"

namespace tolva::stores {
namespace {

using platform::FaultyFileSystem;
using platform::FileOperation;
using testing::DomainsFile;
using testing::SettingsFile;

class SettingsSaveFailureTest : public testing::StoreTest {
protected:
    void SetUp() override {
        SettingsRecord previous;
        previous.SetControlHttpPort(4242);
        previous.SetDomainCount(1);
        oldSettings_ = SettingsFile(previous);
        oldDomains_ = DomainsFile({"old.example"});
        Put(Settings(), oldSettings_);
        Put(Domains(), oldDomains_);
    }

    static std::string Settings() { return std::string(kConfig) + "settings.cfg"; }
    static std::string Domains() { return std::string(kConfig) + "domains.cfg"; }

    // A store whose record differs from what is on disk, writing through the faulty files.
    std::unique_ptr<SettingsStore> ChangedStore(FaultyFileSystem& faulty) {
        auto store = NewStore(&faulty);
        store->LoadSettings(false, false);
        store->Record().SetControlHttpPort(9999);
        store->AddDomain("new.example");
        return store;
    }

    void ExpectPreviousFilesIntact() {
        EXPECT_EQ(Get(Settings()), oldSettings_);
        EXPECT_EQ(Get(Domains()), oldDomains_);
        auto store = NewStore();
        EXPECT_TRUE(store->LoadSettings(true, false));
        EXPECT_EQ(store->Record().ControlHttpPort(), 4242);
        EXPECT_EQ(store->GetDomainName(0), "old.example");
    }

    std::string oldSettings_;
    std::string oldDomains_;
};

TEST_F(SettingsSaveFailureTest, ProcessKilledHalfwayThroughTheSettingsFile) {
    // Forked where it stands, so the child writes into this test's folder. (Windows starts the
    // child afresh; its machine is the same folder there.)
    GTEST_FLAG_SET(death_test_style, "fast");
    FaultyFileSystem faulty(*services_.files);
    faulty.Inject(FileOperation::kWrite)
        .OnPathsEndingIn("settings.cfg.new")
        .AfterBytes(SettingsRecord::kSize / 2)
        .EndingTheProcess();
    auto store = ChangedStore(faulty);
    EXPECT_EXIT(store->SaveSettings(false), ::testing::ExitedWithCode(9), "");
    ExpectPreviousFilesIntact();
}

TEST_F(SettingsSaveFailureTest, ProcessKilledHalfwayThroughTheDomainsFile) {
    // Forked where it stands, so the child writes into this test's folder. (Windows starts the
    // child afresh; its machine is the same folder there.)
    GTEST_FLAG_SET(death_test_style, "fast");
    FaultyFileSystem faulty(*services_.files);
    faulty.Inject(FileOperation::kWrite)
        .OnPathsEndingIn("domains.cfg.new")
        .AfterBytes(100)
        .EndingTheProcess();
    auto store = ChangedStore(faulty);
    EXPECT_EXIT(store->SaveSettings(false), ::testing::ExitedWithCode(9), "");
    // settings.cfg was complete and replaced before the domains file was begun.
    auto reloaded = NewStore();
    EXPECT_TRUE(reloaded->LoadSettings(true, false));
    EXPECT_EQ(reloaded->Record().ControlHttpPort(), 9999);
    EXPECT_EQ(Get(Domains()), oldDomains_);
}

TEST_F(SettingsSaveFailureTest, FailuresAreReportedAndLeaveNothingBehind) {
    struct Case {
        const char* name;
        const char* failingFile;
        bool failMoves;
    };
    const Case cases[] = {
        {"settings file cut short", "settings.cfg.new", false},
        {"domains file cut short", "domains.cfg.new", false},
        {"replacement refused", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Put(Settings(), oldSettings_);
        Put(Domains(), oldDomains_);
        FaultyFileSystem faulty(*services_.files);
        if (*c.failingFile != '\0') {
            faulty.Inject(FileOperation::kWrite).OnPathsEndingIn(c.failingFile).AfterBytes(50);
        }
        if (c.failMoves) {
            faulty.Inject(FileOperation::kMoveTo);
        }
        auto store = ChangedStore(faulty);
        EXPECT_FALSE(store->SaveSettings(false));
        EXPECT_FALSE(Exists(Settings() + ".new"));
        EXPECT_FALSE(Exists(Domains() + ".new"));
        if (std::string(c.failingFile) == "domains.cfg.new") {
            // The settings file was complete and is in place.
            EXPECT_EQ(Get(Domains()), oldDomains_);
            continue;
        }
        // Without a new settings file the domains file is kept too, so the two stay a pair.
        ExpectPreviousFilesIntact();
    }
}

TEST_F(SettingsSaveFailureTest, ReadFailureLeavesTheRecordAsItWas) {
    FaultyFileSystem faulty(*services_.files);
    faulty.Inject(FileOperation::kRead)
        .OnPathsEndingIn("settings.cfg")
        .AfterBytes(SettingsRecord::kSize / 2);
    auto store = NewStore(&faulty);
    const SettingsRecord before = store->Record();
    EXPECT_TRUE(store->LoadSettings(true, true));
    // Nothing of the file arrived, not even its first half still scrambled.
    EXPECT_EQ(store->Record().ControlHttpPort(), 32000);
    EXPECT_EQ(store->Record().String(1477, 127), before.String(1477, 127));
    EXPECT_EQ(store->Record().TempPath(), "C:\\Tolva\\temp\\");
}

// The administrator's settings.cfg, held by another program or on a failing disk, is not replaced
// by the defaults the record holds instead.
TEST_F(SettingsSaveFailureTest, UnreadableSettingsFileIsNeverOverwritten) {
    struct Case {
        const char* name;
        FileOperation failing;
    };
    const Case cases[] = {
        {"open refused", FileOperation::kOpenForRead},
        {"a read fails halfway", FileOperation::kRead},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FaultyFileSystem faulty(*services_.files);
        FaultyFileSystem::Fault& fault = faulty.Inject(c.failing).OnPathsEndingIn("settings.cfg");
        if (c.failing == FileOperation::kRead) {
            fault.AfterBytes(100);
        }
        auto store = ChangedStore(faulty);
        EXPECT_FALSE(store->SaveSettings(false));
        EXPECT_EQ(store->SaveProblem(),
                  Settings() + " could not be read when the settings were loaded");
        ExpectPreviousFilesIntact();

        // Another configuration folder is written as usual.
        store->SetConfigurationFolder("C:\\Elsewhere\\config\\");
        EXPECT_TRUE(store->SaveSettings(true));
    }
}

TEST_F(SettingsSaveFailureTest, UnreadableDomainsFileIsNeverOverwritten) {
    // Both kinds of domain table: 96-byte records, and 32-byte entries still to be widened.
    std::string legacyEntries(96, '\0');
    legacyEntries.replace(0, 8,
                          "\x07"
                          "d1.test");
    legacyEntries.replace(32, 8,
                          "\x07"
                          "d2.test");
    struct Case {
        const char* name;
        uint64_t readsBeforeFailure;
        bool converted;
    };
    const Case cases[] = {
        {"first read fails", 0, true},
        {"a read fails halfway", 96, true},
        {"legacy entries, first read fails", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsRecord previous;
        previous.SetDomainCount(2);
        previous.SetDomainsConverted(c.converted);
        const std::string domains =
            c.converted ? DomainsFile({"one.example", "two.example"}) : legacyEntries;
        Put(Settings(), SettingsFile(previous));
        Put(Domains(), domains);

        FaultyFileSystem faulty(*services_.files);
        faulty.Inject(FileOperation::kRead)
            .OnPathsEndingIn("domains.cfg")
            .AfterBytes(c.readsBeforeFailure);
        auto store = NewStore(&faulty);
        store->LoadSettings(false, false);
        store->Record().SetControlHttpPort(9999);
        EXPECT_FALSE(store->SaveSettings(false));
        EXPECT_NE(store->SaveProblem().find("domains.cfg could not be read"), std::string::npos)
            << store->SaveProblem();
        EXPECT_EQ(Get(Domains()), domains);

        // The settings were saved, with the domain count and width that still describe the file.
        auto reloaded = NewStore();
        EXPECT_TRUE(reloaded->LoadSettings(true, false));
        EXPECT_EQ(reloaded->Record().ControlHttpPort(), 9999);
        EXPECT_EQ(reloaded->Record().DomainCount(), 2);
        EXPECT_EQ(reloaded->GetDomainName(0), c.converted ? "one.example" : "d1.test");
        EXPECT_EQ(reloaded->GetDomainName(1), c.converted ? "two.example" : "d2.test");

        // Once the file reads again, saving writes it as usual.
        EXPECT_TRUE(reloaded->SaveSettings(false));
        EXPECT_EQ(reloaded->SaveProblem(), "");
    }
}

}  // namespace
}  // namespace tolva::stores
