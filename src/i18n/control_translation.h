#pragma once
// The FORMS section of a language file over the forms model: the captions of the application's
// forms and the texts and hints of their components, by the rules of translation_rules.h.
//
//     <FORMS FONT="Tahoma" FONTSIZE="8">
//     <FORM ID="TLangSelectForm" CAPTION="Installer Language"><ITEM ID="SelectLangL"
//     CLASS="ttntlabel" CAPTION="Please select a language."/>...</FORM>
//     </FORMS>
//
// Forms are named by their class name and components by their name, both compared exactly.

#include "i18n/forms_translator.h"
#include "platform/system.h"
#include "ui/application.h"
#include "ui/component.h"
#include "util/xml_object.h"

namespace tolva::i18n {

// Font sizes a file may set, in points; other values leave the forms' sizes as they are.
inline constexpr int kMinFontSize = 1;
inline constexpr int kMaxFontSize = 72;

class ControlTranslation : public FormsTranslator {
public:
    // The system converts the captions of forms without Unicode texts to and from the ANSI code
    // page. Both must outlive the translation.
    ControlTranslation(ui::Application& application, const platform::System& system)
        : application_(application), system_(system) {}

    // One FORM per named form in creation order, each with an ITEM per component that has a rule
    // and a caption or hint. FONT and FONTSIZE are those of the last form.
    void ExportForms(util::TXMLObject& forms) override;
    // Every form named by a child of FORMS gets its caption (none given: empty), the font of
    // FORMS, and the texts of the ITEMs that name its components.
    void ImportForms(const util::TXMLObject& forms) override;

private:
    ui::Application& application_;
    const platform::System& system_;
};

// Adds the component's ITEM to the FORM element when its class has a rule that is exported and
// the rule yields a caption or the component has a hint.
void ExportComponent(util::TXMLObject& form, const ui::Component& component);

// Applies one ITEM: its caption and hint are both set (one the ITEM lacks becomes empty). The ITEM
// is passed over when its CLASS names no rule, or a rule whose text goes elsewhere than the
// component's own rule puts it (a list's items onto a label, say); when both put it in the same
// place the component's own rule applies, so a file that names a related class ("tlabel" for a
// "TTntLabel") still translates it, in the component's own text kind. Nothing is set before every
// text has been read.
void ImportComponent(ui::Component& component, const util::TXMLObject& item);

}  // namespace tolva::i18n
