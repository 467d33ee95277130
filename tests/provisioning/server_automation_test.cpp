#include "provisioning/server_automation.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/fake/fake_automation.h"
#include "platform/fake/fake_system.h"
#include "support/server_automation.h"

namespace tolva::provisioning {
namespace {

using platform::AutomationArg;
using platform::FakeAutomation;
using Record = FakeAutomation::Record;

constexpr char kPostmasters[] =
    "postmaster;admin;administrator;supervisor;hostmaster;webmaster;abuse";

class RecordingLog : public util::SetupLogSink {
public:
    void Write(std::string_view message) override { lines.emplace_back(message); }
    std::vector<std::string> lines;
};

// A step as the tests expect it: a creation ("+ProgID") or a call to the object last created.
struct Step {
    std::string what;
    std::vector<AutomationArg> arguments = {};
};

std::vector<Step> Steps(const std::vector<Record>& records) {
    std::vector<Step> steps;
    for (const Record& record : records) {
        if (record.kind == Record::Kind::kCreate) {
            steps.push_back({"+" + record.progId});
        } else {
            steps.push_back({record.method, record.arguments});
        }
    }
    return steps;
}

std::string Describe(const AutomationArg& arg) {
    switch (arg.kind) {
        case platform::AutomationArgKind::kText:
            return "text \"" + arg.text + "\"";
        case platform::AutomationArgKind::kTextByRef:
            return "byref \"" + arg.text + "\"";
        case platform::AutomationArgKind::kWideText:
            return "wide \"" + std::string(arg.wide.begin(), arg.wide.end()) + "\"";
        case platform::AutomationArgKind::kInteger:
            return "int " + std::to_string(arg.integer);
        case platform::AutomationArgKind::kBoolean:
            return arg.boolean ? "bool true" : "bool false";
    }
    return "?";
}

std::string Describe(const std::vector<Step>& steps) {
    std::string text;
    for (const Step& step : steps) {
        text += "\n  " + step.what + "(";
        for (size_t i = 0; i < step.arguments.size(); ++i) {
            text += (i ? ", " : "") + Describe(step.arguments[i]);
        }
        text += ")";
    }
    return text;
}

void ExpectSteps(const FakeAutomation& automation, const std::vector<Step>& expected) {
    EXPECT_EQ(Describe(Steps(automation.Records())), Describe(expected));
    EXPECT_EQ(automation.LiveObjects(), 0u) << "objects not released";
}

class ScriptedWizard : public PostInstallWizardWindow {
public:
    explicit ScriptedWizard(std::optional<WizardEntries> finished)
        : finished_(std::move(finished)) {}
    bool ShowWizard() override {
        ++shown;
        return finished_.has_value();
    }
    WizardEntries Entries() const override { return finished_.value_or(WizardEntries{}); }
    int shown = 0;

private:
    std::optional<WizardEntries> finished_;
};

class ServerAutomationTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (auto& definition : tolva::testing::ServerAutomationClasses()) {
            automation.DefineClass(definition);
        }
    }
    FakeAutomation automation;
    platform::FakeSystem system;
};

const std::vector<Step> kWizardSteps = {
    {"+CorvaneServer.DomainObject"},
    {"New", {AutomationArg::Text("example.com")}},
    {"SetProperty",
     {AutomationArg::Text("D_AdminEmail"), AutomationArg::Text("admin@example.com")}},
    {"SetProperty", {AutomationArg::Text("D_Postmaster"), AutomationArg::Text(kPostmasters)}},
    {"Save"},
    {"+CorvaneServer.APIObject"},
    {"MakePrimaryDomain", {AutomationArg::Text("example.com")}},
    {"SetProperty",
     {AutomationArg::Text("C_Mail_SMTP_General_HostName"),
      AutomationArg::WideText(u" mail.example.com")}},
    {"Save"},
    {"+CorvaneServer.AccountObject"},
    {"New", {AutomationArg::Text("admin@example.com")}},
    {"SetProperty", {AutomationArg::Text("U_Alias"), AutomationArg::Text("admin")}},
    {"SetProperty", {AutomationArg::Text("U_Mailbox"), AutomationArg::Text("admin")}},
    {"SetProperty", {AutomationArg::Text("U_Password"), AutomationArg::WideText(u" s3cret ")}},
    {"SetProperty", {AutomationArg::Text("U_Name"), AutomationArg::TextByRef("Admin")}},
    {"SetProperty", {AutomationArg::Text("U_Admin"), AutomationArg::Boolean(true)}},
    {"Save"},
};

