#include "winsys/legacy_web_server_config.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fake/fake_system.h"
#include "platform/fake/faulty_file_system.h"
#include "platform/fake/memory_file_system.h"

namespace tolva::winsys {
namespace {

constexpr char kConfig[] = "C:\\Tolva\\config\\";
constexpr char kCfg[] = "C:\\Tolva\\config\\webserver.cfg";
constexpr char kDat[] = "C:\\Tolva\\config\\webserver.dat";

TEST(PatchLegacyWebServerConfig, AddsTheHandlerAndItsPath) {
    const struct {
        const char* name;
        std::string before;
        std::string after;
    } cases[] = {
        {"both sections",
         "[General]\r\nPort=80\r\n\r\n[Filter]\r\n.php=php\\php.dll|[php]\r\n.pl=perl.exe|[perl]"
         "\r\n\r\n[Virtual-Host]\r\n/mail/=[mail]\r\n\r\n",
         "[General]\r\nPort=80\r\n\r\n[Filter]\r\n.php=php\\php.dll|[php]\r\n.pl=perl.exe|[perl]"
         "\r\n=modules\\wcs.dll|[wcs]\r\n\r\n[Virtual-Host]\r\n/wcs/=[wcs]\r\n/mail/"
         "=[mail]\r\n\r\n"},
        {"neither section", "[General]\r\nPort=80\r\n",
         "[General]\r\nPort=80\r\n\r\n[Filter]\r\n=modules\\wcs.dll|[wcs]\r\n\r\n[Virtual-Host]\r\n"
         "/wcs/=[wcs]\r\n"},
        {"headers in any case, no virtual hosts", "[filter]\r\n.x=a.dll|[a]\r\n\r\n",
         "[filter]\r\n.x=a.dll|[a]\r\n=modules\\wcs.dll|[wcs]\r\n\r\n[Virtual-Host]\r\n"
         "/wcs/=[wcs]\r\n"},
        {"filter section last, without line end",
         "[Virtual-Host]\r\n/a/=[a]\r\n\r\n[Filter]\r\n.x=a.dll|[a]",
         "[Virtual-Host]\r\n/wcs/=[wcs]\r\n/a/=[a]\r\n\r\n[Filter]\r\n.x=a.dll|[a]\r\n"
         "=modules\\wcs.dll|[wcs]\r\n"},
        {"virtual host header last, without line end",
         "[Filter]\r\n.x=a.dll|[a]\r\n\r\n[Virtual-Host]",
         "[Filter]\r\n.x=a.dll|[a]\r\n=modules\\wcs.dll|[wcs]\r\n\r\n[Virtual-Host]\r\n"
         "/wcs/=[wcs]\r\n"},
        {"handler there already: only the old web module is replaced",
         "[Filter]\r\n=modules\\wcs.dll|[wcs]\r\n.html=webmail\\web.dll|[web]\r\n.htm=webmail\\web."
         "dll"
         "\r\n\r\n",
         "[Filter]\r\n=modules\\wcs.dll|[wcs]\r\n.html=php\\php.dll|[web]\r\n.htm=php\\php.dll\r\n"
         "\r\n"},
    };
    for (const auto& c : cases) {
        platform::MemoryFileSystem files;
        files.files[kCfg] = c.before;
        PatchLegacyWebServerConfig(files, kConfig);
        EXPECT_EQ(files.files[kCfg], c.after) << c.name;
        EXPECT_EQ(files.files.size(), 1u) << c.name;
    }
}

TEST(PatchLegacyWebServerConfig, MissingOrUnreadableFileIsLeftAlone) {
    platform::MemoryFileSystem files;
    PatchLegacyWebServerConfig(files, kConfig);
    EXPECT_TRUE(files.files.empty());

    files.files[kCfg] = "[General]\r\nPort=80\r\n";
    platform::FaultyFileSystem unreadable(files);
    unreadable.Inject(platform::FileOperation::kReadWholeFile);
    PatchLegacyWebServerConfig(unreadable, kConfig);
    EXPECT_EQ(files.files[kCfg], "[General]\r\nPort=80\r\n");
}

TEST(LegacyWebServerConfigConversion, HandlerListsBecomeTheDefaultHost) {
    const std::string legacy =
        "[General]\r\nPort=80\r\n\r\n[Filter]\r\n.PHP = php\\php.dll | [PHP],Hypertext\r\n"
        "=modules\\wcs.dll|[wcs]\r\n.cgi=(cgi)bin\\run.exe\r\nnot a handler\r\n\r\n"
        "[Virtual-Host]\r\n/wcs/=[wcs]\r\n/webdav/docs/=[webdav]\r\n\r\n[Other]\r\n.y=b|c\r\n";
    platform::FakeSystem system;
    platform::MemoryFileSystem files;
    files.files[kCfg] = legacy;

    WebServerConfig config;
    ASSERT_TRUE(LoadWebServerConfig(files, system, kConfig, config));
    EXPECT_EQ(files.files.count(kCfg), 0u);
    EXPECT_EQ(files.files[std::string(kCfg) + ".old"], legacy);
    EXPECT_EQ(files.files.count(kDat), 1u);

    ASSERT_EQ(config.hosts.size(), 1u);
    const WebHost& host = config.hosts[0];
    ASSERT_EQ(host.handlers.size(), 3u);
    EXPECT_EQ(host.handlers[0].extension, ".php");
    EXPECT_EQ(host.handlers[0].module, "php\\php.dll");
    EXPECT_EQ(host.handlers[0].type, HandlerType::kIsapi);
    EXPECT_EQ(host.handlers[0].title, "[php]");
    EXPECT_EQ(host.handlers[0].extraTitle, "hypertext");
    EXPECT_EQ(host.handlers[1].extension, "");
    EXPECT_EQ(host.handlers[1].title, "[wcs]");
    EXPECT_EQ(host.handlers[2].type, HandlerType::kCgi);
    EXPECT_EQ(host.handlers[2].module, "bin\\run.exe");
    EXPECT_EQ(host.handlers[2].title, "");
    ASSERT_EQ(host.specialPaths.size(), 2u);
    EXPECT_EQ(host.specialPaths[0].path, "wcs\\");
    EXPECT_EQ(host.specialPaths[0].module, "[wcs]");
    EXPECT_EQ(host.specialPaths[1].path, "webdav\\docs\\");
    EXPECT_EQ(host.specialPaths[1].module, "[webdav]");
}

TEST(LegacyWebServerConfigConversion, OldFileStaysUntilTheNewOneIsSaved) {
    platform::FakeSystem system;
    platform::MemoryFileSystem files;
    files.files[kCfg] = "[Filter]\r\n.php=php\\php.dll|[php]\r\n\r\n";
    platform::FaultyFileSystem full(files);
    full.FillTheDisk();

    WebServerConfig config;
    EXPECT_FALSE(LoadWebServerConfig(full, system, kConfig, config));
    EXPECT_EQ(files.files.count(kCfg), 1u);
    EXPECT_EQ(files.files.size(), 1u);

    EXPECT_TRUE(LoadWebServerConfig(files, system, kConfig, config));
    EXPECT_EQ(files.files.count(kCfg), 0u);
}

}  // namespace
}  // namespace tolva::winsys
