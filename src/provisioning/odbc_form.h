#pragma once
// The database dialog: the primary and backup connection, the SQL syntax and the client driver.
// Confirming it tests the connection with the installer's own clients; only a working connection
// (or Cancel) closes it. While it is open, the server's database library keeps the connection it
// had before, which it is given back when the dialog closes.

#include <optional>
#include <string>

#include "platform/platform.h"
#include "provisioning/connection_string.h"
#include "provisioning/connection_test.h"
#include "stores/settings_store.h"
#include "ui/application.h"
#include "ui/form.h"

namespace tolva::provisioning {

class TODBCForm : public ui::Form {
public:
    // programFolder: the folder of the running program with a trailing backslash, where relative
    // SQLite file names are taken.
    TODBCForm(ui::Application& application, const platform::Platform& platform,
              stores::SettingsStore& settings, std::string programFolder);

    // The installer's use: without backup connection and table buttons, filled from connection;
    // the string the user confirmed with OK, nothing when the dialog was cancelled.
    std::optional<std::string> EditConnection(const std::string& connection);

    void ApplyConnectionString(std::string_view connection);
    std::string BuildConnectionString() const;
    ConnectionFields Fields() const;
    bool TestDatabaseConnection(bool quiet);

    void FormShow(ui::Form& sender);
    void FormClose(ui::Form& sender);
    void FormCloseQuery(ui::Form& sender, bool& canClose);
    void FormKeyPress(ui::Form& sender, char16_t& key);
    void TestButtonClick(ui::Component& sender);

    ui::Component* PrimaryConnBox = nullptr;
    ui::Component* PNameEdit = nullptr;
    ui::Component* PUserEdit = nullptr;
    ui::Component* PPassEdit = nullptr;
    ui::Component* PHostEdit = nullptr;
    ui::Component* BackupConnBox = nullptr;
    ui::Component* BNameEdit = nullptr;
    ui::Component* BUserEdit = nullptr;
    ui::Component* BPassEdit = nullptr;
    ui::Component* BHostEdit = nullptr;
    ui::Component* DatabaseBox = nullptr;
    ui::Component* DBType = nullptr;
    ui::Component* DBDriver = nullptr;
    ui::Component* CreateTablesBut = nullptr;
    ui::Component* DropTablesBut = nullptr;
    ui::Component* TestButton = nullptr;
    ui::Component* OKButton = nullptr;
    ui::Component* CancelButton = nullptr;

private:
    struct ConnectionEdits {
        ui::Component* name;
        ui::Component* user;
        ui::Component* password;
        ui::Component* host;
    };

    // Says which field holds a separator the connection string cannot carry; false then.
    bool FieldsFitTheConnectionString();
    ConnectionEdits AddConnectionBox(ui::Component*& box, const char* boxName,
                                     std::u16string caption, char prefix);
    ui::Component& AddLabelled(ui::Component& box, int column, int row, const char* className,
                               std::string name, std::string labelName, std::u16string caption);
    // The group boxes stand one under the other from the top, hidden ones taking no room; the
    // buttons follow the last one and the window ends below them.
    void ArrangeBoxes();

    const platform::Platform& platform_;
    stores::SettingsStore& settings_;
    DatabaseConnectionTest test_;
    // The database library's connection while the dialog is open, when it could be read.
    std::optional<std::string> keptConnection_;
};

}  // namespace tolva::provisioning
