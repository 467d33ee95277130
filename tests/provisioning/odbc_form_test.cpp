#include "provisioning/odbc_form.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "platform/host/host_platform.h"
#include "stores/database_entry_points.h"
#include "ui/application.h"
#include "ui/form_snapshot.h"
#include "ui/headless_display.h"
#include "util/utf8.h"

namespace tolva::provisioning {
namespace {

using platform::DialogIcon;
using platform::RegistryRoot;
using ui::Key;

constexpr char kSources[] = "SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources";

// The dialog over this machine's client libraries, a registry and message boxes in memory, and
// the program in C:\setup\ (a host folder).
class OdbcFormTest : public ::testing::Test {
protected:
    OdbcFormTest() : root_(std::filesystem::temp_directory_path() / "tolva-odbcform-XXXXXX") {
        if (::mkdtemp(root_.data()) == nullptr) {
            std::abort();
        }
        std::filesystem::create_directories(root_ + "/c/setup");
        host_ = std::make_unique<platform::HostPlatform>(root_);
        settings_ = std::make_unique<stores::SettingsStore>(host_->Services());
        dialog_ =
            std::make_unique<TODBCForm>(application_, host_->Services(), *settings_, "C:\\setup\\");
    }
    ~OdbcFormTest() override {
        dialog_.reset();
        settings_.reset();
        host_.reset();
        std::filesystem::remove_all(root_);
    }

    platform::FakeDialogs& Dialogs() { return host_->Dialogs(); }

