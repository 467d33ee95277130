#pragma once
// The forms of one run in a headless display: the translation sample and the language dialog,
// with the control translation over them.

#include <string>
#include <string_view>

#include "i18n/control_translation.h"
#include "i18n/lang_select_form.h"
#include "platform/fake/fake_system.h"
#include "translation_sample_form.h"
#include "ui/application.h"
#include "ui/headless_display.h"
#include "util/utf8.h"
#include "util/xml_object.h"

namespace tolva::i18n::test {

struct FormsRun {
    // The FORMS element the translation writes, as XML without line breaks.
    std::string Exported() {
        util::TXMLObject document(system);
        util::TXMLObject& forms = document.AddChild("FORMS", {}, util::xcNone);
        translation.ExportForms(forms);
        return forms.ToXML(false, false);
    }
    // Applies the FORMS element given as XML.
    void Import(std::string_view formsXml) {
        util::TXMLObject document(system);
        document.ParseXML(formsXml);
        if (!document.Children.empty()) {
            translation.ImportForms(*document.Children.front());
        }
    }

    platform::FakeSystem system;
    ui::HeadlessDisplay display;
    ui::Application application{display, &system};
    TTranslationSample sample{application};
    TLangSelectForm dialog{application};
    ControlTranslation translation{application, system};
};

// A component's texts and lists as one line: text, hint, then the items ("+" checked, "-"
// disabled) with the selected index, and the column captions, when it has any.
inline std::string State(const ui::Component& component) {
    std::string state = "text=" + util::WideToUTF8(component.Text()) +
                        " hint=" + util::WideToUTF8(component.Hint());
    if (!component.Items().empty()) {
        state += " items=";
        for (const ui::ListItem& item : component.Items()) {
            state += util::WideToUTF8(item.text) + (item.checked ? "+" : "") +
                     (item.enabled ? "" : "-") + "|";
        }
        state += " index=" + std::to_string(component.ItemIndex());
    }
    if (!component.Columns().empty()) {
        state += " columns=";
        for (const std::u16string& column : component.Columns()) {
            state += util::WideToUTF8(column) + "|";
        }
    }
    return state;
}

}  // namespace tolva::i18n::test
