#include "winsys/uninstall.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/fake/forwarding_file_system.h"
#include "recording_window.h"
#include "setup_registries.h"
#include "winsys/antivirus_entry_points.h"

namespace tolva::winsys {
namespace {

using platform::RegistryRoot;
using platform::ServiceState;

constexpr char kFolder[] = "C:\\Program Files\\Tolva\\";
constexpr char kGroup[] = "C:\\ProgramData\\Start Menu\\Programs\\Corvane Tolva Mail Server\\";
constexpr char kDesktopLink[] = "C:\\Users\\Tester\\Desktop\\Corvane Server Administration.lnk";

// What happened to the machine, in order: files and folders removed, libraries unregistered, the
// engine's uninstall called.
std::vector<std::string>* events = nullptr;
std::string engineCall;

class RecordingFiles : public platform::ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;
    platform::Status RemoveFile(std::string_view path) override {
        events->push_back("delete " + std::string(path));
        return ForwardingFileSystem::RemoveFile(path);
    }
    platform::Status RemoveEmptyFolder(std::string_view path) override {
        events->push_back("rmdir " + std::string(path));
        return ForwardingFileSystem::RemoveEmptyFolder(path);
    }
};

class RecordingAutomation : public platform::Automation {
public:
    explicit RecordingAutomation(platform::Automation& inner) : inner_(inner) {}
    platform::Status Create(std::string_view progId,
                            std::unique_ptr<platform::AutomationObject>& object) override {
        return inner_.Create(progId, object);
    }
    platform::Status RegisterServer(std::string_view libraryPath, bool unregister) override {
        events->push_back((unregister ? "unregister " : "register ") + std::string(libraryPath));
        return inner_.RegisterServer(libraryPath, unregister);
    }

private:
    platform::Automation& inner_;
};

int32_t TOLVA_SETIFACE_CALL EngineUninstall(const char* partner, const char* options, int32_t mode,
                                            uint32_t* status) {
    events->push_back("engine uninstall");
    engineCall = std::string(partner) + (options == nullptr ? " null " : " options ") +
                 std::to_string(mode) + " " + std::to_string(*status);
    *status = setiface::kStatusDone;
    return 0;
}

class UninstallTest : public ::testing::Test {
protected:
    UninstallTest() {
        events = &happened;
        platform.files = &files;
        platform.automation = &automation;
        const std::string folder = kFolder;
        for (const std::string& path :
             {folder + "setup.exe", folder + "smtp.exe", folder + "api.dll",
              folder + "corvanecom.dll", folder + "im.exe", folder + "doc\\readme.txt",
              folder + "php\\ext\\php_aspell.dll", folder + "wizards\\wizard.html",
              folder + "avast\\setup\\setiface.dll", folder + "config\\settings.cfg",
              folder + "mail\\demo-mx.example\\admin\\1.imap", folder + "logs\\smtp.log",
              std::string(kGroup) + "Readme.lnk", std::string(kDesktopLink),
              std::string(kQuickLaunch) + "Corvane Server Administration.lnk",
              std::string(kUserPrograms) + "Corvane Tolva Mail Server\\Readme.lnk",
              std::string(kCommonPrograms) + "Tolva Mail Server\\Readme.lnk"}) {
            EXPECT_TRUE(machine.files.CreateFolders(path.substr(0, path.rfind('\\'))).ok());
            EXPECT_TRUE(machine.files.WriteWholeFile(path, "x").ok());
        }
        machine.AddComLibraries(kFolder);
        machine.libraries.Add(
            folder + "avast\\setup\\setiface.dll",
            {{setiface::kUninstallProgram,
              reinterpret_cast<void*>(reinterpret_cast<uintptr_t>(&EngineUninstall))}});
        for (const char* key : {kProductKey, kUninstallKey}) {
            EXPECT_TRUE(
                machine.registry.WriteString(RegistryRoot::kLocalMachine, key, "Version", "9.1.0")
                    .ok());
        }
    }
    ~UninstallTest() override { events = nullptr; }

