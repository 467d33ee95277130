#include "sample_form.h"

#include <cmath>

#include "ui/application.h"
#include "ui/visibility.h"
#include "util/utf8.h"

namespace tolva::ui::sample {
namespace {

constexpr uint32_t kBoxEdge = 0xFF7A7A7A;
constexpr uint32_t kBoxFace = 0xFFFFFFFF;
constexpr uint32_t kMark = 0xFF1E5AA8;
constexpr uint32_t kFixedMark = 0xFF9A9A9A;

Picture Box(uint32_t face) {
    Picture picture{16, 16, std::vector<uint32_t>(256, 0)};
    for (int y = 2; y < 15; ++y) {
        for (int x = 1; x < 14; ++x) {
            bool edge = x == 1 || x == 13 || y == 2 || y == 14;
            picture.pixels[static_cast<size_t>(y * 16 + x)] = edge ? kBoxEdge : face;
        }
    }
    return picture;
}

void Tick(Picture& picture, uint32_t colour) {
    // A check mark: down from (4,8) to (6,10), up to (11,5), two pixels thick.
    const int points[][2] = {{4, 8}, {5, 9}, {6, 10}, {7, 9}, {8, 8}, {9, 7}, {10, 6}, {11, 5}};
    for (const auto& point : points) {
        for (int dy = 0; dy < 2; ++dy) {
            picture.pixels[static_cast<size_t>((point[1] + dy) * 16 + point[0])] = colour;
        }
    }
}

std::string Utf8(const std::u16string& text) {
    return util::WideToUTF8(text);
}

}  // namespace

std::vector<Picture> CheckStatePictures() {
    Picture selected = Box(kBoxFace);
    Tick(selected, kMark);
    Picture notSelected = Box(kBoxFace);
    Picture fixed = Box(0xFFEDEDED);
    Tick(fixed, kFixedMark);
    Picture partly = Box(kBoxFace);
    for (int y = 6; y < 11; ++y) {
        for (int x = 5; x < 10; ++x) {
            partly.pixels[static_cast<size_t>(y * 16 + x)] = kMark;
        }
    }
    return {selected, notSelected, fixed, partly};
}

Picture LogoPicture() {
    constexpr int kSize = 40;
    Picture picture{kSize, kSize, std::vector<uint32_t>(kSize * kSize, 0)};
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            double dx = x - 19.5;
            double dy = y - 19.5;
            double distance = std::sqrt(dx * dx + dy * dy);
            if (distance > 19.0) {
                continue;
            }
            auto blue = static_cast<uint32_t>(140 + 100 * (kSize - y) / kSize);
            auto green = static_cast<uint32_t>(60 + 80 * x / kSize);
            uint32_t alpha = distance > 18.0 ? 0x80 : 0xFF;
            picture.pixels[static_cast<size_t>(y * kSize + x)] =
                alpha << 24 | 0x20u << 16 | green << 8 | blue;
        }
    }
    return picture;
}

TSampleDialog::TSampleDialog(Application& application)
    : Form(application, "TSampleDialog", "SampleDialog") {
    SetCaption(u"Sample Dialog");
    SetClientSize(300, 110);
    Add({.className = "TTntLabel",
         .name = "ValueLabel",
         .bounds = {12, 16, 276, 13},
         .text = u"&Value (OK needs one):"});
    ValueEdit = &Add({.className = "TTntEdit", .name = "ValueEdit", .bounds = {12, 34, 276, 21}});
    Find("ValueLabel")->SetFocusControl(ValueEdit);
    auto& ok = Add({.className = "TTntButton",
                    .name = "OKButton",
                    .bounds = {132, 74, 75, 25},
                    .text = u"&OK"});
    ok.SetDefault(true);
    ok.SetModalResult(ModalResult::kOk);
    auto& cancel = Add({.className = "TTntButton",
                        .name = "CancelButton",
                        .bounds = {213, 74, 75, 25},
                        .text = u"&Cancel"});
    cancel.SetCancel(true);
    cancel.SetModalResult(ModalResult::kCancel);
    Bind(events.closeQuery, &TSampleDialog::FormCloseQuery);
}

void TSampleDialog::FormCloseQuery(Form&, bool& canClose) {
    if (GetModalResult() == ModalResult::kOk && ValueEdit->Text().empty()) {
        canClose = false;
    }
}

