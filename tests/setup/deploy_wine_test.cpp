// The demo distribution deployed for real under Wine, without the main window: the archive the
// distribution leaves out is fetched from the loopback module catalogue (started by
// with-module-catalogue) into the extraction folder, setup.dat is extracted beside it, and the
// full deployment fills a fresh installation folder; a second run over it is an upgrade.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "archive/delete_folder_tree.h"
#include "archive/extract_archive.h"
#include "deployment_doubles.h"
#include "net/module_download.h"
#include "platform/fake/fake_dialogs.h"
#include "platform/win32/win32_platform.h"
#include "setup/deployment.h"

namespace tolva::setup {
namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

class NoWindow : public net::DownloadWindow {
public:
    std::u16string PageCaption() const override { return caption_; }
    void SetPageCaption(std::u16string_view caption) override { caption_ = caption; }
    void SetProgressText(std::u16string_view) override {}
    int ProgressMax() const override { return max_; }
    void SetProgressMax(int maximum) override { max_ = maximum; }
    void StepProgress() override {}
    void SetProgressPosition(int) override {}
    void Repaint() override {}

private:
    std::u16string caption_;
    int max_ = 12;
};

class DeployWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        catalogue_ = Env("TOLVA_MODULE_CATALOGUE_URL");
        const std::string dist = Env("TOLVA_DIST");
        ASSERT_FALSE(catalogue_.empty() || dist.empty()) << "run through with-module-catalogue";
        services_ = platform_.Services();
        // A copy that fails must not wait for a user: it is cancelled, and the test sees why.
        dialogs_.SetDefaultAnswer(platform::DialogResult::kCancel);
        services_.dialogs = &dialogs_;
        files_ = services_.files;

        state_.SetupFolder = dist;
        state_.SetupProgram = "setup.exe";
        state_.InstallDir = "C:\\Deploy Test\\Tolva Mail Server\\";
        state_.ExtractDir = services_.system->TempFolder() + "tolvainstall-deploy\\";
        state_.LogDir = state_.InstallDir + "logs\\";
        state_.InfoXmlFile = dist + "info.xml";
        state_.LicenseFile = dist + "license.txt";
        state_.ReadmeFile = dist + "readme.txt";
        state_.Selected.fill(true);
        archive::DeleteFolderTree(*files_, "C:\\Deploy Test\\");
        archive::DeleteFolderTree(*files_, state_.ExtractDir);
        const std::string lacking = ProgramsSetupDatLacks();
        if (!lacking.empty()) {
            GTEST_SKIP() << "setup.dat of the demo distribution lacks the stand-ins" << lacking;
        }
    }

    // The program files that setup.dat does not carry (while their stand-ins are not built).
    std::string ProgramsSetupDatLacks() {
        const std::string scratch = services_.system->TempFolder() + "tolva-dist-check\\";
        int resultCode = 0;
        (void)archive::ExtractArchive(*files_, state_.SetupFolder + "setup.dat", scratch,
                                      resultCode, true, "", "", "");
        std::vector<std::string_view> programs(kCoreProgramFiles.begin(), kCoreProgramFiles.end());
        programs.insert(programs.end(), {kInstantMessagingProgram, kGroupWareProgram});
        std::string lacking;
        for (std::string_view program : programs) {
            if (!files_->FileExists(scratch + std::string(program))) {
                lacking += " " + std::string(program);
            }
        }
        archive::DeleteFolderTree(*files_, scratch);
        return lacking;
    }

    void TearDown() override {
        archive::DeleteFolderTree(*files_, "C:\\Deploy Test\\");
        archive::DeleteFolderTree(*files_, state_.ExtractDir);
    }

    // What the install sequence does around the deployment: fetch what is missing, extract
    // setup.dat, deploy.
    void Install() {
        std::vector<std::string> missing;
        for (const TModuleItem& row : kPackageTable) {
            for (const TPackageItem& package : GetPackages(row.Key)) {
                if (!files_->FileExists(state_.SetupFolder + package.FileName)) {
                    missing.push_back(package.FileName);
                }
            }
        }
        EXPECT_EQ(missing, std::vector<std::string>{"setupwizard.dat"});
        // The install sequence makes the extraction folder fresh before anything goes into it.
        ASSERT_TRUE(files_->CreateFolders(state_.ExtractDir));
        if (!missing.empty()) {
            net::HttpClient http(services_);
            NoWindow window;
            net::ModuleDownloader downloader(http, *files_, *services_.system, window, abort_);
            ASSERT_TRUE(downloader.DownloadModules(catalogue_, state_.ExtractDir, missing))
                << (events_.empty() ? "" : events_.back());
        }
        int resultCode = 0;
        ASSERT_TRUE(archive::ExtractArchive(*files_, state_.SetupFolder + "setup.dat",
                                            state_.ExtractDir, resultCode, true, "", "", ""));
        Deployment deployment(services_, state_, log_, abort_, progress_, processEnd_, calls_);
        ASSERT_TRUE(deployment.DeployFiles(false));
        for (const std::string& event : events_) {
            EXPECT_NE(event.rfind("abort", 0), 0u) << event;
            EXPECT_NE(event.rfind("end", 0), 0u) << event;
        }
        for (const std::string& line : log_.lines) {
            ADD_FAILURE() << line;
        }
        // As the install sequence does once the files are in place.
        archive::DeleteFolderTree(*files_, state_.ExtractDir);
    }

    std::string Installed(const std::string& name) const {
        std::string content;
        return files_->ReadWholeFile(state_.InstallDir + name, content) ? content : "(missing)";
    }
    bool Has(const std::string& name) const { return files_->FileExists(state_.InstallDir + name); }

    platform::Win32Platform platform_;
    platform::FakeDialogs dialogs_;
    platform::Platform services_;
    platform::FileSystem* files_ = nullptr;
    std::string catalogue_;
    DeploymentState state_;
    test::Events events_;
    test::RecordingLog log_;
    test::RecordingProgress progress_{events_};
    test::RecordingEnd processEnd_{events_};
    test::RecordingAbort abort_{events_};
    test::RecordingCalls calls_{events_, *platform_.Services().files};
};

