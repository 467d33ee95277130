// The installer's own wiring on the in-memory machine: the main window driven to Install with the
// install sequence behind it, the component exclusions, shortcuts and uninstall entry written for
// real; and the uninstall of "/UNINSTALL" over what it installed.

#include "setup/sequence_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "distribution_fixture.h"
#include "setup/abort_box.h"
#include "setup/exit_codes.h"
#include "setup/folder_uninstall.h"
#include "setup/startup.h"
#include "ui/application.h"
#include "ui/headless_display.h"
#include "winsys/antivirus_entry_points.h"
#include "winsys/setup_registry_keys.h"
#include "wizard_user.h"

namespace tolva::setup {
namespace {

using platform::RegistryHive;
using platform::RegistryRoot;
using platform::Status;
namespace key = component_key;

constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tolva";
constexpr char kProductKey[] = "Software\\Corvane\\Tolva Mail Server";
constexpr char kGroup[] =
    "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Corvane Tolva Mail Server\\";
constexpr char kDesktopLink[] = "C:\\Users\\Tester\\Desktop\\Corvane Server Administration.lnk";
constexpr char kQuickLaunchLink[] =
    "C:\\Users\\Tester\\AppData\\Roaming\\Microsoft\\Internet Explorer\\Quick "
    "Launch\\Corvane Server Administration.lnk";

// The machine's registry, refusing to create or write one key (as a policy or a damaged hive may).
class RefusingRegistry : public platform::Registry {
public:
    explicit RefusingRegistry(platform::Registry& inner) : inner_(inner) {}

    // Keys ending so are refused; empty: none.
    std::string refused;

    bool KeyExists(RegistryHive hive, std::string_view key) const override {
        return inner_.KeyExists(hive, key);
    }
    Status CreateKey(RegistryHive hive, std::string_view key) override {
        return Refused(key) ? Denied() : inner_.CreateKey(hive, key);
    }
    Status ReadString(RegistryHive hive, std::string_view key, std::string_view name,
                      std::string& value) const override {
        return inner_.ReadString(hive, key, name, value);
    }
    Status ReadDword(RegistryHive hive, std::string_view key, std::string_view name,
                     uint32_t& value) const override {
        return inner_.ReadDword(hive, key, name, value);
    }
    Status ReadBinary(RegistryHive hive, std::string_view key, std::string_view name,
                      std::string& value) const override {
        return inner_.ReadBinary(hive, key, name, value);
    }
    Status GetValueType(RegistryHive hive, std::string_view key, std::string_view name,
                        platform::RegistryValueType& type) const override {
        return inner_.GetValueType(hive, key, name, type);
    }
    Status WriteString(RegistryHive hive, std::string_view key, std::string_view name,
                       std::string_view value) override {
        return Refused(key) ? Denied() : inner_.WriteString(hive, key, name, value);
    }
    Status WriteDword(RegistryHive hive, std::string_view key, std::string_view name,
                      uint32_t value) override {
        return Refused(key) ? Denied() : inner_.WriteDword(hive, key, name, value);
    }
    Status WriteBinary(RegistryHive hive, std::string_view key, std::string_view name,
                       std::string_view value) override {
        return Refused(key) ? Denied() : inner_.WriteBinary(hive, key, name, value);
    }
    Status ListValueNames(RegistryHive hive, std::string_view key,
                          std::vector<std::string>& names) const override {
        return inner_.ListValueNames(hive, key, names);
    }
    Status ListSubkeys(RegistryHive hive, std::string_view key,
                       std::vector<std::string>& names) const override {
        return inner_.ListSubkeys(hive, key, names);
    }
    Status RemoveValue(RegistryHive hive, std::string_view key, std::string_view name) override {
        return inner_.RemoveValue(hive, key, name);
    }
    Status RemoveKeyTree(RegistryHive hive, std::string_view key) override {
        return inner_.RemoveKeyTree(hive, key);
    }

private:
    bool Refused(std::string_view key) const { return !refused.empty() && key.ends_with(refused); }
    static Status Denied() { return Status::Failure(platform::error::kAccessDenied, "refused"); }

