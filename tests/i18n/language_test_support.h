#pragma once
// What the language tests share: one run's texts over files in memory, and a forms translator
// that shows what the language file hands it.

#include <string>
#include <vector>

#include "i18n/forms_translator.h"
#include "i18n/language_file.h"
#include "i18n/localization_strings.h"
#include "i18n/ui_strings.h"
#include "platform/fake/fake_system.h"
#include "platform/fake/memory_file_system.h"

namespace tolva::i18n::test {

// Writes one form with one control and records every FORMS section it is given.
class RecordingForms : public FormsTranslator {
public:
    void ExportForms(util::TXMLObject& forms) override {
        forms.SetAttribute("FONT", "Tahoma", util::xcFull, true);
        forms.SetAttribute("FONTSIZE", "8", util::xcFull, true);
        util::TXMLObject& form = forms.AddChild("FORM", {}, util::xcNone);
        form.SetAttribute("ID", "TMainForm", util::xcFull, false);
        form.SetAttribute("CAPTION", caption, util::xcEntities, false);
    }
    void ImportForms(const util::TXMLObject& forms) override {
        imported.push_back(forms.ToXML(false, false));
    }

    std::string caption = "Setup";  // UTF-8
    std::vector<std::string> imported;
};

// The UI string table of one run, registered in a registry of its own.
struct StringRun {
    StringRun() { RegisterUIStringTable(strings, registry); }

    LanguageFileScope Scope(platform::FileSystem& files, FormsTranslator* forms = nullptr) {
        return {files, system, registry, forms};
    }

    platform::FakeSystem system;
    TUIStrings strings;
    TLocalizationStrings registry;
};

}  // namespace tolva::i18n::test