    Uninstall Make(const std::string& setupFolder = kFolder) { return Make(setupFolder, window); }
    Uninstall Make(const std::string& setupFolder, RecordingWindow& boxes) {
        UninstallFolders folders;
        folders.setupFolder = setupFolder;
        folders.rootFolder = kFolder;
        folders.wizardsFolder = "wizards\\";
        folders.aspellFolder = "aspell\\";
        folders.antivirusFolder = "avast\\";
        return Uninstall(platform, boxes, registries.Components(), folders);
    }
    size_t At(const std::string& event) const {
        auto found = std::find(happened.begin(), happened.end(), event);
        EXPECT_NE(found, happened.end()) << event;
        return static_cast<size_t>(found - happened.begin());
    }
    bool KeyExists(const char* key) const {
        return machine.registry.KeyExists(RegistryRoot::kLocalMachine, key);
    }

    std::vector<std::string> happened;
    testing::SuiteMachine machine;
    RecordingFiles files{machine.files};
    RecordingAutomation automation{machine.automation};
    platform::Platform platform = machine.platform;
    MachineRegistries registries{machine};
    RecordingWindow window;
};

TEST_F(UninstallTest, RemovesTheInstallationAndLeavesTheData) {
    ASSERT_TRUE(
        machine.automation.RegisterServer(std::string(kFolder) + "corvanecom.dll", false).ok());
    ASSERT_TRUE(machine.ApiObjectRegistered());
    ASSERT_TRUE(Make().RunUninstall());

    const std::string folder = kFolder;
    for (const std::string& gone :
         {folder + "smtp.exe", folder + "api.dll", folder + "corvanecom.dll", folder + "im.exe",
          std::string(kDesktopLink),
          std::string(kQuickLaunch) + "Corvane Server Administration.lnk"}) {
        EXPECT_FALSE(machine.files.FileExists(gone)) << gone;
    }
    for (const std::string& gone : {folder + "doc\\", folder + "php\\", folder + "wizards\\",
                                    folder + "avast\\", std::string(kGroup)}) {
        EXPECT_FALSE(machine.files.FolderExists(gone)) << gone;
    }
    for (const std::string& kept :
         {folder + "setup.exe", folder + "config\\settings.cfg",
          folder + "mail\\demo-mx.example\\admin\\1.imap", folder + "logs\\smtp.log",
          std::string(kUserPrograms) + "Corvane Tolva Mail Server\\Readme.lnk",
          std::string(kCommonPrograms) + "Tolva Mail Server\\Readme.lnk"}) {
        EXPECT_TRUE(machine.files.FileExists(kept)) << kept;
    }
    EXPECT_FALSE(KeyExists(kUninstallKey));
    EXPECT_FALSE(KeyExists(kProductKey));
    EXPECT_FALSE(machine.ApiObjectRegistered());
    EXPECT_EQ(engineCall, "Corvane null 2 0");

    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].caption, u"Information");
    EXPECT_TRUE(window.boxes[0].text.starts_with(u"Uninstall completed."));
    EXPECT_EQ(window.boxes[0].icon, platform::DialogIcon::kInformation);
    EXPECT_TRUE(window.boxes[0].taskModal);
    EXPECT_EQ(machine.fake.Shell().Opened(),
              (std::vector<platform::FakeOpen>{{kFolder, "", platform::ShowCommand::kNormal}}));
}

