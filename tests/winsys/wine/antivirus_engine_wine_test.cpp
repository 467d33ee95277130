// The engine library loader against the stand-in setiface.dll, through the real Win32 calls.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "archive/delete_folder_tree.h"
#include "platform/win32/win32_platform.h"
#include "winsys/antivirus_engine_library.h"

namespace tolva::winsys {
namespace {

constexpr char kRoot[] = "C:\\avtest\\";
constexpr char kPackage[] = "C:\\avtest\\package\\";
constexpr char kEngine[] = "C:\\avtest\\engine\\";
constexpr char kEngineSetup[] = "C:\\avtest\\engine\\setup\\";

// Where the build left the stand-in, as Wine's drive Z: shows it.
std::string StandinPath() {
    std::string path = "Z:" TOLVA_SETIFACE_DLL;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

class AntivirusEngineLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        archive::DeleteFolderTree(files_, kRoot);
        ASSERT_TRUE(files_.CreateFolders(kPackage));
        ASSERT_TRUE(files_.CopyOver(StandinPath(), std::string(kPackage) + "setiface.dll"));
        ASSERT_TRUE(files_.WriteWholeFile(std::string(kPackage) + "avastoem.exe", "installer"));
        ASSERT_TRUE(files_.WriteWholeFile(std::string(kPackage) + "engine.def", "definitions"));
        ASSERT_TRUE(libraries_.SetCurrentFolder(kRoot));
    }

    void TearDown() override {
        ASSERT_TRUE(libraries_.SetCurrentFolder("C:\\"));
        archive::DeleteFolderTree(files_, kRoot);
    }

    // What the library in folder logged since the last look.
    std::string NewLogLines(const std::string& folder) {
        std::string log;
        (void)files_.ReadWholeFile(folder + "setiface.log", log);
        const size_t seen = std::min(log.size(), seen_[folder]);
        seen_[folder] = log.size();
        return log.substr(seen);
    }

    platform::Win32Platform platform_;
    platform::FileSystem& files_ = *platform_.Services().files;
    platform::Libraries& libraries_ = *platform_.Services().libraries;
    AntivirusEngineLibrary engine_{libraries_};
    std::map<std::string, size_t> seen_;
};

TEST_F(AntivirusEngineLibraryTest, InstallUpdateAndUninstallWithTheirArguments) {
    ASSERT_TRUE(engine_.Load(kPackage));
    EXPECT_EQ(libraries_.CurrentFolder(), kRoot);
    EXPECT_NE(NewLogLines(kPackage).find(" load cwd=C:\\avtest\\package"), std::string::npos);

    EXPECT_TRUE(engine_.InstallProgram("C:\\avtest\\engine"));
    EXPECT_EQ(libraries_.CurrentFolder(), kRoot);
    EXPECT_NE(NewLogLines(kPackage).find(
                  " setifaceInstallProgram partner=\"Corvane\" "
                  "setup=\"C:\\avtest\\package\\avastoem.exe\" target=\"C:\\avtest\\engine\" "
                  "options=\"/minicore /noreboot /forceinstall\" mode=2 cwd=C:\\avtest\\package"),
              std::string::npos);
    EXPECT_TRUE(files_.FileExists(std::string(kEngine) + "avastoem.exe"));
    EXPECT_TRUE(files_.FileExists(std::string(kEngine) + "engine.def"));
    EXPECT_TRUE(files_.FileExists(std::string(kEngineSetup) + "setiface.dll"));
    engine_.Unload();
    EXPECT_NE(NewLogLines(kPackage).find(" unload"), std::string::npos);

    ASSERT_TRUE(engine_.Load(kEngineSetup));
    EXPECT_TRUE(engine_.UpdateFiles());
    EXPECT_NE(NewLogLines(kEngineSetup)
                  .find(" setifaceUpdateFiles partner=\"Corvane\" options=\"/overwrite\" mode=2 "
                        "cwd=C:\\avtest\r\n"),
              std::string::npos);

    // The uninstall runs with the engine's folder not current, so that it can be removed.
    EXPECT_TRUE(engine_.UninstallProgram());
    EXPECT_NE(NewLogLines(kEngineSetup)
                  .find(" setifaceUninstallProgram partner=\"Corvane\" options=(null) mode=2 "
                        "cwd=C:\\avtest\r\n"),
              std::string::npos);
    EXPECT_FALSE(files_.FileExists(std::string(kEngine) + "avastoem.exe"));
    EXPECT_FALSE(files_.FileExists(std::string(kEngine) + "engine.def"));
    engine_.Unload();
    EXPECT_FALSE(engine_.Loaded());
}

TEST_F(AntivirusEngineLibraryTest, FailedCallsAndAMissingLibrary) {
    ASSERT_TRUE(files_.WriteWholeFile(std::string(kPackage) + "setiface.ini",
                                      "[setifaceInstallProgram]\r\nResult=5\r\n"
                                      "[setifaceUpdateFiles]\r\nResult=0\r\n"
                                      "[setifaceUninstallProgram]\r\nStatus=1\r\n"));
    ASSERT_TRUE(engine_.Load(kPackage));
    EXPECT_FALSE(engine_.InstallProgram("C:\\avtest\\engine"));
    EXPECT_FALSE(files_.FolderExists(kEngine));
    // Both report no error, but the engine did not report the work done.
    EXPECT_FALSE(engine_.UpdateFiles());
    EXPECT_FALSE(engine_.UninstallProgram());
    engine_.Unload();

    EXPECT_FALSE(engine_.Load("C:\\avtest\\none\\"));
    EXPECT_EQ(libraries_.CurrentFolder(), kRoot);
    EXPECT_FALSE(engine_.Loaded());
    EXPECT_FALSE(engine_.InstallProgram("C:\\avtest\\engine"));
    EXPECT_FALSE(engine_.UninstallProgram());
}

}  // namespace
}  // namespace tolva::winsys