    std::string root_;
    std::unique_ptr<platform::HostPlatform> host_;
    std::unique_ptr<stores::SettingsStore> settings_;
    ui::HeadlessDisplay display_;
    ui::Application application_{display_};
    std::unique_ptr<TODBCForm> dialog_;
};

TEST_F(OdbcFormTest, InstallerShowsThePrimaryConnectionOnly) {
    for (const char* name : {"mail", "Accounts"}) {
        ASSERT_TRUE(host_->Registry()
                        .WriteString(RegistryRoot::kLocalMachine, kSources, name, "SQLite3")
                        .ok());
    }
    ASSERT_TRUE(host_->Registry()
                    .WriteString(RegistryRoot::kCurrentUser, kSources, "mine", "SQLite3")
                    .ok());
    std::u16string shown;
    display_.ScriptModal("TODBCForm", [&](ui::Form& form) {
        shown = ui::DescribeForm(form);
        EXPECT_EQ(dialog_->PNameEdit->ItemsText(), u"Accounts\r\nmail\r\n");
        EXPECT_EQ(dialog_->BNameEdit->ItemsText(), u"Accounts\r\nmail\r\n");
        EXPECT_EQ(dialog_->PNameEdit->SelLength(), 9) << "the DSN is selected";
        EXPECT_TRUE(display_.Click(form, "CancelButton"));
    });
    EXPECT_EQ(dialog_->EditConnection("lists?x=1;sa;s3cret;db1;2;1"), std::nullopt);
    EXPECT_EQ(util::WideToUTF8(shown),
              "form TODBCForm \"Database\"\n"
              "group PrimaryConnBox \"Primary Connection\"\n"
              "label PNameLabel \"DSN:\"\n"
              "combo PNameEdit \"lists?x=1\" focused\n"
              "label PUserLabel \"Username:\"\n"
              "edit PUserEdit \"sa\"\n"
              "label PPassLabel \"Password:\"\n"
              "edit PPassEdit \"******\"\n"
              "label PHostLabel \"Server:\"\n"
              "edit PHostEdit \"db1\"\n"
              "group DatabaseBox \"Database\"\n"
              "label DBTypeLabel \"Syntax:\"\n"
              "combo DBType \"MS SQL\"\n"
              "label DBDriverLabel \"Driver:\"\n"
              "combo DBDriver \"ODBC\"\n"
              "button TestButton \"Test Connection\"\n"
              "button OKButton \"OK\" default\n"
              "button CancelButton \"Cancel\"\n");
    EXPECT_TRUE(Dialogs().Shown().empty()) << "Cancel tests nothing";
    // The boxes close up: the buttons stand under the database box and the window ends there.
    EXPECT_EQ(dialog_->DatabaseBox->GetBounds().top,
              dialog_->PrimaryConnBox->GetBounds().Bottom() + 2);
    EXPECT_EQ(dialog_->OKButton->GetBounds().top, dialog_->DatabaseBox->GetBounds().Bottom() + 4);
    EXPECT_EQ(dialog_->ClientHeight(), dialog_->OKButton->GetBounds().Bottom() + 4);
}

// The fields a connection string fills, and the string the dialog builds from them again.
TEST_F(OdbcFormTest, ConnectionStringFillsTheFieldsAndComesBack) {
    settings_->Record().SetDefaultDbSyntax(3);
    const struct {
        const char* connection;
        std::string fields;  // DSN user password server | backup ... | syntax driver
        const char* built;
    } cases[] = {
        {"mail;sa;;db1;2;1", "mail sa  db1 |     | MS SQL ODBC", "mail;sa;;db1;2;1"},
        {"a;u;p;h;3;2|b;v;q;k;3;2", "a u p h | b v q k | My SQL My SQL", "a;u;p;h;3;2|b|v|q|k|3|2"},
        {"", "    |     | My SQL Default", ";;;;3;0"},
    };
    for (const auto& c : cases) {
        dialog_->ApplyConnectionString(c.connection);
        const ConnectionFields f = dialog_->Fields();
        const std::string fields = util::WideToUTF8(
            f.primaryName + u" " + f.primaryUser + u" " + f.primaryPassword + u" " + f.primaryHost +
            u" | " + f.backupName + u" " + f.backupUser + u" " + f.backupPassword + u" " +
            f.backupHost + u" | " + ui::ShownText(*dialog_->DBType) + u" " +
            ui::ShownText(*dialog_->DBDriver));
        EXPECT_EQ(fields, c.fields) << c.connection;
        EXPECT_EQ(dialog_->BuildConnectionString(), c.built) << c.connection;
    }
}

// How the dialog ends for each thing the user does, and the message boxes on the way.
TEST_F(OdbcFormTest, OnlyAWorkingConnectionConfirms) {
    using Act = std::function<ui::ActionResult(ui::HeadlessDisplay&, ui::Form&)>;
    auto click = [](const char* name) -> Act {
        return [=](auto& display, auto& form) { return display.Click(form, name); };
    };
    const struct {
        const char* what;
        const char* connection;
        std::vector<Act> acts;  // the dialog must be closed after them
        std::optional<std::string> result;
        std::vector<std::u16string> boxes;
        bool leftOpen = false;
    } cases[] = {
        {"a working SQLite file",
         "accounts.db;;;;0;3",
         {click("OKButton")},
         "accounts.db;;;;0;3",
         {}},
        {"OK with Enter",
         "accounts.db;;;;0;3",
         {[](auto& display, auto& form) { return display.Press(form, Key::kEnter); }},
         "accounts.db;;;;0;3",
         {}},
        {"an empty DSN keeps the dialog open without a word",
         ";;;;0;3",
         {click("OKButton")},
         std::nullopt,
         {},
         true},
        {"a failing connection keeps it open and says why",
         "no\\such\\a.db;;;;0;3",
         {click("OKButton")},
         std::nullopt,
         {u"Failed to open database \"C:\\setup\\no\\such\\a.db\" : unable to open database file"},
         true},
        {"Test Connection reports success and stays open",
         "accounts.db;;;;0;3",
         {click("TestButton")},
         std::nullopt,
         {u"Database connection test successful."},
         true},
        {"a password holding \";\" is refused before any test, naming the field",
         "accounts.db;;;;0;3",
         {[](auto& display, auto& form) { return display.Type(form, "PPassEdit", u"x;host2"); },
          click("OKButton")},
         std::nullopt,
         {u"Password (Primary Connection) must not hold \";\" or \"|\": the database connection "
          u"separates its values with them."},
         true},
        {"so is a user holding \"|\", by Test Connection too",
         "accounts.db;;;;0;3",
         {[](auto& display, auto& form) { return display.Type(form, "PUserEdit", u"sa|b"); },
          click("TestButton")},
         std::nullopt,
         {u"Username (Primary Connection) must not hold \";\" or \"|\": the database connection "
          u"separates its values with them."},
         true},
        {"Cancel tests nothing",
         "no\\such\\a.db;;;;0;3",
         {click("CancelButton")},
         std::nullopt,
         {}},
        {"Esc is Cancel",
         "no\\such\\a.db;;;;0;3",
         {[](auto& display, auto& form) { return display.Press(form, Key::kEscape); }},
         std::nullopt,
         {}},
    };
    for (const auto& c : cases) {
        const size_t before = Dialogs().Shown().size();
        display_.ScriptModal("TODBCForm", [&](ui::Form& form) {
            for (const Act& act : c.acts) {
                EXPECT_TRUE(act(display_, form)) << c.what;
            }
            EXPECT_EQ(form.Showing(), c.leftOpen) << c.what;
            if (form.Showing()) {
                EXPECT_TRUE(display_.Click(form, "CancelButton"));
            }
        });
        EXPECT_EQ(dialog_->EditConnection(c.connection), c.result) << c.what;
        std::vector<std::u16string> boxes;
        for (size_t i = before; i < Dialogs().Shown().size(); ++i) {
            boxes.push_back(Dialogs().Shown()[i].text);
        }
        EXPECT_EQ(boxes, c.boxes) << c.what;
    }
    EXPECT_EQ(display_.Problems(), std::vector<std::string>{});
}

// The server's database library in memory: the connection it holds and the calls it gets.
struct FakeDatabaseLibrary {
    static inline std::string connection;
    static inline std::vector<std::string> calls;

