#include "i18n/language_file.h"

#include <exception>
#include <string>

#include "i18n/language_file_names.h"
#include "util/string_file.h"
#include "util/utf8.h"

namespace tolva::i18n {

namespace {

using namespace names;

bool TooLarge(const platform::FileSystem& files, std::string_view path) {
    uint64_t size = 0;
    return files.GetFileSize(path, size).ok() && size > kMaxLanguageFileSize;
}

void Apply(const LanguageFileScope& scope, const util::TXMLObject& application,
           bool importStrings) {
    const util::TXMLObject* forms = application.FindChild(kForms);
    if (forms != nullptr && scope.forms != nullptr) {
        scope.forms->ImportForms(*forms);
    }
    if (!importStrings) {
        return;
    }
    const util::TXMLObject* strings = application.FindChild(kStrings);
    const util::TXMLObject* list = strings != nullptr ? strings->FindChild(kString) : nullptr;
    if (list != nullptr) {
        ImportStrings(*list, scope.system, scope.strings);
    }
}

}  // namespace

bool ImportLanguageFile(const LanguageFileScope& scope, std::string_view path, bool importStrings) {
    const std::string_view name = path.substr(0, util::kMaxFileNameLength);
    if (TooLarge(scope.files, name)) {
        return false;
    }
    util::TXMLObject document(scope.system);
    if (!document.LoadFromFile(scope.files, name)) {
        return false;
    }
    const util::TXMLObject* application = document.FindChild(kApplication);
    if (application == nullptr) {
        return true;
    }
    // A failure while applying ends the import; what was applied stays.
    try {
        Apply(scope, *application, importStrings);
    } catch (const std::exception&) {
    }
    return true;
}

bool ExportLanguageFile(const LanguageFileScope& scope, std::string_view path, bool exportStrings) {
    std::string xml;
    try {
        util::TXMLObject document(scope.system);
        util::TXMLObject& application = document.AddChild(kApplication, {}, util::xcNone);
        util::TXMLObject& forms = application.AddChild(kForms, {}, util::xcNone);
        if (scope.forms != nullptr) {
            scope.forms->ExportForms(forms);
        }
        if (exportStrings) {
            util::TXMLObject& list = application.AddChild(kStrings, {}, util::xcNone)
                                         .AddChild(kString, {}, util::xcNone);
            list.SetAttribute(kId, kStringListId, util::xcFull, false);
            ExportStrings(list, scope.strings);
        }
        xml = document.ToXML(true, false);
    } catch (const std::exception&) {
        return false;
    }
    // The target is either the old file or the whole new one.
    return util::ReplaceFileWhole(scope.files, path.substr(0, util::kMaxFileNameLength), xml, true);
}

void ImportStrings(const util::TXMLObject& stringElement, const platform::System& system,
                   TLocalizationStrings& registry) {
    for (const auto& item : stringElement.Children) {
        const std::string value = !item->Text.empty()
                                      ? item->GetText(util::xcEntities)
                                      : item->GetAttribute(kValue, util::xcEntities);
        SetLocalizedString(item->GetAttribute(kId, util::xcFull), util::UTF8ToWide(value), system,
                           registry);
    }
}

void ExportStrings(util::TXMLObject& stringElement, const TLocalizationStrings& registry) {
    for (const TLocalizedString& entry : registry.Items) {
        util::TXMLObject& item = stringElement.AddChild(kItem, {}, util::xcNone);
        item.SetAttribute(kId, entry.Key, util::xcFull, false);
        if (entry.WideTarget != nullptr) {
            item.SetAttribute(kValue, util::WideToUTF8(*entry.WideTarget), util::xcEntities, false);
        } else if (entry.AnsiTarget != nullptr) {
            item.SetAttribute(kValue, *entry.AnsiTarget, util::xcFull, false);
        }
    }
}

}  // namespace tolva::i18n
