// The module download and the version check against a loopback catalogue server, with a window
// that records what it was asked to do.

#include "net/module_download.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "archive/hex.h"
#include "archive/sha256.h"
#include "net/loopback_server.h"
#include "net/test_system.h"
#include "net/version_check.h"
#include "platform/fake/fake_system.h"
#include "platform/fake/faulty_file_system.h"
#include "platform/fake/memory_file_system.h"
#include "platform/host/network_host.h"
#include "util/product.h"
#include "util/text.h"

namespace tolva::net {
namespace {

using tolva::testing::LoopbackReply;
using tolva::testing::LoopbackRequest;
using tolva::testing::LoopbackServer;

std::string Narrow(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        out += static_cast<char>(c);
    }
    return out;
}

class RecordingWindow final : public DownloadWindow {
public:
    std::vector<std::string> calls;
    std::u16string caption = u"Destination";
    int maximum = 7;

    std::u16string PageCaption() const override { return caption; }
    void SetPageCaption(std::u16string_view text) override {
        caption = text;
        calls.push_back("caption " + Narrow(text));
    }
    void SetProgressText(std::u16string_view text) override {
        calls.push_back("text " + Narrow(text));
    }
    int ProgressMax() const override { return maximum; }
    void SetProgressMax(int value) override {
        maximum = value;
        calls.push_back("max " + std::to_string(value));
    }
    void StepProgress() override { calls.push_back("step"); }
    void SetProgressPosition(int value) override {
        calls.push_back("position " + std::to_string(value));
    }
    void Repaint() override { calls.push_back("repaint"); }
};

// Keeps the message and the details of each abort, and returns.
class RecordingAbort final : public util::SetupAbort {
public:
    std::vector<std::pair<std::string, std::string>> aborts;
    void Abort(std::u16string_view message, std::u16string_view details) override {
        aborts.emplace_back(Narrow(message), Narrow(details));
    }
};

// Refuses every connection and remembers where it was asked to go.
class RefusingNetwork final : public platform::Network {
public:
    std::vector<std::string> hosts;
    platform::Status Connect(std::string_view host, uint16_t, uint32_t,
                             std::unique_ptr<platform::Connection>&) override {
        hosts.emplace_back(host);
        return platform::Status::Failure(111, "refused");
    }
    platform::Status StartTls(std::unique_ptr<platform::Connection>, const platform::TlsOptions&,
                              std::unique_ptr<platform::Connection>&) override {
        return platform::Status::Failure(1, "no TLS");
    }
};

std::string Ok(std::string_view body) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" +
           std::string(body);
}

class ModuleDownloadTest : public ::testing::Test {
protected:
    ModuleDownloadTest()
        : server_({}, [this](const LoopbackRequest& request) {
              auto it = routes_.find(request.path);
              return LoopbackReply::Of(it == routes_.end() ? "HTTP/1.1 404 Not Found\r\n\r\n"
                                                           : Ok(it->second));
          }) {}

    std::string Base(std::string_view folder) const {
        return "http://127.0.0.1:" + std::to_string(server_.port()) + "/" + std::string(folder) +
               "/";
    }
    void Catalogue(std::string_view urls, std::string_view version, std::string_view more = "") {
        routes_["/server.xml"] = "<?xml version=\"1.0\"?>\r\n<modules><URL>" + std::string(urls) +
                                 "</URL><VERSION>" + std::string(version) + "</VERSION>" +
                                 std::string(more) + "</modules>";
    }
    bool Run(std::vector<std::string> archives) {
        HttpClient http(network_, faulty_, system_);
        ModuleDownloader downloader(http, faulty_, system_, window_, abort_);
        return downloader.DownloadModules(catalogueUrl_, "C:\\Temp\\tolvainstall\\", archives);
    }
    std::vector<std::string> TempFiles() const {
        std::vector<std::string> names;
        for (const auto& [name, content] : files_.files) {
            if (name.rfind("C:\\Temp\\2026", 0) == 0) {
                names.push_back(name);
            }
        }
        return names;
    }