    platform::Registry& inner_;
};

// No mail host answers.
class RefusingNetwork : public platform::Network {
public:
    Status Connect(std::string_view, uint16_t, uint32_t,
                   std::unique_ptr<platform::Connection>&) override {
        return Status::Failure(111, "refused");
    }
    Status StartTls(std::unique_ptr<platform::Connection>, const platform::TlsOptions&,
                    std::unique_ptr<platform::Connection>&) override {
        return Status::Failure(1, "no TLS");
    }
};

platform::Platform Wired(platform::Platform services, platform::Registry& registry,
                         platform::Network& network) {
    services.registry = &registry;
    services.network = &network;
    return services;
}

// setup.exe's main window with its install runner, as the program entry wires them, over the small
// distribution.
class WiredSetupTest : public ::testing::Test, protected test::DistributionRun {
protected:
    WiredSetupTest() {
        // The shell folders as a Windows machine names them in the registry.
        const std::string shellFolders =
            std::string(winsys::kShellFoldersArea) + "\\" + winsys::kShellFoldersSection;
        platform::FakeShell& shell = fake.Shell();
        for (const auto& [root, name, folder] :
             {std::tuple{RegistryRoot::kCurrentUser, "Programs",
                         platform::SpecialFolder::kPrograms},
              std::tuple{RegistryRoot::kCurrentUser, "AppData", platform::SpecialFolder::kAppData},
              std::tuple{RegistryRoot::kLocalMachine, "Common Programs",
                         platform::SpecialFolder::kCommonPrograms}}) {
            (void)fake.Registry().WriteString(root, shellFolders, name, shell.FolderPath(folder));
        }
        form.State.SetupFolder = kDist;
        form.State.InstallDir = kInstall;
        form.State.ExtractDir = kExtract;
        form.SetLinks({.installRunner = &runner});
        form.Show();
    }

    // Through the pages to the Install folder page; the tree's choice is made on the way.
    void Install(const std::function<void()>& chooseComponents = {}) {
        test::GoToPage(display, form, TMainForm::kComponentsPage);
        if (chooseComponents) {
            chooseComponents();
        }
        test::GoToPage(display, form, TMainForm::kInstallFolderPage);
        test::ClickNext(display, form);
    }
    void Deselect(int32_t component) {
        // The first click makes the node current, the second toggles it.
        ASSERT_TRUE(test::ClickComponent(display, form, component));
        ASSERT_TRUE(test::ClickComponent(display, form, component));
        ASSERT_EQ(ComponentState(*form.ComponentsList, component), kNotSelected) << component;
    }
    size_t Count(const std::vector<std::string>& lines, const std::string& line) const {
        return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
    }