TEST_F(ServerAutomationTest, FinishedWizardCreatesDomainAndAdministrator) {
    // The user and domain are trimmed; host name and password go as typed.
    ScriptedWizard wizard(
        WizardEntries{u" mail.example.com", u"  example.com ", u" admin ", u" s3cret "});
    RunPostInstallWizard(wizard, automation, system);
    EXPECT_EQ(wizard.shown, 1);
    ExpectSteps(automation, kWizardSteps);
    for (const Record& record : automation.Records()) {
        EXPECT_EQ(record.result, 0u) << record.method << " rejected by the server's signature";
    }
}

TEST_F(ServerAutomationTest, CancelledWizardCreatesNothing) {
    ScriptedWizard wizard(std::nullopt);
    RunPostInstallWizard(wizard, automation, system);
    EXPECT_EQ(wizard.shown, 1);
    EXPECT_TRUE(automation.Records().empty());
}

TEST_F(ServerAutomationTest, AccountNameStartsWithCapitalOnlyForAsciiLetters) {
    struct Case {
        std::u16string user;
        std::string name;
    } cases[] = {
        {u"admin", "Admin"}, {u"Zed", "Zed"},
        {u"1st", "1st"},     {u"\u00e9lise", "\xe9lise"},  // a non-ASCII letter stays as it is
        {u"_x", "_x"},
    };
    for (const Case& c : cases) {
        automation.ClearRecords();
        CreateDomainAdministrator(automation, TakeWizardValues({u"h", u"d", c.user, u"p"}, system));
        bool found = false;
        for (const Record& record : automation.Records()) {
            if (record.method == "SetProperty" && record.arguments[0].text == "U_Name") {
                EXPECT_EQ(record.arguments[1], AutomationArg::TextByRef(c.name));
                found = true;
            }
        }
        EXPECT_TRUE(found) << "no U_Name for " << c.name;
    }
}

TEST_F(ServerAutomationTest, FirstFailureEndsOnlyItsOwnOperation) {
    automation.FailCall("CorvaneServer.DomainObject", "SetProperty");
    ScriptedWizard wizard(
        WizardEntries{u" mail.example.com", u"example.com", u"admin", u" s3cret "});
    RunPostInstallWizard(wizard, automation, system);

    std::vector<Step> expected(kWizardSteps.begin(), kWizardSteps.begin() + 3);
    expected.insert(expected.end(), kWizardSteps.begin() + 9, kWizardSteps.end());
    ExpectSteps(automation, expected);
}

TEST_F(ServerAutomationTest, MissingLibraryChangesNothing) {
    FakeAutomation unregistered;
    ScriptedWizard wizard(WizardEntries{u"h", u"example.com", u"admin", u""});
    RunPostInstallWizard(wizard, unregistered, system);
    ExpectSteps(unregistered, {{"+CorvaneServer.DomainObject"}, {"+CorvaneServer.AccountObject"}});
    EXPECT_EQ(unregistered.Records()[0].result, platform::hresult::kInvalidProgId);
}

TEST_F(ServerAutomationTest, SwitchToDatabaseStorageCreatesTablesThenConverts) {
    const std::string connection = "mail;sa;pw;db1;2;1|b;v;q;k;2;1";
    RecordingLog log;
    SwitchToDatabaseStorage(automation, system, connection, log);
    EXPECT_TRUE(log.lines.empty());
    ExpectSteps(
        automation,
        {
            {"+CorvaneServer.APIObject"},
            {"CreateTables", {AutomationArg::Integer(2), AutomationArg::TextByRef(connection)}},
            {"CreateTables", {AutomationArg::Integer(3), AutomationArg::TextByRef(connection)}},
            {"CreateTables", {AutomationArg::Integer(0), AutomationArg::TextByRef(connection)}},
            {"SetProperty",
             {AutomationArg::Text("C_System_Storage_Accounts_StorageMode"),
              AutomationArg::Integer(2)}},
            {"Save"},
            {"+CorvaneServer.APIObject"},
            {"ConvertStorage", {AutomationArg::Boolean(true)}},
        });
    EXPECT_EQ(automation.Records()[6].instance, 2) << "a new instance converts";
    EXPECT_EQ(system.Sleeps(), (std::vector<uint32_t>{2000, 2000}));
}

