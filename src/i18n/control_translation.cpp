#include "i18n/control_translation.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "i18n/language_file_names.h"
#include "i18n/translation_rules.h"
#include "ui/form.h"
#include "util/text.h"
#include "util/utf8.h"

namespace tolva::i18n {

namespace {

using namespace names;

std::u16string WideAttribute(const util::TXMLObject& element, std::string_view name) {
    return util::UTF8ToWide(element.GetAttribute(name, util::xcEntities));
}

void SetWideAttribute(util::TXMLObject& element, std::string_view name, std::u16string_view text,
                      bool replace) {
    element.SetAttribute(name, util::WideToUTF8(text), util::xcEntities, replace);
}

// The size in points a FONTSIZE value asks for; 0 when it asks for none that can be used.
int FontSizeOf(std::string_view text) {
    const int32_t size = util::LeadingInteger(text);
    return size >= kMinFontSize && size <= kMaxFontSize ? size : 0;
}

std::u16string ColumnsText(const ui::Component& component) {
    std::u16string text;
    for (const std::u16string& column : component.Columns()) {
        text += column;
        text += u"\r\n";
    }
    return text;
}

std::u16string ExportedCaption(const ui::Component& component, const TranslationRule& rule) {
    std::u16string caption;
    switch (rule.place) {
        case TextPlace::kCaption:
            caption = component.Text();
            break;
        case TextPlace::kItems:
            caption = component.ItemsText();
            break;
        case TextPlace::kColumns:
            caption = ColumnsText(component);
            break;
    }
    return rule.trimmed ? TrimText(caption) : caption;
}

// The column captions an ITEM gives: one per line, each trimmed, empty lines left out.
std::vector<std::u16string> ColumnLines(std::u16string_view caption) {
    std::vector<std::u16string> lines;
    size_t start = 0;
    while (start <= caption.size()) {
        size_t end = caption.find(u'\n', start);
        if (end == std::u16string_view::npos) {
            end = caption.size();
        }
        std::u16string line = TrimText(caption.substr(start, end - start));
        if (!line.empty()) {
            lines.push_back(std::move(line));
        }
        start = end + 1;
    }
    return lines;
}

void ImportItems(ui::Component& component, const TranslationRule& rule, std::u16string_view caption,
                 std::u16string hint) {
    const int selected = component.ItemIndex();
    const std::vector<ui::ListItem> before = component.Items();
    component.SetItemsText(caption);
    component.SetHint(std::move(hint));
    if (rule.itemStates) {
        const size_t shared = std::min(before.size(), component.Items().size());
        for (size_t i = 0; i < shared; ++i) {
            component.SetItemChecked(static_cast<int>(i), before[i].checked);
            component.SetItemEnabled(static_cast<int>(i), before[i].enabled);
        }
    }
    component.SetItemIndex(selected);
}

void ImportColumns(ui::Component& component, std::u16string_view caption, std::u16string hint) {
    const int selected = component.ItemIndex();
    component.SetHint(std::move(hint));
    const std::vector<std::u16string> lines = ColumnLines(caption);
    const size_t shared = std::min(lines.size(), component.Columns().size());
    for (size_t i = 0; i < shared; ++i) {
        component.SetColumnCaption(static_cast<int>(i), lines[i]);
    }
    component.SetItemIndex(selected);
}

}  // namespace

void ControlTranslation::ExportForms(util::TXMLObject& forms) {
    for (const ui::Form* form : application_.Forms()) {
        SetWideAttribute(forms, kFont, form->FontName(), true);
        forms.SetAttribute(kFontSize, std::to_string(form->FontSize()), util::xcFull, true);
        if (form->Name().empty()) {
            continue;
        }
        util::TXMLObject& element = forms.AddChild(kForm, {}, util::xcNone);
        element.SetAttribute(kId, form->ClassName(), util::xcFull, false);
        if (form->UnicodeTexts()) {
            SetWideAttribute(element, kCaption, form->Caption(), false);
        } else {
            element.SetAttribute(kCaption, system_.WideToAnsi(form->Caption()), util::xcFull,
                                 false);
        }
        for (const auto& component : form->Components()) {
            ExportComponent(element, *component);
        }
    }
}

void ControlTranslation::ImportForms(const util::TXMLObject& forms) {
    const std::u16string font = WideAttribute(forms, kFont);
    const int fontSize = FontSizeOf(forms.GetAttribute(kFontSize, util::xcEntities));
    for (const auto& element : forms.Children) {
        ui::Form* form = application_.FindFormByClass(element->GetAttribute(kId, util::xcFull));
        if (form == nullptr) {
            continue;
        }
        form->SetCaption(form->UnicodeTexts()
                             ? WideAttribute(*element, kCaption)
                             : system_.AnsiToWide(element->GetAttribute(kCaption, util::xcFull)));
        if (!font.empty() || fontSize != 0) {
            form->SetFont(font.empty() ? form->FontName() : font,
                          fontSize != 0 ? fontSize : form->FontSize());
        }
        for (const auto& item : element->Children) {
            if (ui::Component* component = form->Find(item->GetAttribute(kId, util::xcFull))) {
                ImportComponent(*component, *item);
            }
        }
    }
}

void ExportComponent(util::TXMLObject& form, const ui::Component& component) {
    const std::string className = LowerClassName(component);
    const std::optional<TranslationRule> rule = RuleOfClass(className);
    if (!rule || !rule->exported) {
        return;
    }
    const std::u16string caption = ExportedCaption(component, *rule);
    if (caption.empty() && component.Hint().empty()) {
        return;
    }
    util::TXMLObject& item = form.AddChild(kItem, {}, util::xcNone);
    item.SetAttribute(kId, component.Name(), util::xcFull, false);
    item.SetAttribute(kClass, className, util::xcFull, false);
    SetWideAttribute(item, kCaption, caption, false);
    SetWideAttribute(item, kHint, component.Hint(), false);
}

void ImportComponent(ui::Component& component, const util::TXMLObject& item) {
    const std::optional<TranslationRule> named =
        RuleOfClass(item.GetAttribute(kClass, util::xcFull));
    const std::optional<TranslationRule> own = ImportRuleOf(component);
    if (!named || !own || named->place != own->place) {
        return;
    }
    std::u16string caption = WideAttribute(item, kCaption);
    if (caption.empty()) {
        caption = WideAttribute(item, kItemsText);
    }
    std::u16string hint = WideAttribute(item, kHint);
    switch (own->place) {
        case TextPlace::kCaption:
            component.SetText(std::move(caption));
            component.SetHint(std::move(hint));
            break;
        case TextPlace::kItems:
            ImportItems(component, *own, caption, std::move(hint));
            break;
        case TextPlace::kColumns:
            ImportColumns(component, caption, std::move(hint));
            break;
    }
}

}  // namespace tolva::i18n