    std::map<std::string, std::string> routes_;
    LoopbackServer server_;
    platform::host::HostNetwork network_;
    platform::MemoryFileSystem files_;
    platform::FaultyFileSystem faulty_{files_};
    platform::FakeSystem system_ = tolva::testing::TestSystem();
    RecordingWindow window_;
    RecordingAbort abort_;
    std::string catalogueUrl_ =
        "http://127.0.0.1:" + std::to_string(server_.port()) + "/server.xml";
};

TEST_F(ModuleDownloadTest, FetchesArchivesIntoExtractionFolder) {
    Catalogue(Base("dl"), "9.1.*");
    routes_["/dl/setupim.dat"] = "IM archive";
    routes_["/dl/setupav.dat"] = "AV archive";
    EXPECT_TRUE(Run({"setupim.dat", "setupav.dat"}));
    EXPECT_TRUE(abort_.aborts.empty());
    EXPECT_EQ(files_.files["C:\\Temp\\tolvainstall\\setupim.dat"], "IM archive");
    EXPECT_EQ(files_.files["C:\\Temp\\tolvainstall\\setupav.dat"], "AV archive");
    EXPECT_TRUE(TempFiles().empty());
    const std::vector<std::string> expected = {
        "max 4",
        "caption Downloading Files...",
        "text Downloading Files...",
        "repaint",
        "step",
        "repaint",
        "step",
        "repaint",
        "step",
        "repaint",
        "step",
        "repaint",
        "position 0",
        "max 7",
        "caption Destination",
        "repaint",
    };
    EXPECT_EQ(window_.calls, expected);
}

TEST_F(ModuleDownloadTest, VersionPatterns) {
    struct Case {
        const char* pattern;
        bool matches;
    } cases[] = {
        {"9.1.0", true},   {"9.1.*", true},  {"9.?.0", true},  {"*", true},       {"9*0", true},
        {"*.1.*", true},   {"9.2.0", false}, {"9.1", false},   {"9.1.0 ", false}, {"9.1.?", true},
        {"9.1.??", false}, {"", false},      {"9.1.0*", true}, {"*9.1.0", true},  {"8.*", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchesVersionPattern(c.pattern, kSetupVersion), c.matches) << c.pattern;
    }
}

TEST_F(ModuleDownloadTest, AbortsOnOtherVersion) {
    Catalogue(Base("dl"), "9.2.0");
    routes_["/dl/a.dat"] = "A";
    EXPECT_FALSE(Run({"a.dat"}));
    const std::string message =
        "The setup version 9.1.0 does not match the version 9.2.0 of the remote components on the "
        "server. Please, download the latest setup.";
    ASSERT_EQ(abort_.aborts.size(), 1u);
    EXPECT_EQ(abort_.aborts[0].first, message);
    EXPECT_EQ(abort_.aborts[0].second, "");
    EXPECT_FALSE(files_.FileExists("C:\\Temp\\tolvainstall\\a.dat"));
}

TEST_F(ModuleDownloadTest, AbortsWhenCatalogueCannotBeFetched) {
    catalogueUrl_ += ".missing";
    EXPECT_FALSE(Run({"a.dat", "b.dat"}));
    const std::string message = "Could not download file " + catalogueUrl_ +
                                " from the Internet.\r\nPlease, check your Internet connection "
                                "and make sure the URL " +
                                catalogueUrl_ + " is working properly.";
    ASSERT_EQ(abort_.aborts.size(), 1u);
    EXPECT_EQ(abort_.aborts[0].first, message);
    EXPECT_EQ(abort_.aborts[0].second, "\r\na.dat\r\nb.dat");
}