TEST_F(ServerAutomationTest, SwitchStopsAtARejectedTableSet) {
    automation.FailCall("CorvaneServer.APIObject", "CreateTables");
    RecordingLog log;
    SwitchToDatabaseStorage(automation, system, "x;;;;0;0", log);
    ExpectSteps(automation, {{"+CorvaneServer.APIObject"},
                             {"CreateTables",
                              {AutomationArg::Integer(2), AutomationArg::TextByRef("x;;;;0;0")}}});
    EXPECT_TRUE(system.Sleeps().empty());
    EXPECT_EQ(log.lines, (std::vector<std::string>{
                             "Error: Switching to database storage failed at CreateTables 2: "
                             "CorvaneServer.APIObject.CreateTables (0x80004005)"}));
}

// The log names the failing step and the server's error, but no password even when the server's
// error quotes the connection.
TEST_F(ServerAutomationTest, FailedSwitchIsLoggedWithoutPasswords) {
    const struct {
        const char* method;
        const char* description;
        const char* line;
    } cases[] = {
        {"SetProperty", "", "SetProperty C_System_Storage_Accounts_StorageMode: "},
        {"ConvertStorage", "cannot use mail;sa;s3cret;db1;2;1|b|v|p4ss|k|2|1",
         "ConvertStorage: CorvaneServer.APIObject.ConvertStorage: cannot use "
         "mail;sa;******;db1;2;1|b|v|****|k|2|1 (0x80004005)"},
    };
    for (const auto& c : cases) {
        platform::FakeAutomation failing;
        for (auto& definition : tolva::testing::ServerAutomationClasses()) {
            failing.DefineClass(definition);
        }
        failing.FailCall("CorvaneServer.APIObject", c.method, c.description);
        RecordingLog log;
        SwitchToDatabaseStorage(failing, system, "mail;sa;s3cret;db1;2;1|b|v|p4ss|k|2|1", log);
        ASSERT_EQ(log.lines.size(), 1u) << c.method;
        EXPECT_TRUE(log.lines[0].starts_with("Error: Switching to database storage failed at " +
                                             std::string(c.line)))
            << log.lines[0];
        EXPECT_EQ(log.lines[0].find("s3cret"), std::string::npos) << log.lines[0];
        EXPECT_EQ(log.lines[0].find("p4ss"), std::string::npos) << log.lines[0];
    }
    platform::FakeAutomation empty;
    RecordingLog log;
    SwitchToDatabaseStorage(empty, system, "mail;;;;0;1", log);
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"Error: Switching to database storage failed at Create "
                                        "CorvaneServer.APIObject: Create CorvaneServer.APIObject "
                                        "(0x800401F3)"}))
        << "a missing automation library";
}

TEST(WizardValuesTest, TrimsConvertsAndLimitsTheTextValues) {
    platform::FakeSystem system;
    const std::u16string longUser(300, u'u');
    struct Case {
        WizardEntries entries;
        std::string domain, user, address;
    } cases[] = {
        {{u" h ", u"\texample.com\r\n", u" admin ", u" p "},
         "example.com",
         "admin",
         "admin@example.com"},
        {{u"h", u"b\u00fccher.de", u"\u0416ack", u""},
         "b\xfc"
         "cher.de",
         "?ack",
         "?ack@b\xfc"
         "cher.de"},
        {{u"h", u"d.com", longUser, u""}, "d.com", std::string(255, 'u'), std::string(255, 'u')},
        {{u"", u"", u"", u""}, "", "", "@"},
    };
    for (const Case& c : cases) {
        WizardValues values = TakeWizardValues(c.entries, system);
        EXPECT_EQ(values.domain, c.domain);
        EXPECT_EQ(values.user, c.user);
        EXPECT_EQ(values.address, c.address);
        EXPECT_EQ(values.hostName, c.entries.hostName);
        EXPECT_EQ(values.password, c.entries.password);
    }
}

}  // namespace
}  // namespace tolva::provisioning