TSampleForm::TSampleForm(Application& application, platform::Dialogs& dialogs)
    : Form(application, "TSampleForm", "SampleForm"), dialogs_(dialogs) {
    SetCaption(u"Tolva Sample Form");
    SetClientSize(640, 440);
    SetBorderStyle(BorderStyle::kSingle);
    SetKeyPreview(true);

    Header = &Add({.className = "TPanel", .name = "Header", .bounds = {0, 0, 640, 57}});
    Header->SetColour(kColourWhite);
    Header->SetBevelOuter(PanelBevel::kNone);
    HeaderLabel = &Add({.className = "TTntLabel",
                        .name = "HeaderLabel",
                        .parent = Header,
                        .bounds = {16, 12, 500, 16},
                        .text = u"Every Kind of Control"});
    HeaderLabel->SetFont({.bold = true});
    Add({.className = "TTntLabel",
         .name = "SubLabel",
         .parent = Header,
         .bounds = {28, 32, 500, 14},
         .text = u"Drive it with the mouse and the keyboard; the tests read it back."});
    LogoImage = &Add(
        {.className = "TImage", .name = "LogoImage", .parent = Header, .bounds = {588, 8, 40, 40}});
    LogoImage->SetPicture(LogoPicture());
    auto& headerLine =
        Add({.className = "TBevel", .name = "HeaderBevel", .bounds = {0, 57, 640, 2}});
    headerLine.SetBevel(BevelShape::kTopLine, BevelStyle::kLowered);

    auto& details = Add({.className = "TTntGroupBox",
                         .name = "DetailsGroup",
                         .bounds = {12, 68, 300, 132},
                         .text = u"User Details"});
    auto label = [&](const char* name, int top, std::u16string text) -> Component& {
        return Add({.className = "TTntLabel",
                    .name = name,
                    .parent = &details,
                    .bounds = {12, top + 3, 80, 13},
                    .text = std::move(text)});
    };
    auto& nameLabel = label("NameLabel", 19, u"&Name:");
    NameEdit = &Add({.className = "TTntEdit",
                     .name = "NameEdit",
                     .parent = &details,
                     .bounds = {96, 19, 192, 21}});
    NameEdit->SetHint(u"Your full name");
    nameLabel.SetFocusControl(NameEdit);
    auto& passLabel = label("PassLabel", 46, u"&Password:");
    PassEdit = &Add({.className = "TTntEdit",
                     .name = "PassEdit",
                     .parent = &details,
                     .bounds = {96, 46, 192, 21}});
    PassEdit->SetPasswordChar(u'*');
    passLabel.SetFocusControl(PassEdit);
    auto& countryLabel = label("CountryLabel", 73, u"C&ountry:");
    CountryCombo = &Add({.className = "TTntComboBox",
                         .name = "CountryCombo",
                         .parent = &details,
                         .bounds = {96, 73, 192, 21}});
    CountryCombo->SetComboStyle(ComboStyle::kDropDownList);
    CountryCombo->SetItems(
        {u"Austria", u"Germany", u"Switzerland", u"United Kingdom", u"United States of America"});
    countryLabel.SetFocusControl(CountryCombo);
    auto& dsnLabel = label("DsnLabel", 100, u"&DSN:");
    DsnCombo = &Add({.className = "TTntComboBox",
                     .name = "DsnCombo",
                     .parent = &details,
                     .bounds = {96, 100, 192, 21}});
    DsnCombo->SetItems({u"mail", u"accounts"});
    dsnLabel.SetFocusControl(DsnCombo);

    auto& mode = Add({.className = "TTntGroupBox",
                      .name = "ModeGroup",
                      .bounds = {12, 206, 300, 64},
                      .text = u"Installation Mode"});
    BasicRadio = &Add({.className = "TTntRadioButton",
                       .name = "BasicRadio",
                       .parent = &mode,
                       .bounds = {12, 18, 280, 17},
                       .text = u"&Basic (recommended for under 100 accounts)"});
    BasicRadio->SetChecked(true);
    AdvancedRadio = &Add({.className = "TTntRadioButton",
                          .name = "AdvancedRadio",
                          .parent = &mode,
                          .bounds = {12, 38, 280, 17},
                          .text = u"Ad&vanced (100+ accounts, external database)"});
    AgreeCheck = &Add({.className = "TTntCheckBox",
                       .name = "AgreeCheck",
                       .bounds = {12, 276, 300, 17},
                       .text = u"I &agree with the license agreement"});
    LicenseMemo =
        &Add({.className = "TTntMemo", .name = "LicenseMemo", .bounds = {12, 298, 300, 56}});
    LicenseMemo->SetReadOnly(true);
    LicenseMemo->SetText(
        u"SOFTWARE LICENSE AGREEMENT\r\nRead this agreement before you install the "
        u"software. By ticking the box above you accept it.\r\nLine three.\r\nLine four.");
    ProgressBar =
        &Add({.className = "TProgressBar", .name = "ProgressBar", .bounds = {12, 362, 300, 16}});
    ProgressBar->SetRange(0, 12);
    ProgressBar->SetStep(1);

    ComponentsTree =
        &Add({.className = "TTreeView", .name = "ComponentsTree", .bounds = {324, 68, 304, 120}});
    ComponentsTree->SetStatePictures(CheckStatePictures());
    ComponentsTree->SetReadOnly(true);
    int core = ComponentsTree->AddNode(-1, u"Services and core files", 0);
    int admin = ComponentsTree->AddNode(-1, u"Administration", 12);
    ComponentsTree->AddNode(admin, u"Administration interface", 1);
    ComponentsTree->AddNode(admin, u"Desktop icon", 2);
    int modules = ComponentsTree->AddNode(-1, u"Modules", 13);
    ComponentsTree->AddNode(modules, u"Webmail", 4);
    ComponentsTree->AddNode(modules, u"Anti-Spam", 5);
    for (int node = 0; node < static_cast<int>(ComponentsTree->Nodes().size()); ++node) {
        ComponentsTree->SetNodeStatePicture(node, 0);
    }
    ComponentsTree->SetNodeStatePicture(core, 2);
    ComponentsTree->FullExpand();
    ComponentsTree->SetSelectedNode(core);

    FolderList =
        &Add({.className = "TListBox", .name = "FolderList", .bounds = {324, 194, 148, 64}});
    FolderList->SetItems({u"C:\\", u"Program Files", u"Tolva"});
    OptionsList =
        &Add({.className = "TCheckListBox", .name = "OptionsList", .bounds = {480, 194, 148, 64}});
    OptionsList->SetItems({u"Start services", u"Create icons", u"Send mail"});
    OptionsList->SetItemChecked(0, true);
    OptionsList->SetItemEnabled(2, false);
    AccountsView = &Add({.className = "TExtListViewManagement",
                         .name = "AccountsView",
                         .bounds = {324, 264, 304, 70}});
    AccountsView->SetColumns({u"Account", u"Domain"});
    AccountsView->SetItems({u"admin", u"info"});
    LinkLabel = &Add({.className = "TTntLabel",
                      .name = "LinkLabel",
                      .bounds = {324, 342, 304, 14},
                      .text = u"http://localhost/webmail/"});
    LinkLabel->SetFont({.underline = true, .colour = kColourBlue});
    LinkLabel->SetCursor(Cursor::kHandPoint);
    LinkLabel->SetShowAccelChar(false);
    StatusLabel = &Add({.className = "TTntLabel",
                        .name = "StatusLabel",
                        .bounds = {324, 362, 304, 14},
                        .text = u"Ready."});

    auto& footerLine =
        Add({.className = "TBevel", .name = "FooterBevel", .bounds = {0, 392, 640, 2}});
    footerLine.SetBevel(BevelShape::kTopLine, BevelStyle::kLowered);
    auto& dialogButton = Add({.className = "TTntButton",
                              .name = "DialogButton",
                              .bounds = {12, 404, 80, 25},
                              .text = u"D&ialog..."});
    auto& messageButton = Add({.className = "TTntButton",
                               .name = "MessageButton",
                               .bounds = {98, 404, 80, 25},
                               .text = u"&Message..."});
    BackButton = &Add({.className = "TTntButton",
                       .name = "BackButton",
                       .bounds = {384, 404, 75, 25},
                       .text = u"< B&ack"});
    BackButton->SetTag(0);
    NextButton = &Add({.className = "TTntButton",
                       .name = "NextButton",
                       .bounds = {463, 404, 75, 25},
                       .text = u"&Next >"});
    NextButton->SetTag(1);
    NextButton->SetDefault(true);
    NextButton->SetEnabled(false);
    CancelButton = &Add({.className = "TTntButton",
                         .name = "CancelButton",
                         .bounds = {553, 404, 75, 25},
                         .text = u"Cancel"});

    Bind(BackButton->events.click, &TSampleForm::BackButtonClick);
    Bind(NextButton->events.click, &TSampleForm::BackButtonClick);
    Bind(NameEdit->events.change, &TSampleForm::NameEditChange);
    Bind(AgreeCheck->events.click, &TSampleForm::AgreeCheckClick);
    Bind(BasicRadio->events.click, &TSampleForm::ModeRadioClick);
    Bind(AdvancedRadio->events.click, &TSampleForm::ModeRadioClick);
    Bind(CountryCombo->events.change, &TSampleForm::CountryComboChange);
    Bind(ComponentsTree->events.click, &TSampleForm::ComponentsTreeClick);
    Bind(ComponentsTree->events.keyPress, &TSampleForm::ComponentsTreeKeyPress);
    Bind(dialogButton.events.click, &TSampleForm::DialogButtonClick);
    Bind(messageButton.events.click, &TSampleForm::MessageButtonClick);
    Bind(LinkLabel->events.click, &TSampleForm::LinkLabelClick);
    Bind(events.keyPress, &TSampleForm::FormKeyPress);
    Bind(events.show, &TSampleForm::FormShow);
    dialog_ = std::make_unique<TSampleDialog>(application);
}