TEST_F(ModuleDownloadTest, AbortsOnMissingArchiveKeepingEarlierOnes) {
    Catalogue(Base("dl"), "9.1.0");
    routes_["/dl/a.dat"] = "A";
    EXPECT_FALSE(Run({"a.dat", "b.dat"}));
    EXPECT_EQ(files_.files["C:\\Temp\\tolvainstall\\a.dat"], "A");
    const std::string message =
        "Could not download file b.dat from the Internet.\r\nPlease, check your Internet "
        "connection and make sure the URL " +
        Base("dl") + " is working properly.";
    ASSERT_EQ(abort_.aborts.size(), 1u);
    EXPECT_EQ(abort_.aborts[0].first, message);
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(ModuleDownloadTest, CatalogueLargerThanOneMebibyteIsRefused) {
    for (uint64_t size : {kMaxCatalogueSize, kMaxCatalogueSize + 1}) {
        Catalogue(Base("dl"), "9.1.0");
        std::string& catalogue = routes_["/server.xml"];
        const std::string padStart = "<PAD>", padEnd = "</PAD></modules>";
        catalogue.resize(catalogue.size() - std::string_view("</modules>").size());
        catalogue += padStart +
                     std::string(size - catalogue.size() - padStart.size() - padEnd.size(), 'p') +
                     padEnd;
        ASSERT_EQ(catalogue.size(), size);
        routes_["/dl/a.dat"] = "A";
        abort_.aborts.clear();
        EXPECT_EQ(Run({"a.dat"}), size == kMaxCatalogueSize) << size;
        if (size > kMaxCatalogueSize) {
            ASSERT_EQ(abort_.aborts.size(), 1u);
            EXPECT_EQ(abort_.aborts[0].first.rfind("Could not download file " + catalogueUrl_, 0),
                      0u);
        }
        EXPECT_TRUE(TempFiles().empty());
    }
}

TEST_F(ModuleDownloadTest, ArchiveWithDigestIsCheckedBeforeItIsMoved) {
    const std::string good = archive::test::ToHex(archive::Sha256::Hash("A archive"));
    std::string bad = good;
    bad[10] = bad[10] == '0' ? '1' : '0';
    auto entry = [](std::string_view name, std::string_view digest) {
        return "<ARCHIVE name=\"" + std::string(name) + "\" sha256=\"" + std::string(digest) +
               "\"/>";
    };
    struct Case {
        const char* what;
        std::string entries;
        bool accepted;
    } cases[] = {
        {"no digests at all", "", true},
        {"matching digest", entry("a.dat", good), true},
        {"name and digits in other case, blanks around",
         entry("A.DAT", " " + util::UpperCase(good) + " "), true},
        {"a digest for another archive only", entry("b.dat", bad), true},
        {"digest that does not match", entry("a.dat", bad), false},
        {"first entry of the name counts", entry("a.dat", bad) + entry("a.dat", good), false},
        {"digest one digit short", entry("a.dat", good.substr(1)), false},
        {"digest that is not hexadecimal", entry("a.dat", "g" + good.substr(1)), false},
        {"entry without a digest", "<ARCHIVE name=\"a.dat\"/>", false},
    };
    for (const Case& c : cases) {
        Catalogue(Base("dl"), "9.1.0", c.entries);
        routes_["/dl/a.dat"] = "A archive";
        files_.files.clear();
        abort_.aborts.clear();
        EXPECT_EQ(Run({"a.dat"}), c.accepted) << c.what;
        EXPECT_EQ(files_.FileExists("C:\\Temp\\tolvainstall\\a.dat"), c.accepted) << c.what;
        EXPECT_TRUE(TempFiles().empty()) << c.what;
        if (!c.accepted) {
            ASSERT_EQ(abort_.aborts.size(), 1u) << c.what;
            EXPECT_EQ(abort_.aborts[0].first,
                      "Could not download file a.dat from the Internet.\r\nPlease, check your "
                      "Internet connection and make sure the URL " +
                          Base("dl") + " is working properly.")
                << c.what;
        }
    }
}

TEST_F(ModuleDownloadTest, AbortsWhenArchiveCannotBeMoved) {
    Catalogue(Base("dl"), "9.1.0");
    routes_["/dl/a.dat"] = "A";
    faulty_.Inject(platform::FileOperation::kMoveTo);
    EXPECT_FALSE(Run({"a.dat"}));
    ASSERT_EQ(abort_.aborts.size(), 1u);
    EXPECT_EQ(abort_.aborts[0].first,
              "Could not move downloaded file a.dat. Please, check your directory rights.");
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(ModuleDownloadTest, PicksEveryBaseOverRuns) {
    Catalogue(Base("one") + ";" + Base("two"), "9.1.0");
    routes_["/one/a.dat"] = "1";
    routes_["/two/a.dat"] = "2";
    std::set<std::string> seen;
    for (int run = 0; run < 40 && seen.size() < 2; ++run) {
        ASSERT_TRUE(Run({"a.dat"}));
        seen.insert(files_.files["C:\\Temp\\tolvainstall\\a.dat"]);
    }
    EXPECT_EQ(seen, (std::set<std::string>{"1", "2"}));
}

TEST_F(ModuleDownloadTest, EmptyCatalogueUrlUsesAndStoresVendorAddress) {
    RefusingNetwork refusing;
    HttpClient http(refusing, files_, system_);
    ModuleDownloader downloader(http, files_, system_, window_, abort_);
    std::string url;
    EXPECT_FALSE(downloader.DownloadModules(url, "C:\\x\\", {"a.dat"}));
    EXPECT_EQ(url, kDefaultModuleCatalogueUrl);
    EXPECT_EQ(refusing.hosts, std::vector<std::string>{"download.corvane.example"});
}

TEST_F(ModuleDownloadTest, ChecksLatestVersion) {
    routes_["/products.xml"] =
        "<products><X>1</X><TM url=\"http://dl.test/get?a=1&amp;b=2\" size=\"3\">9.2.0</TM>"
        "<TM url=\"other\">9.9.9</TM></products>";
    routes_["/none.xml"] = "<products><TMX>9.2.0</TMX></products>";
    std::string base = "http://127.0.0.1:" + std::to_string(server_.port());
    HttpClient http(network_, files_, system_);

    LatestVersion latest = CheckLatestVersion(http, files_, system_, base + "/products.xml");
    EXPECT_TRUE(latest.found);
    EXPECT_EQ(latest.downloadPageUrl, "http://dl.test/get?a=1&b=2");
    EXPECT_EQ(latest.version, "9.2.0");
    EXPECT_TRUE(IsNewerThanSetup(latest));

    EXPECT_FALSE(CheckLatestVersion(http, files_, system_, base + "/none.xml").found);
    EXPECT_FALSE(CheckLatestVersion(http, files_, system_, base + "/missing.xml").found);
    EXPECT_TRUE(TempFiles().empty());

    RefusingNetwork refusing;
    HttpClient offline(refusing, files_, system_);
    EXPECT_FALSE(CheckLatestVersion(offline, files_, system_, "").found);
    EXPECT_EQ(refusing.hosts, std::vector<std::string>{"www.corvane.example"});
}

TEST_F(ModuleDownloadTest, LatestVersionOnlyFromSmallCatalogueWithWebPage) {
    struct Case {
        std::string page;
        bool found;
    } cases[] = {
        {"http://dl.test/get", true},
        {"HTTPS://dl.test:8443/get?x=1", true},
        {"file:///C:/Windows/System32/calc.exe", false},
        {"C:\\Windows\\System32\\calc.exe", false},
        {"\\\\server\\share\\setup.exe", false},
        {"ftp://dl.test/setup.exe", false},
        {"javascript:alert(1)//http://x", false},
        {" http://dl.test/", false},
        {"http://", false},
        {"", false},
    };
    std::string url = "http://127.0.0.1:" + std::to_string(server_.port()) + "/products.xml";
    HttpClient http(network_, files_, system_);
    for (const Case& c : cases) {
        routes_["/products.xml"] = "<products><TM url=\"" + c.page + "\">9.2.0</TM></products>";
        LatestVersion latest = CheckLatestVersion(http, files_, system_, url);
        EXPECT_EQ(latest.found, c.found) << c.page;
        EXPECT_EQ(latest.downloadPageUrl, c.found ? c.page : "") << c.page;
    }
    std::string& big = routes_["/products.xml"];
    big = "<products><TM url=\"http://dl.test/\">9.2.0</TM>";
    big += std::string(kMaxCatalogueSize - big.size() - 11, ' ') + "</products>";
    EXPECT_TRUE(CheckLatestVersion(http, files_, system_, url).found);
    big.insert(big.size() - 11, " ");
    EXPECT_FALSE(CheckLatestVersion(http, files_, system_, url).found);
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(ModuleDownloadTest, OnlyHigherVersionsAreOffered) {
    struct Case {
        const char* version;
        bool offered;
    } cases[] = {
        {"9.1.0", false}, {"9.0.99", false}, {"", false},      {"8", false},
        {"9.1.1", true},  {"9.2", true},     {"10.0.0", true}, {"9.1.0-1", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsNewerThanSetup(LatestVersion{true, "u", c.version}), c.offered) << c.version;
    }
}

}  // namespace
}  // namespace tolva::net