TEST_F(UninstallTest, LibrariesAndEngineGoBeforeTheirFiles) {
    const std::string current = machine.libraries.CurrentFolder();
    ASSERT_TRUE(Make().RunUninstall());
    const std::string folder = kFolder;
    EXPECT_LT(At("unregister " + folder + "api.dll"),
              At("unregister " + folder + "corvanecom.dll"));
    EXPECT_LT(At("unregister " + folder + "corvanecom.dll"), At("delete " + folder + "api.dll"));
    EXPECT_LT(At("delete " + folder + "api.dll"), At("delete " + folder + "corvanecom.dll"));
    EXPECT_LT(At("rmdir " + folder + "php\\"), At("engine uninstall"));
    EXPECT_LT(At("engine uninstall"), At("delete " + folder + "avast\\setup\\setiface.dll"));
    EXPECT_EQ(machine.libraries.LoadedCount(folder + "avast\\setup\\setiface.dll"), 0);
    EXPECT_EQ(machine.libraries.CurrentFolder(), current) << "restored after the engine's load";
}

TEST_F(UninstallTest, ServiceModeStopsWhatRunsControlFirstAndDeletesEveryService) {
    for (int index : {0, 1, 2, 3}) {
        machine.InstallService(index, ServiceState::kRunning,
                               platform::ServiceStartType::kAutomatic, kFolder);
    }
    machine.InstallService(4, ServiceState::kStopped, platform::ServiceStartType::kAutomatic,
                           kFolder);
    ASSERT_TRUE(Make().RunUninstall());

    std::vector<std::string> stopped;
    for (const auto& [name, access] : machine.services.Openings()) {
        if (access == (platform::service_access::kStop | platform::service_access::kQueryStatus)) {
            stopped.push_back(name);
        }
    }
    EXPECT_EQ(stopped,
              (std::vector<std::string>{"TolvaControl", "TolvaSMTP", "TolvaPOP3", "TolvaIM"}))
        << "the stopped groupware service is not stopped again";
    for (const char* service :
         {"TolvaSMTP", "TolvaPOP3", "TolvaControl", "TolvaIM", "TolvaCalendar"}) {
        EXPECT_FALSE(machine.services.Exists(service)) << service;
    }
    EXPECT_GE(window.pendingRuns, 1);
    EXPECT_NE(std::find(machine.system.Sleeps().begin(), machine.system.Sleeps().end(), 1500u),
              machine.system.Sleeps().end());
}

TEST_F(UninstallTest, ApplicationModeClosesTheWindowsAndDeletesNoService) {
    machine.system.SetPlatformId(platform::PlatformId::kWindows9x);
    machine.InstallService(0, ServiceState::kStopped, platform::ServiceStartType::kAutomatic,
                           kFolder);
    const platform::WindowHandle control = machine.OpenProgram(2);
    const platform::WindowHandle smtp = machine.OpenProgram(0);
    ASSERT_TRUE(Make().RunUninstall());
    EXPECT_EQ(machine.windows.Find("TControlForm", "Control"), 0u);
    EXPECT_EQ(machine.windows.Find("TSMTPForm", "SMTP"), 0u);
    EXPECT_NE(control, smtp);
    EXPECT_TRUE(machine.services.Exists("TolvaSMTP"));
}

TEST_F(UninstallTest, FoldersThatAreNoInstallationAreRefused) {
    const std::string programFiles64 = "C:\\Program Files (x86)\\";
    ASSERT_TRUE(machine.registry
                    .WriteString({RegistryRoot::kLocalMachine, platform::RegistryView::k64Bit},
                                 "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
                                 "C:\\Program Files (x86)")
                    .ok());
    for (const std::string& folder :
         {std::string("C:\\"), std::string("c:\\windows\\"), std::string("C:\\Program Files\\"),
          programFiles64, std::string("\\\\server\\share\\"), std::string()}) {
        RecordingWindow refusal;
        EXPECT_FALSE(Make(folder, refusal).RunUninstall()) << folder;
        ASSERT_EQ(refusal.boxes.size(), 1u) << folder;
        EXPECT_EQ(refusal.boxes[0].caption, u"Error");
        EXPECT_NE(refusal.boxes[0].text.find(machine.system.AnsiToWide(folder) + u" is not"),
                  std::u16string::npos)
            << folder;
    }
    EXPECT_TRUE(happened.empty());
    EXPECT_TRUE(KeyExists(kUninstallKey));
    EXPECT_TRUE(KeyExists(kProductKey));
    EXPECT_TRUE(machine.files.FileExists(kDesktopLink));
    EXPECT_TRUE(machine.fake.Shell().Opened().empty());
}

