#include "setup/info_xml.h"

#include <string>

#include "util/text.h"
#include "util/xml_object.h"

namespace tolva::setup {
namespace {

struct TextKey {
    const char* element;
    std::string SetupState::*field;
};

constexpr TextKey kTextKeys[] = {
    {"PRODUCTSXML", &SetupState::ProductsXmlUrl},       {"LANGUAGE", &SetupState::DefaultLanguage},
    {"FOOTERVALUE", &SetupState::FooterValue},          {"SETUPEMAIL", &SetupState::SetupEmail},
    {"MODULEDOWNLOAD", &SetupState::ModuleDownloadUrl},
};

}  // namespace

void ReadInfoXml(const platform::FileSystem& files, const platform::System& system,
                 std::string_view path, SetupState& state) {
    util::TXMLObject document(system);
    if (!document.LoadFromFile(files, path) || document.Children.empty()) {
        return;
    }
    const util::TXMLObject& settings = *document.Children.front();
    for (const TextKey& key : kTextKeys) {
        if (const util::TXMLObject* element = settings.FindChild(key.element)) {
            state.*key.field = element->GetText(util::xcEntities);
        }
    }
    // 0, and text that is no number, chooses the advanced console.
    if (const util::TXMLObject* mode = settings.FindChild("INTERFACEMODE")) {
        state.AdvancedInterface = util::StrToIntDef(mode->GetText(util::xcEntities), 0) == 0;
    }
}

}  // namespace tolva::setup