    RefusingRegistry registry{fake.Registry()};
    RefusingNetwork network;
    platform::Platform services = Wired(platform, registry, network);
    ui::HeadlessDisplay display;
    ui::Application application{display, &system};
    TDebugStruct log{files, system};
    AbortBox abortBox{dialogs, system, log, processEnd};
    stores::SettingsStore settings{services};
    net::HttpClient http{services};
    winsys::TAdvancedRegistry productKey{registry, RegistryRoot::kLocalMachine, kProductArea,
                                         kProductSection};
    winsys::SetupRegistryKeys registryKeys{registry, productKey};
    TMainForm form{application, services, log, processEnd};
    SequenceRunner runner{{services, form, log, abortBox, processEnd, calls, settings, http,
                           registryKeys.Components(), "setup.exe"}};
};

TEST_F(WiredSetupTest, NewInstallationFollowsTheTreeAndReachesFinished) {
    Install([&] {
        Deselect(key::kDesktopIcon);
        Deselect(key::kInstantMessaging);
        Deselect(key::kAntiVirus);
    });

    EXPECT_EQ(LogLines().end()[-2], "Finished");
    EXPECT_EQ(Count(events, "end " + std::to_string(kExitInstallFailure)), 0u);
    EXPECT_EQ(form.State.PageIndex, TMainForm::kFinishedPage);

    for (const char* link : {"Readme.lnk", "Uninstall.lnk", "WebMail Velo.lnk", "WebAdmin.lnk"}) {
        EXPECT_TRUE(files.FileExists(std::string(kGroup) + link)) << link;
    }
    EXPECT_FALSE(files.FileExists(kDesktopLink));
    EXPECT_TRUE(files.FileExists(kQuickLaunchLink));
    std::string uninstall;
    ASSERT_TRUE(
        fake.Registry()
            .ReadString(RegistryRoot::kLocalMachine, kUninstallKey, "UninstallString", uninstall)
            .ok());
    EXPECT_EQ(uninstall, "\"C:\\Tolva Mail Server\\setup.exe\" /UNINSTALL");

    // The product key holds the tree's choice for the next run and the user's details.
    const std::pair<const char*, uint32_t> exclusions[] = {
        {"NoInstallIM", 1},  {"NoInstallCalendar", 0}, {"NoInstallAV", 1},
        {"NoInstallIAS", 0}, {"NoInstallMail", 0},
    };
    for (const auto& [name, expected] : exclusions) {
        uint32_t value = 2;
        EXPECT_TRUE(
            fake.Registry().ReadDword(RegistryRoot::kLocalMachine, kProductKey, name, value).ok())
            << name;
        EXPECT_EQ(value, expected) << name;
    }
    std::string name;
    ASSERT_TRUE(
        fake.Registry().ReadString(RegistryRoot::kLocalMachine, kProductKey, "Name", name).ok());
    EXPECT_EQ(name, "Ann Admin");
}

TEST_F(WiredSetupTest, RefusedUninstallEntryEndsTheInstallationWithFailure) {
    registry.refused =
        std::string(winsys::kUninstallArea).substr(1) + "\\" + winsys::kUninstallSection;

    Install();

    EXPECT_EQ(Count(events, "end " + std::to_string(kExitInstallFailure)), 1u);
    ASSERT_FALSE(dialogs.Shown().empty());
    EXPECT_TRUE(dialogs.Shown().back().text.starts_with(u"Registry error: "));
    const std::vector<std::string> lines = LogLines();
    EXPECT_EQ(Count(lines, "Installing services"), 0u);
    EXPECT_EQ(Count(lines, "Finished"), 0u);
    EXPECT_FALSE(fake.ServiceManager().StateOf("TolvaSMTP").has_value()) << "no service created";
}

int engineUninstalls = 0;

int32_t TOLVA_SETIFACE_CALL EngineUninstall(const char*, const char*, int32_t, uint32_t* status) {
    ++engineUninstalls;
    *status = winsys::setiface::kStatusDone;
    return 0;
}

// "/UNINSTALL" from the installed copy of setup.exe: the engine's uninstall is found below the
// root folder the start-up gave the settings store, the package folders below the setup folder.
TEST_F(WiredSetupTest, UninstallTakesTheRootFolderFromTheSettings) {
    Install();
    ASSERT_EQ(LogLines().end()[-2], "Finished");
    const char* const packages[] = {"wizards\\", "aspell\\", "avast\\"};
    for (const char* folder : packages) {
        ASSERT_TRUE(files.FolderExists(In(kInstall, folder))) << folder;
    }
    const std::string root = "C:\\Mail Root\\";
    const std::string engine = root + "avast\\setup\\setiface.dll";
    Put(engine, "engine");
    fake.Libraries().Add(
        engine, {{winsys::setiface::kUninstallProgram,
                  reinterpret_cast<void*>(reinterpret_cast<uintptr_t>(&EngineUninstall))}});
    stores::SettingsStore started(services);
    started.SetRootFolder(root);
    engineUninstalls = 0;

    EXPECT_TRUE(FolderUninstall(services, form, registryKeys.Components(), started, kInstall)
                    .RunUninstall());

    EXPECT_EQ(engineUninstalls, 1);
    for (const char* folder : packages) {
        EXPECT_FALSE(files.FolderExists(In(kInstall, folder))) << folder;
    }
    EXPECT_FALSE(files.FolderExists(kGroup));
    EXPECT_FALSE(fake.Registry().KeyExists(RegistryRoot::kLocalMachine, kUninstallKey));
    EXPECT_TRUE(files.FileExists(In(kConfig, "settings.cfg"))) << "the server's data stays";
}

// Yes to the cancel question (Esc) while a progress text shows, in the sequence's own steps and in
// the registration the runner carries out: the cancellation is logged and the installation ends
// with the user's code, once.
class CancelTest : public WiredSetupTest, public ::testing::WithParamInterface<const char16_t*> {};

TEST_P(CancelTest, YesToTheCancelQuestionEndsTheInstallationOnce) {
    const std::u16string text = GetParam();
    std::function<void()> escapeAt = [&] {
        if (form.InstallPanelText->Text() == text) {
            (void)display.Press(form, ui::Key::kEscape);
        } else {
            display.QueuePending(escapeAt);
        }
    };
    display.QueuePending(escapeAt);
    dialogs.QueueAnswer(platform::DialogResult::kYes);

    Install();

    const std::vector<std::string> lines = LogLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.end()[-2], "Setup cancelled");
    EXPECT_EQ(Count(lines, "Setup cancelled"), 1u);
    EXPECT_EQ(Count(events, "end " + std::to_string(kExitUserCancelled)), 1u);
    EXPECT_EQ(Count(events, "end " + std::to_string(kExitInstallFailure)), 0u);
    EXPECT_EQ(Count(lines, "Installing services"), 0u);
}

INSTANTIATE_TEST_SUITE_P(ProgressTexts, CancelTest,
                         ::testing::Values(u"Installing Files...", u"Creating Icons..."));

}  // namespace
}  // namespace tolva::setup