TEST_F(UninstallTest, GroupMadeInTheShellsAllUsersFolderGoesToo) {
    // As under 64-bit Wine, whose 32-bit registry view has no all-users Programs value.
    ASSERT_TRUE(machine.registry
                    .RemoveValue(RegistryRoot::kLocalMachine,
                                 std::string(kShellFoldersArea) + "\\" + kShellFoldersSection,
                                 "Common Programs")
                    .ok());
    const std::string group =
        machine.platform.shell->FolderPath(platform::SpecialFolder::kCommonPrograms) +
        "Corvane Tolva Mail Server\\";
    ASSERT_TRUE(machine.files.CreateFolders(group).ok());
    ASSERT_TRUE(machine.files.WriteWholeFile(group + "WebAdmin.lnk", "link").ok());
    ASSERT_TRUE(Make().RunUninstall());
    EXPECT_FALSE(machine.files.FolderExists(group));
}

// Only the installation the machine records is uninstalled from: from any other folder the run
// changes nothing, though the folder looks like an installation.
TEST_F(UninstallTest, OnlyTheRecordedInstallationIsUninstalled) {
    const std::string downloads = "C:\\Users\\Tester\\Downloads\\";
    for (const std::string& path :
         {downloads + "setup.exe", downloads + "doc\\readme.txt", downloads + "html\\index.html",
          downloads + "config\\settings.cfg"}) {
        ASSERT_TRUE(machine.files.CreateFolders(path.substr(0, path.rfind('\\'))).ok());
        ASSERT_TRUE(machine.files.WriteWholeFile(path, "x").ok());
    }
    ASSERT_TRUE(machine.files.CreateFolders("C:\\Empty\\").ok());
    machine.InstallService(0, ServiceState::kRunning, platform::ServiceStartType::kAutomatic,
                           kFolder);
    const struct {
        const char* installDir;  // the product key's InstallDir; none: no product key
        std::string setupFolder;
        bool uninstalled;
    } cases[] = {
        {"C:\\Program Files\\Tolva\\", downloads, false},
        {nullptr, "C:\\Empty\\", false},
        {"c:\\program files\\TOLVA", kFolder, true},
        {"C:\\Program Files\\Tolva\\..\\Tolva\\", kFolder, true},
        {nullptr, downloads, true},
    };
    for (const auto& c : cases) {
        (void)machine.registry.RemoveKeyTree(RegistryRoot::kLocalMachine, kProductKey);
        if (c.installDir != nullptr) {
            ASSERT_TRUE(machine.registry
                            .WriteString(RegistryRoot::kLocalMachine, kProductKey, "InstallDir",
                                         c.installDir)
                            .ok());
        }
        happened.clear();
        RecordingWindow boxes;
        EXPECT_EQ(Make(c.setupFolder, boxes).RunUninstall(), c.uninstalled) << c.setupFolder;
        if (c.uninstalled) {
            continue;
        }
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, u"The folder " + machine.system.AnsiToWide(c.setupFolder) +
                                           u" is not an installation folder. Nothing was removed.");
        EXPECT_TRUE(happened.empty()) << happened.front();
        EXPECT_TRUE(machine.services.Exists("TolvaSMTP"));
        EXPECT_TRUE(KeyExists(kUninstallKey));
        EXPECT_TRUE(machine.files.FileExists(c.setupFolder + "setup.exe") ||
                    c.setupFolder == "C:\\Empty\\");
    }
    EXPECT_FALSE(machine.files.FolderExists(downloads + "doc\\")) << "the last case ran";
}

}  // namespace
}  // namespace tolva::winsys