void TSampleForm::Note(std::string line) {
    log_.push_back(line);
    StatusLabel->SetText(std::u16string(line.begin(), line.end()));
}

void TSampleForm::BackButtonClick(Component& sender) {
    ProgressBar->SetPosition(ProgressBar->Position() + (sender.Tag() == 1 ? 1 : -1));
    Note(sender.Name() + " click tag " + std::to_string(sender.Tag()));
}

void TSampleForm::NameEditChange(Component& sender) {
    Note("NameEdit change " + Utf8(sender.Text()));
}

void TSampleForm::AgreeCheckClick(Component& sender) {
    NextButton->SetEnabled(sender.Checked());
    Note(std::string("AgreeCheck click ") + (sender.Checked() ? "ticked" : "unticked"));
}

void TSampleForm::ModeRadioClick(Component& sender) {
    Note(sender.Name() + " click");
}

void TSampleForm::CountryComboChange(Component& sender) {
    Note("CountryCombo change " + Utf8(sender.Text()));
}

void TSampleForm::ToggleNode(int node) {
    const auto& nodes = ComponentsTree->Nodes();
    int state = nodes[static_cast<size_t>(node)].statePicture;
    if (state == 2) {
        return;
    }
    int next = state == 1 ? 0 : 1;
    ComponentsTree->SetNodeStatePicture(node, next);
    for (int child : ComponentsTree->NodeChildren(node)) {
        ComponentsTree->SetNodeStatePicture(child, next);
    }
    int parent = nodes[static_cast<size_t>(node)].parent;
    if (parent >= 0) {
        bool all = true;
        bool none = true;
        for (int child : ComponentsTree->NodeChildren(parent)) {
            all = all && nodes[static_cast<size_t>(child)].statePicture == 0;
            none = none && nodes[static_cast<size_t>(child)].statePicture == 1;
        }
        ComponentsTree->SetNodeStatePicture(parent, all ? 0 : none ? 1 : 3);
    }
}