    static void TOLVA_DB_CALL SetConnection(const char* text) {
        connection = text;
        calls.push_back("DBSetConnection " + connection);
    }
    static void TOLVA_DB_CALL LoadConfig(const char* root) {
        calls.push_back(std::string("DBLoadConfig ") + root);
    }
    static const char* TOLVA_DB_CALL GetConnection() {
        calls.push_back("DBGetConnection");
        return connection.c_str();
    }
};

// While the dialog is open the library's connection may change (the administration console
// tests through it); closing gives the library back the connection it had.
TEST(OdbcFormLibrary, ClosingGivesTheLibraryItsConnectionBack) {
    const struct {
        const char* what;
        bool installed;
        bool readable;
        std::vector<std::string> calls;
    } cases[] = {
        {"installed",
         true,
         true,
         {"DBSetConnection stored;u;p;h;3;2", "DBLoadConfig C:\\Tolva\\", "DBGetConnection",
          "DBSetConnection changed", "DBSetConnection stored;u;p;h;3;2"}},
        // A library that cannot say its connection is not handed an empty one.
        {"without DBGetConnection",
         true,
         false,
         {"DBSetConnection stored;u;p;h;3;2", "DBLoadConfig C:\\Tolva\\",
          "DBSetConnection changed"}},
        {"missing", false, false, {}},
    };
    for (const auto& c : cases) {
        platform::FakePlatform machine;
        ASSERT_TRUE(machine.Files().CreateFolders("C:\\Tolva").ok());
        if (c.installed) {
            std::map<std::string, void*> entries{
                {"DBSetConnection", reinterpret_cast<void*>(&FakeDatabaseLibrary::SetConnection)},
                {"DBLoadConfig", reinterpret_cast<void*>(&FakeDatabaseLibrary::LoadConfig)}};
            if (c.readable) {
                entries["DBGetConnection"] =
                    reinterpret_cast<void*>(&FakeDatabaseLibrary::GetConnection);
            }
            machine.Libraries().Add("C:\\Tolva\\db.dll", entries);
        }
        FakeDatabaseLibrary::calls.clear();
        stores::SettingsStore settings(machine.Services());
        settings.SetRootFolder("C:\\Tolva\\");
        settings.Record().SetAccountStorageConnection("stored;u;p;h;3;2");
        ui::HeadlessDisplay display;
        ui::Application application(display);
        TODBCForm dialog(application, machine.Services(), settings, "C:\\setup\\");
        display.ScriptModal("TODBCForm", [&](ui::Form& form) {
            settings.Database().DBSetConnection("changed");
            EXPECT_TRUE(display.Click(form, "CancelButton"));
        });
        EXPECT_EQ(dialog.EditConnection("mail;;;;0;0"), std::nullopt);
        EXPECT_EQ(FakeDatabaseLibrary::calls, c.calls) << c.what;
        EXPECT_TRUE(display.Problems().empty());
    }
}

}  // namespace
}  // namespace tolva::provisioning
