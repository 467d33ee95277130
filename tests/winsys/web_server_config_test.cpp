#include "winsys/web_server_config.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fake/fake_system.h"
#include "platform/fake/faulty_file_system.h"
#include "platform/fake/memory_file_system.h"
#include "util/xml_object.h"
#include "winsys/web_handler_edits.h"

namespace tolva::winsys {
namespace {

constexpr char kConfig[] = "C:\\Tolva\\config\\";
constexpr char kDat[] = "C:\\Tolva\\config\\webserver.dat";

// Handler entries whose modules carry a ")" of their own, elements the installer does not model,
// inside and outside the lists, and a second host.
constexpr char kServerConfig[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<!-- written by the web server -->\r\n"
    "<WEB>\r\n"
    "  <OPTIONS><THREADS>8</THREADS><LOG enabled=\"1\">web.log</LOG></OPTIONS>\r\n"
    "  <HOST>\r\n"
    "    <HOSTNAME>mail.example</HOSTNAME>\r\n"
    "    <EXTENSIONS>\r\n"
    "      <ITEM><EXT>.PHP</EXT><MODULE>(FastCGI)C:\\Program Files (x86)\\PHP\\php-cgi.exe"
    "</MODULE><TITLE>PHP,Hypertext &amp; more</TITLE><FLAGS>3</FLAGS></ITEM>\r\n"
    "      <ITEM><EXT>.pl</EXT><MODULE>C:\\Perl (64)\\perl.exe</MODULE><TITLE/></ITEM>\r\n"
    "      <DEFAULTMODULE>none</DEFAULTMODULE>\r\n"
    "    </EXTENSIONS>\r\n"
    "    <MIME><ITEM><EXT>.svg</EXT><TYPE>image/svg+xml</TYPE></ITEM></MIME>\r\n"
    "    <SPECIAL>\r\n"
    "      <ITEM><TITLE>/mail/</TITLE><MODULE>[mail]</MODULE>"
    "<SCRIPT>html\\mail\\index.html</SCRIPT></ITEM>\r\n"
    "    </SPECIAL>\r\n"
    "    <ACCESS><DENY ip=\"192.0.2.1\"/></ACCESS>\r\n"
    "  </HOST>\r\n"
    "  <HOST><HOSTNAME>second.example</HOSTNAME></HOST>\r\n"
    "</WEB>\r\n";

class WebServerConfigTest : public ::testing::Test {
protected:
    // The document as the XML toolkit writes it back: the form a saved file takes.
    std::string Canonical(const std::string& xml) const {
        util::TXMLObject document(system_);
        document.ParseXML(xml);
        return document.ToXML(true, true);
    }

    std::string Replaced(std::string text, const std::string& from, const std::string& to) {
        const size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    }

    platform::FakeSystem system_;
    platform::MemoryFileSystem files_;
    WebHandlerEdits edits_{files_, system_};
};

TEST_F(WebServerConfigTest, LoadsHandlersAndPathsOfEveryHost) {
    files_.files[kDat] = kServerConfig;
    WebServerConfig config;
    ASSERT_TRUE(LoadWebServerConfig(files_, system_, kConfig, config));

    ASSERT_EQ(config.hosts.size(), 2u);
    const WebHost& host = config.hosts[0];
    ASSERT_EQ(host.handlers.size(), 2u);
    EXPECT_EQ(host.handlers[0].extension, ".php");
    EXPECT_EQ(host.handlers[0].module, "c:\\program files (x86)\\php\\php-cgi.exe");
    EXPECT_EQ(host.handlers[0].type, HandlerType::kFastCgi);
    EXPECT_EQ(host.handlers[0].title, "php");
    EXPECT_EQ(host.handlers[0].extraTitle, "hypertext & more");
    // A ")" that is not a type marker at the start belongs to the path.
    EXPECT_EQ(host.handlers[1].module, "c:\\perl (64)\\perl.exe");
    EXPECT_EQ(host.handlers[1].type, HandlerType::kCgi);
    ASSERT_EQ(host.specialPaths.size(), 1u);
    EXPECT_EQ(host.specialPaths[0].path, "mail\\");
    EXPECT_EQ(host.specialPaths[0].module, "[mail]");
    EXPECT_EQ(host.specialPaths[0].script, "html\\mail\\index.html");
    EXPECT_TRUE(config.hosts[1].handlers.empty());
}

TEST_F(WebServerConfigTest, ModuleTypeMarkers) {
    const struct {
        std::string moduleText;
        HandlerType type;
        std::string module;
    } cases[] = {
        {"(isapi)filter.exe", HandlerType::kIsapi, "filter.exe"},
        {"(CGI)php\\php.dll", HandlerType::kCgi, "php\\php.dll"},
        {"(fastcgi)php-cgi.exe", HandlerType::kFastCgi, "php-cgi.exe"},
        {"(Ssi)", HandlerType::kSsi, ""},
        {"php\\PHP.DLL", HandlerType::kIsapi, "php\\php.dll"},
        {"perl.exe", HandlerType::kCgi, "perl.exe"},
        {"(other)web.dll", HandlerType::kIsapi, "(other)web.dll"},
        {"C:\\Apps (old)\\cgi.exe", HandlerType::kCgi, "c:\\apps (old)\\cgi.exe"},
    };
    for (const auto& c : cases) {
        const HandlerEntry entry = MakeHandlerEntry(".x", c.moduleText, "t");
        EXPECT_EQ(entry.type, c.type) << c.moduleText;
        EXPECT_EQ(entry.module, c.module) << c.moduleText;
    }
}

TEST_F(WebServerConfigTest, SavedEntriesReadBackTheSame) {
    WebServerConfig config;
    config.hosts.emplace_back();
    const struct {
        HandlerType type;
        std::string module;
        std::string written;
    } cases[] = {
        {HandlerType::kIsapi, "php\\php.dll", "php\\php.dll"},
        {HandlerType::kIsapi, "filter.exe", "(isapi)filter.exe"},
        {HandlerType::kCgi, "wrapper.dll", "(cgi)wrapper.dll"},
        {HandlerType::kFastCgi, "php-cgi.exe", "(fastcgi)php-cgi.exe"},
        {HandlerType::kSsi, "ssi.exe", "(ssi)ssi.exe"},
    };
    for (const auto& c : cases) {
        config.hosts[0].handlers.push_back({".x", c.module, c.type, "[t]", ""});
    }
    config.hosts[0].specialPaths.push_back({"dav\\files\\", "[dav]", "dav\\index.html"});
    ASSERT_TRUE(SaveWebServerConfig(files_, system_, kConfig, config));

    util::TXMLObject document(system_);
    document.ParseXML(files_.files[kDat]);
    const util::TXMLObject* list =
        document.FindChild("WEB")->FindChild("HOST")->FindChild("EXTENSIONS");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Children.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(list->Children[i]->GetChildText("MODULE", util::xcFull), cases[i].written);
    }
    EXPECT_EQ(document.FindChild("WEB")
                  ->FindChild("HOST")
                  ->FindChild("SPECIAL")
                  ->Children[0]
                  ->GetChildText("TITLE", util::xcFull),
              "/dav/files/");

    WebServerConfig reread;
    ASSERT_TRUE(LoadWebServerConfig(files_, system_, kConfig, reread));
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(reread.hosts[0].handlers[i].type, cases[i].type) << cases[i].written;
        EXPECT_EQ(reread.hosts[0].handlers[i].module, cases[i].module) << cases[i].written;
    }
    EXPECT_EQ(reread.hosts[0].specialPaths[0].path, "dav\\files\\");
}

TEST_F(WebServerConfigTest, SavingKeepsWhatWasNotChanged) {
    files_.files[kDat] = kServerConfig;
    WebServerConfig config;
    ASSERT_TRUE(LoadWebServerConfig(files_, system_, kConfig, config));
    ASSERT_TRUE(SaveWebServerConfig(files_, system_, kConfig, config));
    // Unchanged entries keep their spelling and their unknown children.
    EXPECT_EQ(files_.files[kDat], Canonical(kServerConfig));
}

TEST_F(WebServerConfigTest, WebDavHandlerGoesToTheDefaultHostOnce) {
    files_.files[kDat] = kServerConfig;
    ASSERT_TRUE(edits_.AddWebDavHandler(kConfig));

    std::string expected = Replaced(
        kServerConfig, "<DEFAULTMODULE>",
        "<ITEM><EXT/><MODULE>php\\php.dll</MODULE><TITLE>[webdav]</TITLE></ITEM><DEFAULTMODULE>");
    expected = Replaced(expected, "</SPECIAL>",
                        "<ITEM><TITLE>/webdav/</TITLE><MODULE>[webdav]</MODULE>"
                        "<SCRIPT>webdav\\index.html</SCRIPT></ITEM></SPECIAL>");
    EXPECT_EQ(files_.files[kDat], Canonical(expected));

    const std::string saved = files_.files[kDat];
    EXPECT_FALSE(edits_.AddWebDavHandler(kConfig));
    EXPECT_EQ(files_.files[kDat], saved);
}

TEST_F(WebServerConfigTest, PhpHandlerOnlyWhenNoHandlerServesPhp) {
    // ".PHP" in the file is found through the lower-cased extension; nothing is saved.
    files_.files[kDat] = kServerConfig;
    EXPECT_FALSE(edits_.AddPhpHandler(kConfig));
    EXPECT_EQ(files_.files[kDat], kServerConfig);

    // A host without lists gets its handler list.
    files_.files[kDat] = "<WEB><OPTIONS/><HOST><HOSTNAME>h</HOSTNAME></HOST></WEB>";
    EXPECT_TRUE(edits_.AddPhpHandler(kConfig));
    EXPECT_EQ(files_.files[kDat],
              Canonical("<WEB><OPTIONS/><HOST><HOSTNAME>h</HOSTNAME><EXTENSIONS><ITEM><EXT>.php"
                        "</EXT><MODULE>php\\php.dll</MODULE><TITLE/></ITEM></EXTENSIONS></HOST>"
                        "</WEB>"));
}

TEST_F(WebServerConfigTest, ConfigurationWithoutHostIsLeftAlone) {
    const struct {
        const char* name;
        const char* content;  // null: no file
    } cases[] = {
        {"no file", nullptr},
        {"empty file", ""},
        {"no host", "<WEB><OPTIONS><THREADS>8</THREADS></OPTIONS></WEB>"},
        {"not the web server's document", "<SETTINGS><HOST/></SETTINGS>"},
    };
    for (const auto& c : cases) {
        files_.files.clear();
        if (c.content != nullptr) {
            files_.files[kDat] = c.content;
        }
        WebServerConfig config;
        EXPECT_FALSE(LoadWebServerConfig(files_, system_, kConfig, config)) << c.name;
        EXPECT_EQ(config.hosts.size(), 1u) << c.name;
        EXPECT_FALSE(edits_.AddWebDavHandler(kConfig)) << c.name;
        EXPECT_FALSE(edits_.AddPhpHandler(kConfig)) << c.name;
        EXPECT_EQ(files_.files.count(kDat), c.content == nullptr ? 0u : 1u) << c.name;
        if (c.content != nullptr) {
            EXPECT_EQ(files_.files[kDat], c.content) << c.name;
        }
    }

    files_.files[kDat] = kServerConfig;
    platform::FaultyFileSystem unreadable(files_);
    unreadable.Inject(platform::FileOperation::kReadWholeFile).OnPathsEndingIn("webserver.dat");
    WebHandlerEdits edits(unreadable, system_);
    EXPECT_FALSE(edits.AddWebDavHandler(kConfig));
    EXPECT_EQ(files_.files[kDat], kServerConfig);
}

TEST_F(WebServerConfigTest, RemovedEntriesAndHostsLeaveTheDocument) {
    files_.files[kDat] = kServerConfig;
    WebServerConfig config;
    ASSERT_TRUE(LoadWebServerConfig(files_, system_, kConfig, config));
    config.hosts[0].handlers.erase(config.hosts[0].handlers.begin());
    config.hosts[0].specialPaths.clear();
    config.hosts.pop_back();
    ASSERT_TRUE(SaveWebServerConfig(files_, system_, kConfig, config));

    const std::string expected =
        "<WEB><OPTIONS><THREADS>8</THREADS><LOG enabled=\"1\">web.log</LOG></OPTIONS>"
        "<HOST><HOSTNAME>mail.example</HOSTNAME><EXTENSIONS>"
        "<ITEM><EXT>.pl</EXT><MODULE>C:\\Perl (64)\\perl.exe</MODULE><TITLE/></ITEM>"
        "<DEFAULTMODULE>none</DEFAULTMODULE></EXTENSIONS><MIME><ITEM><EXT>.svg</EXT><TYPE>image/"
        "svg+xml</TYPE></ITEM></MIME>"
        "<ACCESS><DENY ip=\"192.0.2.1\"/></ACCESS></HOST></WEB>";
    EXPECT_EQ(files_.files[kDat], Canonical(expected));
}

}  // namespace
}  // namespace tolva::winsys
