#include <gtest/gtest.h>

#include "store_fixture.h"
#include "stores/list_text.h"
#include "stores/record_fields.h"
#include "stores/scramble.h"

namespace tolva::stores {
namespace {

using testing::DomainsFile;
using testing::SettingsFile;

class SettingsStoreTest : public testing::StoreTest {};

std::vector<std::string> DomainNames(const SettingsStore& store) {
    std::vector<std::string> names;
    for (int i = 0; i < store.Record().DomainCount(); ++i) {
        names.push_back(store.GetDomainName(i));
    }
    return names;
}

TEST_F(SettingsStoreTest, SavedRecordLoadsBackByteForByte) {
    auto store = NewStore();
    store->LoadSettings(false, false);
    SettingsRecord& record = store->Record();
    record.SetControlHttpPort(8080);
    record.SetHostAddresses("10.0.0.5;10.0.0.6");
    record.SetDnsAttempts(-7);
    record.SetKiloScaledField(0x12345678);
    record.SetByte(29999, 0xAB);  // a byte no accessor knows is carried too
    record.SetConsoleViewFile("advanced.xml");
    store->AddDomain("Example.COM");
    store->AddDomain("second.example");
    ASSERT_TRUE(store->SaveSettings(false));

    const std::string file = Get(std::string(kConfig) + "settings.cfg");
    ASSERT_EQ(file.size(), SettingsRecord::kSize);
    for (size_t i = 0; i < file.size(); ++i) {
        ASSERT_NE(static_cast<uint8_t>(file[i]), record.bytes()[i]) << "offset " << i;
    }
    EXPECT_EQ(Get(std::string(kConfig) + "domains.cfg"),
              DomainsFile({"example.com", "second.example"}));

    auto reloaded = NewStore();
    EXPECT_TRUE(reloaded->LoadSettings(true, false));
    EXPECT_TRUE(reloaded->Record() == record);
    EXPECT_EQ(DomainNames(*reloaded), (std::vector<std::string>{"example.com", "second.example"}));
    EXPECT_EQ(reloaded->Domains().Find("SECOND.example"), 1);
}

TEST_F(SettingsStoreTest, MissingSettingsLeaveDefaultsAndApplyLoadDefaults) {
    auto store = NewStore();
    EXPECT_FALSE(store->LoadSettings(true, false));
    EXPECT_TRUE(NewStore()->LoadSettings(false, false));

    const SettingsRecord& record = store->Record();
    EXPECT_EQ(record.ControlHttpPort(), 32000);
    EXPECT_EQ(record.SecureControlPort(), 32001);
    EXPECT_EQ(record.TempPath(), "C:\\Tolva\\temp\\");
    EXPECT_EQ(record.MailPath(), "C:\\Tolva\\mail\\");
    EXPECT_EQ(record.LogPath(), "C:\\Tolva\\logs\\");
    EXPECT_EQ(record.DnsTimeout(), 3);
    EXPECT_EQ(record.DnsAttempts(), 1);
    EXPECT_EQ(record.DaysToMinutesField(), 2880);
    EXPECT_EQ(record.HoursToMinutesField(), 240);
    EXPECT_EQ(record.DatabaseUseLimit(), 20);
    EXPECT_EQ(record.AccountStorageMode(), 1);
    EXPECT_TRUE(record.DomainsConverted());
    EXPECT_EQ(record.PathDelimiter(), '\\');
    EXPECT_EQ(record.String(1477, 127), "MAILER-DAEMON");
    EXPECT_EQ(ReadU16(record.bytes(), 1028), 25);
    EXPECT_EQ(ReadI32(record.bytes(), 28047), 5061);
    EXPECT_EQ(record.DnsServers(), "192.0.2.53;198.51.100.53");
    EXPECT_EQ(store->SettingsTimeStamp(), 0u);
    EXPECT_EQ(store->Record().DomainCount(), 0);
}

TEST_F(SettingsStoreTest, ShortFileOverlaysOnlyItsLeadingBytes) {
    SettingsRecord first;
    first.SetControlHttpPort(1111);
    first.SetDatabaseUseLimit(77);  // offset 29449: beyond the short file below
    Put(std::string(kConfig) + "settings.cfg", SettingsFile(first));
    auto store = NewStore();
    store->LoadSettings(false, true);
    ASSERT_EQ(store->Record().DatabaseUseLimit(), 77);
    EXPECT_NE(store->SettingsTimeStamp(), 0u);

    SettingsRecord second;
    second.SetControlHttpPort(2222);
    second.SetDatabaseUseLimit(5);
    Put(std::string(kConfig) + "settings.cfg", SettingsFile(second, 2000));
    store->LoadSettings(false, true);
    EXPECT_EQ(store->Record().ControlHttpPort(), 2222);
    EXPECT_EQ(store->Record().DatabaseUseLimit(), 77);

    // A longer file: only the record's bytes are used.
    Put(std::string(kConfig) + "settings.cfg", SettingsFile(second) + std::string(500, 'x'));
    EXPECT_TRUE(store->LoadSettings(true, true));
    EXPECT_EQ(store->Record().DatabaseUseLimit(), 5);
}

TEST_F(SettingsStoreTest, ListsAreNormalisedAtLoad) {
    SettingsRecord record;
    record.SetHostAddresses("10.0.0.5 , 10.0.0.6");
    record.SetAccountStorageConnection(" my dsn,user name ");
    record.SetDnsServers("192.0.2.1 192.0.2.2");
    Put(std::string(kConfig) + "settings.cfg", SettingsFile(record));
    auto store = NewStore();
    store->LoadSettings(false, false);
    EXPECT_EQ(store->Record().HostAddresses(), "10.0.0.5;10.0.0.6");
    EXPECT_EQ(store->ControlServiceHost(), "10.0.0.5");
    EXPECT_EQ(store->Record().AccountStorageConnection(), "my dsn;user name");
    // Blanks separate DNS servers rather than run them together.
    EXPECT_EQ(store->Record().DnsServers(), "192.0.2.1;192.0.2.2");
    EXPECT_EQ(store->Resolver().servers, (std::vector<std::string>{"192.0.2.1", "192.0.2.2"}));

    store->Record().SetHostAddresses("  ;10.0.0.9");
    EXPECT_EQ(store->ControlServiceHost(), "localhost");
}

TEST_F(SettingsStoreTest, BlankDnsServersTakeTheMachineList) {
    SettingsRecord record;
    record.SetDnsServers("  \t ");
    Put(std::string(kConfig) + "settings.cfg", SettingsFile(record));
    auto store = NewStore();
    store->LoadSettings(false, false);
    EXPECT_EQ(store->Record().DnsServers(), "192.0.2.53;198.51.100.53");
    EXPECT_EQ(store->Resolver().servers.size(), 2u);
}

TEST_F(SettingsStoreTest, MachineDnsServersThatDoNotFitKeepWholeAddresses) {
    // Nine addresses of 14 characters and their separators take 134 characters; DnsServers holds
    // 127, which would cut the ninth to "198.51.".
    std::vector<std::string> servers;
    for (int i = 1; i <= 9; ++i) {
        servers.push_back("198.51.100.20" + std::to_string(i));
    }
    system_.SetDnsServers(servers);
    auto store = NewStore();
    std::string expected = servers[0];
    for (size_t i = 1; i < 8; ++i) {
        expected += ";" + servers[i];
    }
    EXPECT_EQ(store->MachineDnsServers(), expected);
    store->LoadSettings(false, false);
    EXPECT_EQ(store->Record().DnsServers(), expected);
}

// Every numeric field the load fills in when it holds 0, by offset, width in bytes and value.
TEST_F(SettingsStoreTest, LoadFillsZeroNumericFieldsWithTheirDefaults) {
    struct Default {
        size_t offset;
        int width;
        int32_t value;
    };
    const Default defaults[] = {
        {1036, 2, 32000}, {1040, 2, 32001}, {1476, 1, 3},     {22136, 4, 1},  {7016, 4, 2880},
        {29449, 4, 20},   {1028, 2, 25},    {1461, 2, 465},   {1024, 2, 110}, {1026, 2, 995},
        {1038, 2, 143},   {1030, 2, 993},   {250, 2, 389},    {248, 2, 636},  {228, 2, 5222},
        {230, 2, 5223},   {167, 2, 5269},   {160, 2, 5229},   {21384, 2, 21}, {21386, 2, 990},
        {22217, 2, 161},  {24755, 2, 5060}, {28047, 4, 5061}, {252, 2, 366},  {22219, 2, 13},
    };
    const auto read = [](const SettingsRecord& record, const Default& field) -> int32_t {
        switch (field.width) {
            case 1:
                return record.Byte(field.offset);
            case 2:
                return ReadU16(record.bytes(), field.offset);
            default:
                return ReadI32(record.bytes(), field.offset);
        }
    };
    const auto write = [](SettingsRecord& record, const Default& field, int32_t value) {
        for (int i = 0; i < field.width; ++i) {
            record.SetByte(field.offset + i, static_cast<uint8_t>(value >> (8 * i)));
        }
    };
    // Zero fields get their defaults; set ones keep their values, all bytes of them.
    for (const int32_t stored : {0, 7, 0x0102}) {
        SettingsRecord record;
        for (const Default& field : defaults) {
            write(record, field, field.width == 1 ? stored & 0xFF : stored);
        }
        Put(std::string(kConfig) + "settings.cfg", SettingsFile(record));
        auto store = NewStore();
        store->LoadSettings(true, true);
        for (const Default& field : defaults) {
            const int32_t expected =
                stored == 0 ? field.value : (field.width == 1 ? stored & 0xFF : stored);
            EXPECT_EQ(read(store->Record(), field), expected)
                << "offset " << field.offset << ", stored " << stored;
        }
    }
}

TEST(ListTextTest, ListHelpers) {
    struct Case {
        const char* in;
        bool keepBlanks;
        const char* normalized;
        const char* first;
    };
    const Case cases[] = {
        {"a;b", false, "a;b", "a"},
        {"  a , b  ", false, "a;b", "  a , b  "},
        {" a , b ", true, "a ; b", " a , b "},
        {"a b", false, "ab", "a b"},
        {"", false, "", ""},
        {"x;", false, "x;", "x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NormalizeList(c.in, c.keepBlanks), c.normalized) << '"' << c.in << '"';
        EXPECT_EQ(FirstListItem(c.in), c.first) << '"' << c.in << '"';
    }
}

TEST(ListTextTest, AddressListsAreSeparatedByBlanks) {
    const std::pair<const char*, const char*> cases[] = {
        {"192.0.2.1 192.0.2.2", "192.0.2.1;192.0.2.2"},
        {" 192.0.2.1  192.0.2.2 , 192.0.2.3 ", "192.0.2.1;192.0.2.2;192.0.2.3"},
        {"192.0.2.1 ; 192.0.2.2", "192.0.2.1;192.0.2.2"},
        {"192.0.2.1,192.0.2.2", "192.0.2.1;192.0.2.2"},
        {"a ;; b", "a;;b"},
        {"192.0.2.1;192.0.2.2", "192.0.2.1;192.0.2.2"},
        {"  192.0.2.1  ", "192.0.2.1"},
        {"", ""},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(NormalizeAddressList(in), out) << '"' << in << '"';
    }
}

TEST(ListTextTest, CommentRemoval) {
    const std::pair<const char*, const char*> cases[] = {
        {"  value  ", "value"},        {"value # comment", "value"},
        {"value // comment", "value"}, {"http://host/x", "http://host/x"},
        {"a##b # c", "a#b"},           {"a /* note */ b", "a  b"},
        {"a /* open", "a /* open"},    {"# whole line", ""},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(RemoveComments(in), out) << '"' << in << '"';
    }
}

// settings.cfg fields and domains.cfg content for one domain-table case.
struct DomainCase {
    const char* name;
    int32_t domainCount;
    bool domainsConverted;
    bool hasDomainsFile;
    std::string domainsFile;
    std::vector<std::string> legacyList;
    std::vector<std::string> expected;
};

std::string LegacyWidthTable(const std::vector<std::string>& names) {
    std::string table(96, '\0');
    for (size_t i = 0; i < names.size(); ++i) {
        table[i * 32] = static_cast<char>(names[i].size());
        table.replace(i * 32 + 1, names[i].size(), names[i]);
    }
    return table;
}

std::vector<std::string> Numbered(const char* prefix, int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        names.push_back(prefix + std::to_string(i));
    }
    return names;
}

TEST_F(SettingsStoreTest, DomainTableFromFiles) {
    const std::vector<std::string> five = {"a.example", "b.example", "c.example", "d.example",
                                           "e.example"};
    const std::vector<DomainCase> cases = {
        {"count taken from the file", 0, true, true, DomainsFile(five), {}, five},
        {"count limits the records read",
         2,
         true,
         true,
         DomainsFile(five),
         {},
         {"a.example", "b.example"}},
        {"records beyond the file stay empty",
         3,
         true,
         true,
         DomainsFile({"a.example"}),
         {},
         {"a.example", "", ""}},
        {"names are lower-cased", 0, true, true, DomainsFile({"x"}).replace(1, 1, "X"), {}, {"x"}},
        {"32-byte legacy entries are widened",
         3,
         false,
         true,
         LegacyWidthTable({"d1", "d2", "d3"}),
         {},
         {"d1", "d2", "d3"}},
        {"empty first record takes the legacy list, at most 100", 150, true, true,
         std::string(96, '\0'), Numbered("old", 120), Numbered("old", 100)},
        {"empty first record and empty legacy list",
         4,
         true,
         true,
         std::string(96 * 4, '\0'),
         {},
         {}},
        {"negative count loads nothing", -5, true, true, DomainsFile(five), {}, {}},
        {"empty domains.cfg", 0, true, true, "", {}, {}},
    };
    for (const DomainCase& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsRecord record;
        record.SetDomainCount(c.domainCount);
        record.SetDomainsConverted(c.domainsConverted);
        for (size_t i = 0; i < c.legacyList.size(); ++i) {
            record.SetLegacyDomain(static_cast<int>(i), c.legacyList[i]);
        }
        Put(std::string(kConfig) + "settings.cfg", SettingsFile(record));
        Put(std::string(kConfig) + "domains.cfg", c.domainsFile);
        auto store = NewStore();
        store->LoadSettings(false, false);
        std::vector<std::string> names = DomainNames(*store);
        EXPECT_EQ(names, c.expected);
        EXPECT_TRUE(store->Record().DomainsConverted());
        if (!c.expected.empty() && !c.expected[0].empty()) {
            EXPECT_EQ(store->Domains().Find(c.expected[0]), 0);
        }
    }
}

TEST_F(SettingsStoreTest, LegacyTableInsideOldSettingsFile) {
    SettingsRecord record;
    record.SetDomainCount(2);
    std::string file = SettingsFile(record);
    std::string table = DomainsFile({"old.example", "older.example"});
    ScrambleBlock(reinterpret_cast<uint8_t*>(table.data()), table.size(), 8);
    file.replace(SettingsStore::kLegacyDomainTableOffset, table.size(), table);
    Put(std::string(kConfig) + "settings.cfg", file);

    auto store = NewStore();
    store->LoadSettings(false, false);
    EXPECT_EQ(DomainNames(*store), (std::vector<std::string>{"old.example", "older.example"}));
}

TEST_F(SettingsStoreTest, DamagedDomainCountStaysWithinTheFile) {
    SettingsRecord record;
    record.SetDomainCount(0x7FFFFFFF);
    Put(std::string(kConfig) + "settings.cfg", SettingsFile(record));
    Put(std::string(kConfig) + "domains.cfg", DomainsFile({"a.example", "b.example"}));
    auto store = NewStore();
    store->LoadSettings(false, false);
    EXPECT_EQ(store->Domains().Capacity(), 2);
    EXPECT_EQ(store->GetDomainName(1), "b.example");
    EXPECT_EQ(store->GetDomainName(2), "");
    EXPECT_TRUE(store->SaveSettings(false));
    EXPECT_EQ(Get(std::string(kConfig) + "domains.cfg").size(), 2u * 96);
}

TEST_F(SettingsStoreTest, AddingADomainStopsAtTheLimit) {
    const struct {
        int32_t count;
        bool added;
    } cases[] = {
        {SettingsStore::kDomainCountLimit - 1, true},
        {SettingsStore::kDomainCountLimit, false},
        {INT32_MAX, false},
    };
    for (const auto& c : cases) {
        auto store = NewStore();
        store->Record().SetDomainCount(c.count);
        EXPECT_EQ(store->AddDomain("one.example"), c.added) << c.count;
        EXPECT_EQ(store->Record().DomainCount(), c.added ? c.count + 1 : c.count) << c.count;
        EXPECT_EQ(store->Domains().Capacity(), c.added ? c.count + 1 : 0) << c.count;
    }
    auto store = NewStore();
    EXPECT_TRUE(store->ReserveDomains(SettingsStore::kDomainCountLimit));
    EXPECT_FALSE(store->ReserveDomains(1));
    EXPECT_FALSE(store->ReserveDomains(-1));
    EXPECT_EQ(store->Domains().Capacity(), SettingsStore::kDomainCountLimit);
}

TEST_F(SettingsStoreTest, GetDomainNameOutsideTheTableIsEmpty) {
    auto store = NewStore();
    store->AddDomain("one.example");
    EXPECT_EQ(store->GetDomainName(0), "one.example");
    EXPECT_EQ(store->GetDomainName(1), "");
    EXPECT_EQ(store->GetDomainName(-1), "");
    EXPECT_FALSE(store->AddDomain(""));
    EXPECT_EQ(store->Record().DomainCount(), 1);
}

TEST_F(SettingsStoreTest, SaveSettingsOnlyLeavesDomainsFileAlone) {
    Put(std::string(kConfig) + "domains.cfg", "keep me");
    auto store = NewStore();
    EXPECT_TRUE(store->SaveSettings(true));
    EXPECT_EQ(Get(std::string(kConfig) + "domains.cfg"), "keep me");
    EXPECT_TRUE(store->SaveSettings(false));
    EXPECT_EQ(Get(std::string(kConfig) + "domains.cfg"), "");
    EXPECT_FALSE(Exists(std::string(kConfig) + "settings.cfg.new"));
}

TEST_F(SettingsStoreTest, SaveCreatesTheConfigurationFolder) {
    auto store = NewStore();
    store->SetConfigurationFolder("C:\\Tolva\\Elsewhere\\deep\\config\\");
    EXPECT_TRUE(store->SaveSettings(true));
    EXPECT_EQ(Get("C:\\Tolva\\Elsewhere\\deep\\config\\settings.cfg").size(),
              SettingsRecord::kSize);
}

TEST_F(SettingsStoreTest, InstallDirSwitchChoosesTheRoot) {
    const std::pair<const char*, const char*> cases[] = {
        {"-InstallDir=D:\\Mail", "D:\\Mail\\"},     {"/installdir=D:\\Mail\\", "D:\\Mail\\"},
        {"--INSTALLDIR=D:/Mail/", "D:/Mail/"},      {"//InstallDir=D:\\Mail", "D:\\Mail\\"},
        {"-InstallDirX=D:\\Mail", "C:\\Program\\"}, {"InstallDir=D:\\Mail", "C:\\Program\\"},
    };
    for (const auto& [argument, root] : cases) {
        SettingsStore store(services_, ProgramStart{{"/other", argument}, "C:\\Program"});
        store.InitServerPaths();
        EXPECT_EQ(store.RootFolder(), root) << argument;
        EXPECT_EQ(store.ConfigurationFolder(), std::string(root) + "config\\") << argument;
        EXPECT_EQ(store.HtmlFolder(), std::string(root) + "html\\") << argument;
        EXPECT_EQ(store.Record().TempPath(), std::string(root) + "temp") << argument;
    }
}

TEST_F(SettingsStoreTest, PathFileOverridesByLineNumber) {
    Put(std::string(kInstall) + "path.cfg",
        "C:\\Tolva\\Conf\r\n"
        "D:\\Web  # web pages\r\n"
        "\r\n"
        "three\r\n"
        "\\\\srv\\share;me;secret|\\\\srv\\open\r\n"
        "\r\n\r\n"
        "D:\\Queue\\out\r\n"
        "\r\n"
        "10.1.1.1;10.1.1.2|192.0.2.9\r\n"
        "mail.override.example\r\n"
        "eleven\r\n"
        "D:\\Queue\\in");
    Put("C:\\Tolva\\Conf\\servertitle.dat",
        "My Server Title \r\nname = value # note\r\nno pair\r\nx=y=z\r\n");

    SettingsStore store(services_);
    store.SetRootFolder(kInstall);
    store.InitServerPaths();
    EXPECT_FALSE(Exists(std::string(kInstall) + "path.cfg"));
    EXPECT_TRUE(Exists(std::string(kInstall) + "path.dat"));
    EXPECT_EQ(store.ConfigurationFolder(), "C:\\Tolva\\Conf\\");
    EXPECT_EQ(store.HtmlFolder(), "D:\\Web\\");
    const PathOverrides& o = store.Overrides();
    EXPECT_EQ(o.serverValue3, "three");
    ASSERT_EQ(o.shares.size(), 2u);
    EXPECT_EQ(o.shares[0].remoteName, "\\\\srv\\share");
    EXPECT_EQ(o.shares[0].user, "me");
    EXPECT_EQ(o.shares[0].password, "secret");
    EXPECT_EQ(o.shares[1].remoteName, "\\\\srv\\open");
    EXPECT_EQ(o.shares[1].user, "");
    EXPECT_EQ(o.outgoingQueueFolder, "D:\\Queue\\out\\");
    EXPECT_EQ(o.serverValue11, "eleven");
    EXPECT_EQ(o.incomingQueueFolder, "D:\\Queue\\in\\");
    EXPECT_EQ(store.OutgoingBindAddress(), "192.0.2.9");
    EXPECT_EQ(store.ServerTitle(), "My Server Title ");
    EXPECT_EQ(store.ServerTitleValues(), (std::vector<std::pair<std::string, std::string>>{
                                             {"name ", " value"}, {"x", "y=z"}}));

    // Lines 9 and 10 win over the record at every load.
    SettingsRecord record;
    record.SetHostAddresses("10.9.9.9");
    Put("C:\\Tolva\\Conf\\settings.cfg", SettingsFile(record));
    for (int load = 0; load < 2; ++load) {
        store.LoadSettings(false, false);
        EXPECT_EQ(store.Record().HostAddresses(), "10.1.1.1;10.1.1.2");
        EXPECT_EQ(store.Record().ServerHostName(), "mail.override.example");
        store.Record().SetHostAddresses("changed");
    }
}

TEST_F(SettingsStoreTest, BindAndArchiveFiles) {
    SettingsRecord record;
    record.SetArchiveOption(true);
    Put(std::string(kConfig) + "settings.cfg", SettingsFile(record));
    Put(std::string(kConfig) + "bind.dat",
        "outgoing_bind = 192.0.2.7 ; 192.0.2.8\r\nIPv6_Bind=::1, ::2\r\n# none\r\n");
    Put(std::string(kConfig) + "archivedomains.dat",
        "example.com\r\n\r\nboss@example.org # keep\r\n");
    Put(std::string(kConfig) + "subdomains.dat", "");
    auto store = NewStore();
    store->LoadSettings(false, false);
    EXPECT_EQ(store->OutgoingBindAddress(), "192.0.2.7");
    EXPECT_EQ(store->IPv6BindList(), "::1,::2");
    EXPECT_EQ(store->ArchiveAddresses(),
              (std::vector<std::string>{"*@example.com", "boss@example.org"}));
    EXPECT_TRUE(store->HasSubdomains());
}

TEST_F(SettingsStoreTest, TimeZoneOffset) {
    const std::pair<int32_t, const char*> cases[] = {
        {-60, "+0100"}, {300, "-0500"}, {0, "-0000"}, {-330, "+0530"}, {-765, "+1245"}};
    for (const auto& [bias, text] : cases) {
        system_.SetTimeZoneBias(bias);
        auto store = NewStore();
        store->InitServerPaths();
        EXPECT_EQ(store->TimeZoneOffset(), text) << bias;
    }
}

TEST_F(SettingsStoreTest, UseConfigurationFolderLoadsThatInstallation) {
    SettingsRecord record;
    record.SetLogPath("E:\\Logs\\");
    record.SetConsoleViewFile("advanced.xml");
    Put("C:\\Tolva\\Server\\config\\settings.cfg", SettingsFile(record));
    auto store = NewStore();
    store->UseConfigurationFolder("C:\\Tolva\\Server\\");
    EXPECT_EQ(store->ConfigurationFolder(), "C:\\Tolva\\Server\\config\\");
    EXPECT_EQ(store->Record().LogPath(), "E:\\Logs\\");
    EXPECT_EQ(store->Record().ConsoleViewFile(), "advanced.xml");
}

TEST_F(SettingsStoreTest, FooterFiles) {
    auto store = NewStore();
    ASSERT_TRUE(store->WriteFooterFiles("Sent by Tolva"));
    EXPECT_EQ(Get(std::string(kConfig) + "tags.dat"), ";\r\nfootervalue.txt;\r\n\r\n\r\n10\r\n");
    EXPECT_EQ(Get(std::string(kConfig) + "footervalue.txt"), "Sent by Tolva");
    EXPECT_TRUE(store->Record().FooterTagsEnabled());
}

TEST_F(SettingsStoreTest, FooterTextIsWrittenWhenTheTagsFileFails) {
    // A folder in the way of tags.dat makes every write of it fail.
    ASSERT_TRUE(services_.files->CreateFolders(std::string(kConfig) + "tags.dat\\").ok());
    auto store = NewStore();
    EXPECT_FALSE(store->WriteFooterFiles("Sent by Tolva"));
    EXPECT_EQ(Get(std::string(kConfig) + "footervalue.txt"), "Sent by Tolva");
}

}  // namespace
}  // namespace tolva::stores
