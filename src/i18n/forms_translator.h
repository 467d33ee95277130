#pragma once
// The FORMS section of a language file: the texts of the application's forms and their controls.
// The language file reads and writes the section through this interface; the control translation
// implements it over the forms model.

#include "util/xml_object.h"

namespace tolva::i18n {

class FormsTranslator {
public:
    virtual ~FormsTranslator() = default;
    // Adds a FORM element per form to the FORMS element and sets its font attributes.
    virtual void ExportForms(util::TXMLObject& forms) = 0;
    // Applies fonts, form captions and control texts named in the FORMS element; what names no
    // form or control is passed over.
    virtual void ImportForms(const util::TXMLObject& forms) = 0;
};

}  // namespace tolva::i18n
