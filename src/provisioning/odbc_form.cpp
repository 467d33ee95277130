#include "provisioning/odbc_form.h"

#include <vector>

#include "i18n/ui_strings.h"
#include "provisioning/odbc_data_sources.h"
#include "util/text.h"

namespace tolva::provisioning {
namespace {

constexpr char16_t kEscape = 27;
constexpr size_t kShortStringLength = 255;

constexpr int kWidth = 472;
constexpr int kBoxLeft = 8;
constexpr int kBoxWidth = kWidth - 2 * kBoxLeft;
constexpr int kConnectionBoxHeight = 74;
constexpr int kDatabaseBoxHeight = 78;
constexpr int kGap = 2;
constexpr int kMargin = 4;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
// Two columns of a caption and its field, two rows per box.
constexpr int kColumnLeft[] = {12, 236};
constexpr int kCaptionWidth = 76;
constexpr int kFieldWidth[] = {132, 128};
constexpr int kRowTop[] = {18, 44};

std::vector<std::u16string> ListItems(const auto& items) {
    return {items.begin(), items.end()};
}

}  // namespace

TODBCForm::TODBCForm(ui::Application& application, const platform::Platform& platform,
                     stores::SettingsStore& settings, std::string programFolder)
    : Form(application, "TODBCForm", "ODBCForm"),
      platform_(platform),
      settings_(settings),
      test_(*platform.libraries, *platform.dialogs, *platform.system, std::move(programFolder)) {
    SetCaption(u"Database");
    SetBorderStyle(ui::BorderStyle::kToolWindow);
    SetPosition(ui::FormPosition::kScreenCenter);
    SetKeyPreview(true);

    const ConnectionEdits primary =
        AddConnectionBox(PrimaryConnBox, "PrimaryConnBox", u"Primary Connection", 'P');
    PNameEdit = primary.name;
    PUserEdit = primary.user;
    PPassEdit = primary.password;
    PHostEdit = primary.host;
    const ConnectionEdits backup =
        AddConnectionBox(BackupConnBox, "BackupConnBox", u"Backup Connection", 'B');
    BNameEdit = backup.name;
    BUserEdit = backup.user;
    BPassEdit = backup.password;
    BHostEdit = backup.host;

    DatabaseBox = &Add({.className = "TTntGroupBox",
                        .name = "DatabaseBox",
                        .bounds = {kBoxLeft, 0, kBoxWidth, kDatabaseBoxHeight},
                        .text = u"Database"});
    DBType = &AddLabelled(*DatabaseBox, 0, 0, "TTntComboBox", "DBType", "DBTypeLabel", u"Syntax:");
    DBType->SetComboStyle(ui::ComboStyle::kDropDownList);
    DBType->SetItems(ListItems(kSyntaxItems));
    DBDriver =
        &AddLabelled(*DatabaseBox, 1, 0, "TTntComboBox", "DBDriver", "DBDriverLabel", u"Driver:");
    DBDriver->SetComboStyle(ui::ComboStyle::kDropDownList);
    DBDriver->SetItems(ListItems(kDriverItems));
    const int buttonsLeft = kColumnLeft[0] + kCaptionWidth + 4;
    CreateTablesBut = &Add({.className = "TTntButton",
                            .name = "CreateTablesBut",
                            .parent = DatabaseBox,
                            .bounds = {buttonsLeft, kRowTop[1], 64, kButtonHeight},
                            .text = u"Create Tables"});
    DropTablesBut = &Add({.className = "TTntButton",
                          .name = "DropTablesBut",
                          .parent = DatabaseBox,
                          .bounds = {buttonsLeft + 68, kRowTop[1], 64, kButtonHeight},
                          .text = u"Drop Tables"});
    const int testLeft = kColumnLeft[1] + kCaptionWidth + 4;
    TestButton = &Add({.className = "TTntButton",
                       .name = "TestButton",
                       .parent = DatabaseBox,
                       .bounds = {testLeft, kRowTop[1], kFieldWidth[1], kButtonHeight},
                       .text = u"Test Connection"});

    const int cancelLeft = kWidth - kBoxLeft - kButtonWidth;
    OKButton = &Add({.className = "TTntButton",
                     .name = "OKButton",
                     .bounds = {cancelLeft - 6 - kButtonWidth, 0, kButtonWidth, kButtonHeight},
                     .text = u"&OK"});
    OKButton->SetDefault(true);
    OKButton->SetModalResult(ui::ModalResult::kOk);
    CancelButton = &Add({.className = "TTntButton",
                         .name = "CancelButton",
                         .bounds = {cancelLeft, 0, kButtonWidth, kButtonHeight},
                         .text = u"&Cancel"});
    CancelButton->SetModalResult(ui::ModalResult::kCancel);
    ArrangeBoxes();

    Bind(events.show, &TODBCForm::FormShow);
    Bind(events.close, &TODBCForm::FormClose);
    Bind(events.closeQuery, &TODBCForm::FormCloseQuery);
    Bind(events.keyPress, &TODBCForm::FormKeyPress);
    Bind(TestButton->events.click, &TODBCForm::TestButtonClick);
}

TODBCForm::ConnectionEdits TODBCForm::AddConnectionBox(ui::Component*& box, const char* boxName,
                                                       std::u16string caption, char prefix) {
    box = &Add({.className = "TTntGroupBox",
                .name = boxName,
                .bounds = {kBoxLeft, 0, kBoxWidth, kConnectionBoxHeight},
                .text = std::move(caption)});
    const std::string name(1, prefix);
    ConnectionEdits edits{};
    edits.name =
        &AddLabelled(*box, 0, 0, "TTntComboBox", name + "NameEdit", name + "NameLabel", u"DSN:");
    edits.user =
        &AddLabelled(*box, 1, 0, "TTntEdit", name + "UserEdit", name + "UserLabel", u"Username:");
    edits.password =
        &AddLabelled(*box, 0, 1, "TTntEdit", name + "PassEdit", name + "PassLabel", u"Password:");
    edits.password->SetPasswordChar(u'*');
    edits.host =
        &AddLabelled(*box, 1, 1, "TTntEdit", name + "HostEdit", name + "HostLabel", u"Server:");
    return edits;
}

ui::Component& TODBCForm::AddLabelled(ui::Component& box, int column, int row,
                                      const char* className, std::string name,
                                      std::string labelName, std::u16string caption) {
    auto& label = Add({.className = "TTntLabel",
                       .name = std::move(labelName),
                       .parent = &box,
                       .bounds = {kColumnLeft[column], kRowTop[row] + 4, kCaptionWidth, 13},
                       .text = std::move(caption)});
    auto& field = Add({.className = className,
                       .name = std::move(name),
                       .parent = &box,
                       .bounds = {kColumnLeft[column] + kCaptionWidth + 4, kRowTop[row],
                                  kFieldWidth[column], 21}});
    label.SetFocusControl(&field);
    return field;
}

void TODBCForm::ArrangeBoxes() {
    int top = kMargin;
    for (ui::Component* box : {PrimaryConnBox, BackupConnBox, DatabaseBox}) {
        if (!box->Visible()) {
            continue;
        }
        ui::Bounds bounds = box->GetBounds();
        bounds.top = top;
        box->SetBounds(bounds);
        top += bounds.height + kGap;
    }
    top += kMargin - kGap;
    for (ui::Component* button : {OKButton, CancelButton}) {
        ui::Bounds bounds = button->GetBounds();
        bounds.top = top;
        button->SetBounds(bounds);
    }
    SetClientSize(kWidth, top + kButtonHeight + kMargin);
}

std::optional<std::string> TODBCForm::EditConnection(const std::string& connection) {
    BackupConnBox->SetVisible(false);
    CreateTablesBut->SetVisible(false);
    DropTablesBut->SetVisible(false);
    ArrangeBoxes();
    ApplyConnectionString(connection);
    if (ShowModal() != ui::ModalResult::kOk) {
        return std::nullopt;
    }
    return BuildConnectionString();
}

void TODBCForm::ApplyConnectionString(std::string_view connection) {
    ConnectionFields fields;
    provisioning::ApplyConnectionString(connection, settings_.Record().DefaultDbSyntax(),
                                        *platform_.system, fields);
    PNameEdit->SetText(fields.primaryName);
    PUserEdit->SetText(fields.primaryUser);
    PPassEdit->SetText(fields.primaryPassword);
    PHostEdit->SetText(fields.primaryHost);
    BNameEdit->SetText(fields.backupName);
    BUserEdit->SetText(fields.backupUser);
    BPassEdit->SetText(fields.backupPassword);
    BHostEdit->SetText(fields.backupHost);
    DBType->SetItemIndex(fields.syntax);
    DBDriver->SetItemIndex(fields.driver);
}

ConnectionFields TODBCForm::Fields() const {
    return {PNameEdit->Text(),   PUserEdit->Text(),    PPassEdit->Text(), PHostEdit->Text(),
            BNameEdit->Text(),   BUserEdit->Text(),    BPassEdit->Text(), BHostEdit->Text(),
            DBType->ItemIndex(), DBDriver->ItemIndex()};
}

std::string TODBCForm::BuildConnectionString() const {
    return provisioning::BuildConnectionString(Fields(), *platform_.system);
}

bool TODBCForm::TestDatabaseConnection(bool quiet) {
    return FieldsFitTheConnectionString() && test_.TestDatabaseConnection(Fields(), quiet);
}

bool TODBCForm::FieldsFitTheConnectionString() {
    const std::optional<ConnectionField> field = FieldHoldingSeparator(Fields());
    if (!field) {
        return true;
    }
    // The field is named as the user sees it: its label, in its group box.
    const int index = static_cast<int>(*field);
    const bool primary = index < 4;
    constexpr const char* kLabels[] = {"NameLabel", "UserLabel", "PassLabel", "HostLabel"};
    std::u16string name = Find(std::string(primary ? "P" : "B") + kLabels[index % 4])->Text();
    if (name.ends_with(u':')) {
        name.pop_back();
    }
    name += u" (" + (primary ? PrimaryConnBox : BackupConnBox)->Text() + u")";
    platform::MessageBoxRequest refusal;
    refusal.text = util::FillMarks(i18n::Text(i18n::cDatabaseFieldReserved), {name});
    refusal.caption = i18n::Text(i18n::cError);
    refusal.buttons = platform::DialogButtons::kOk;
    refusal.icon = platform::DialogIcon::kError;
    (void)platform_.dialogs->ShowMessageBox(refusal);
    return false;
}

void TODBCForm::FormShow(ui::Form&) {
    std::vector<std::u16string> sources;
    for (const std::string& name :
         ListOdbcDataSources(*platform_.registry, platform::RegistryRoot::kLocalMachine)) {
        sources.push_back(platform_.system->AnsiToWide(name));
    }
    for (ui::Component* list : {PNameEdit, BNameEdit}) {
        const std::u16string typed = list->Text();
        list->SetItems(sources);
        list->SetText(typed);
    }
    SetFocus(*PNameEdit);
    PNameEdit->SelectAll();
    keptConnection_.reset();
    stores::DatabaseLibrary& library = settings_.Database();
    if (library.ConnectDatabaseLibrary(false)) {
        keptConnection_ = library.DBGetConnection();
        if (keptConnection_ && keptConnection_->size() > kShortStringLength) {
            keptConnection_->resize(kShortStringLength);
        }
    }
}

void TODBCForm::FormClose(ui::Form&) {
    stores::DatabaseLibrary& library = settings_.Database();
    // Only a connection read at the showing goes back: the library is never handed an empty one
    // in place of a connection it had.
    if (keptConnection_ && library.ConnectDatabaseLibrary(false)) {
        library.DBSetConnection(*keptConnection_);
    }
    keptConnection_.reset();
    for (ui::Component* button : {CreateTablesBut, DropTablesBut, TestButton}) {
        button->SetEnabled(true);
    }
}

void TODBCForm::FormCloseQuery(ui::Form&, bool& canClose) {
    if (GetModalResult() != ui::ModalResult::kOk) {
        return;
    }
    canClose = !PNameEdit->Text().empty() && TestDatabaseConnection(true);
}

void TODBCForm::FormKeyPress(ui::Form&, char16_t& key) {
    if (key == kEscape) {
        key = 0;
        SetModalResult(ui::ModalResult::kCancel);
    }
}

void TODBCForm::TestButtonClick(ui::Component&) {
    TestDatabaseConnection(false);
}

}  // namespace tolva::provisioning