TEST_F(DeployWineTest, NewInstallationThenUpgrade) {
    Install();
    for (std::string_view program : kCoreProgramFiles) {
        EXPECT_TRUE(Has(std::string(program))) << program;
    }
    for (const char* name : {"corvanecom.dll",
                             "im.exe",
                             "cal.exe",
                             "setup.exe",
                             "control.exe.local",
                             "config\\cert.pem",
                             "xml\\info.xml",
                             "xml\\advanced.xml",
                             "doc\\index.html",
                             "doc\\readme.txt",
                             "doc\\license.txt",
                             "doc\\releasenotes.txt",
                             "html\\index.html",
                             "modules\\modules.txt",
                             "api\\api.txt",
                             "examples\\create_account.vbs",
                             "calendar\\calendar.xml",
                             "calendar\\groupware.db",
                             "spam\\antispam.db",
                             "spam\\rules\\local.cf",
                             "spam\\template\\report.txt",
                             "ldap\\create.bat",
                             "wizards\\domain.html",
                             "aspell\\bin\\aspell-15.dll",
                             "webmail\\index.php"}) {
        EXPECT_TRUE(Has(name)) << name;
    }
    const std::string webServer = Installed("config\\webserver.dat");
    EXPECT_NE(webServer.find("<ROOT>C:\\Deploy Test\\Tolva Mail Server\\html\\</ROOT>\r\n"),
              std::string::npos)
        << webServer;
    EXPECT_EQ(webServer.find("%%"), std::string::npos) << webServer;

    // The administrator configures the server; then the same distribution is installed again.
    const std::string certificate = "administrator's certificate";
    ASSERT_TRUE(files_->WriteWholeFile(state_.InstallDir + "config\\cert.pem", certificate));
    ASSERT_TRUE(files_->WriteWholeFile(state_.InstallDir + "config\\webserver.dat", "own"));
    ASSERT_TRUE(files_->WriteWholeFile(state_.InstallDir + "spam\\rules\\local.cf", "mine"));
    ASSERT_TRUE(files_->WriteWholeFile(state_.InstallDir + "spam\\rules\\5_retired.cf", "old"));
    ASSERT_TRUE(files_->WriteWholeFile(state_.InstallDir + "smtp.exe", "old program"));
    state_.IsUpgrade = true;
    state_.OldVersion = "9.0.5";
    events_.clear();
    Install();
    EXPECT_EQ(Installed("config\\cert.pem"), certificate);
    EXPECT_EQ(Installed("config\\webserver.dat"), "own");
    EXPECT_EQ(Installed("spam\\rules\\local.cf"), "mine");
    EXPECT_FALSE(Has("spam\\rules\\5_retired.cf"));
    EXPECT_NE(Installed("smtp.exe"), "old program");
}

}  // namespace
}  // namespace tolva::setup