void TSampleForm::ComponentsTreeClick(Component& sender) {
    Point pointer = PointerPosition(sender);
    int node = NodeAt(sender, pointer);
    Note("ComponentsTree click node " + std::to_string(node) + " x " + std::to_string(pointer.x));
    if (node >= 0 && node == sender.SelectedNode() && pointer.x >= 20) {
        ToggleNode(node);
    }
}

void TSampleForm::ComponentsTreeKeyPress(Component& sender, char16_t& key) {
    if (key == u' ') {
        key = 0;
        if (sender.SelectedNode() >= 0) {
            ToggleNode(sender.SelectedNode());
        }
        Note("ComponentsTree space");
    }
}

void TSampleForm::DialogButtonClick(Component&) {
    ModalResult result = dialog_->ShowModal();
    Note(result == ModalResult::kOk ? "Dialog ok " + Utf8(dialog_->ValueEdit->Text())
                                    : "Dialog cancel");
}

void TSampleForm::MessageButtonClick(Component&) {
    platform::DialogResult answer =
        dialogs_.ShowMessageBox({.text = u"Do you like this form?",
                                 .caption = u"Question",
                                 .buttons = platform::DialogButtons::kYesNo,
                                 .icon = platform::DialogIcon::kQuestion});
    Note(answer == platform::DialogResult::kYes ? "Message yes" : "Message no");
}

void TSampleForm::LinkLabelClick(Component&) {
    Note("LinkLabel click");
}

void TSampleForm::FormKeyPress(Form&, char16_t& key) {
    if (key != 27) {
        return;
    }
    key = 0;
    Note("FormKeyPress escape");
    platform::DialogResult answer =
        dialogs_.ShowMessageBox({.text = u"Close the sample form?",
                                 .caption = u"Exit Sample",
                                 .buttons = platform::DialogButtons::kYesNo,
                                 .icon = platform::DialogIcon::kQuestion,
                                 .taskModal = true});
    if (answer == platform::DialogResult::kYes) {
        Note("closing");
        Close();
    }
}

void TSampleForm::FormShow(Form&) {
    Note("FormShow");
    SetFocus(*NameEdit);
}

}  // namespace tolva::ui::sample
