#include "i18n/lang_select_form.h"

namespace tolva::i18n {

// Unicode controls throughout: a caption such as "Русский" must show on any code page.
TLangSelectForm::TLangSelectForm(ui::Application& application)
    : Form(application, "TLangSelectForm", "LangSelectForm") {
    SetCaption(u"Installer Language");
    SetBorderStyle(ui::BorderStyle::kDialog);
    SetPosition(ui::FormPosition::kScreenCenter);
    SetClientSize(288, 106);
    Image = &Add({.className = "TImage", .name = "Image", .bounds = {12, 12, 32, 32}});
    Image->SetIcon(ui::StockIcon::kApplication);
    SelectLangL = &Add({.className = "TTntLabel",
                        .name = "SelectLangL",
                        .bounds = {56, 14, 220, 13},
                        .text = u"Please select a language."});
    LangCombo =
        &Add({.className = "TTntComboBox", .name = "LangCombo", .bounds = {56, 34, 220, 21}});
    LangCombo->SetComboStyle(ui::ComboStyle::kDropDownList);
    SelectLangL->SetFocusControl(LangCombo);
    OKButton = &Add({.className = "TTntButton",
                     .name = "OKButton",
                     .bounds = {120, 70, 75, 25},
                     .text = u"&OK"});
    OKButton->SetDefault(true);
    OKButton->SetModalResult(ui::ModalResult::kOk);
    CancelButton = &Add({.className = "TTntButton",
                         .name = "CancelButton",
                         .bounds = {201, 70, 75, 25},
                         .text = u"&Cancel"});
    CancelButton->SetCancel(true);
    CancelButton->SetModalResult(ui::ModalResult::kCancel);
    Bind(events.show, &TLangSelectForm::FormShow);
}

void TLangSelectForm::FormShow(ui::Form&) {
    SetFocus(*LangCombo);
}

std::optional<int> TLangSelectForm::ChooseLanguage(const std::vector<std::u16string>& captions,
                                                   int preselected) {
    LangCombo->SetItems(captions);
    LangCombo->SetItemIndex(preselected);
    if (ShowModal() != ui::ModalResult::kOk) {
        return std::nullopt;
    }
    return LangCombo->ItemIndex();
}

}  // namespace tolva::i18n
