#include "translation_sample_form.h"

#include <string>
#include <vector>

namespace tolva::i18n::test {

namespace {

struct Design {
    const char* className;
    const char* name;
    std::u16string text;
    std::u16string hint;
};

}  // namespace

TTranslationSample::TTranslationSample(ui::Application& application)
    : Form(application, "TTranslationSample", "TranslationSample") {
    SetUnicodeTexts(false);
    SetCaption(u"Translation Sample");
    SetFont(u"MS Sans Serif", 9);
    const Design designs[] = {
        {"TLabel", "Label", u"&Name:", u"Your name"},
        {"TRadioButton", "Radio", u"&Basic", u""},
        {"TButton", "Button", u"&Help", u"Opens the help"},
        {"TCheckBox", "Check", u"&Agree", u""},
        {"TTabSheet", "Sheet", u"General", u""},
        {"TGroupBox", "Group", u"Options", u""},
        {"TPanel", "Panel", u"  Panel text  ", u""},
        {"TMenuItem", "MenuItem", u"&File", u""},
        {"TComboBox", "Combo", u"", u"Colour"},
        {"TListBox", "List", u"", u""},
        {"TCheckListBox", "CheckList", u"", u""},
        {"TExtListViewManagement", "Columns", u"", u""},
        {"TListView", "ListView", u"", u""},
        {"TTntLabel", "WideLabel", u"Wide label", u"Wide hint"},
        {"TTntRadioButton", "WideRadio", u"&Advanced", u""},
        {"TTntMenuItem", "WideMenuItem", u"&Edit", u""},
        {"TTntButton", "WideButton", u"&Next >", u""},
        {"TTntCheckBox", "WideCheck", u"&Remember", u""},
        {"TTntTabSheet", "WideSheet", u"Details", u""},
        {"TTntGroupBox", "WideGroup", u"Server", u""},
        {"TTntPanel", "WidePanel", u"\tStatus\r\n", u""},
        {"TTntComboBox", "WideCombo", u"", u""},
        {"TTntListBox", "WideList", u"", u""},
        {"TTntCheckListBox", "WideCheckList", u"", u""},
        {"TLabel", "EmptyLabel", u"", u""},
        {"TTntLabel", "HintOnly", u"", u"Only a hint"},
        {"TEdit", "Edit", u"typed text", u"An edit"},
        {"TMemo", "Memo", u"Line 1\r\nLine 2", u""},
        {"TTreeView", "Tree", u"", u""},
        {"TImage", "Picture", u"", u"A picture"},
        {"TProgressBar", "Progress", u"", u""},
        {"TBitBtn", "BitButton", u"&OK", u""},
        {"TStaticText", "StaticText", u"Static", u""},
        {"TDriveComboBox", "Drives", u"", u""},
        {"TDirectoryListBox", "Folders", u"", u""},
    };
    int top = 0;
    for (const Design& design : designs) {
        ui::Component& component = Add({.className = design.className,
                                        .name = design.name,
                                        .bounds = {8, top, 200, 20},
                                        .text = design.text});
        component.SetHint(design.hint);
        top += 22;
    }
    const std::vector<std::u16string> colours = {u"Red", u"Green", u"Blue"};
    for (const char* name :
         {"Combo", "List", "CheckList", "WideCombo", "WideList", "WideCheckList"}) {
        Find(name)->SetItems(colours);
    }
    Find("List")->SetItems({u" one", u"two "});
    Find("Combo")->SetItemIndex(1);
    Find("WideCombo")->SetItemIndex(2);
    for (const char* name : {"CheckList", "WideCheckList"}) {
        ui::Component& list = *Find(name);
        list.SetItemChecked(0, true);
        list.SetItemChecked(2, true);
        list.SetItemEnabled(1, false);
        list.SetItemIndex(1);
    }
    Find("Columns")->SetColumns({u"Name", u"Size", u"Date"});
    Find("ListView")->SetColumns({u"Account", u"Domain"});
    Find("Tree")->AddNode(-1, u"Services");
    Find("Drives")->SetItems({u"c: [System]"});
    Find("Folders")->SetItems({u"C:\\", u"Program Files"});
}

}  // namespace tolva::i18n::test
