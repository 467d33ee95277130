// A language file of arbitrary bytes: the import never fails, whatever texts it leaves in the
// string table come back unchanged through a language file of their own, and the forms' texts
// settle: a file written after reading back what was written once is written the same again.
// (A control the fuzzed file emptied is not written at all, so the first reading back shows its
// design again.)

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "i18n/control_translation.h"
#include "i18n/lang_select_form.h"
#include "i18n/language_file.h"
#include "i18n/ui_strings.h"
#include "platform/fake/fake_system.h"
#include "platform/fake/memory_file_system.h"
#include "translation_sample_form.h"
#include "ui/application.h"
#include "ui/headless_display.h"

namespace {

using namespace tolva;

constexpr char kPath[] = "C:\\Setup\\setup.lng";

const platform::FakeSystem& System() {
    static const platform::FakeSystem system;
    return system;
}

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The texts of one run, a form with a component of every class the file names and the language
// dialog, with a language file read from and written to files in memory.
struct Run {
    Run() { i18n::RegisterUIStringTable(strings, registry); }

    i18n::LanguageFileScope Scope() { return {files, System(), registry, &translation}; }
    bool Import(std::string_view content) {
        files.files[kPath] = std::string(content);
        return i18n::ImportLanguageFile(Scope(), kPath, true);
    }
    std::string Export() {
        Require(i18n::ExportLanguageFile(Scope(), kPath, true));
        return files.files[kPath];
    }

    platform::MemoryFileSystem files;
    i18n::TUIStrings strings;
    i18n::TLocalizationStrings registry;
    ui::HeadlessDisplay display;
    ui::Application application{display, &System()};
    i18n::test::TTranslationSample sample{application};
    i18n::TLangSelectForm dialog{application};
    i18n::ControlTranslation translation{application, System()};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    Run fuzzed;
    Require(fuzzed.Import(input) == !input.empty());
    const std::string written = fuzzed.Export();

    Run reread;
    Require(reread.Import(written));
    for (size_t i = 0; i < i18n::kUIStringCount; ++i) {
        const auto key = static_cast<i18n::UIString>(i);
        Require(reread.strings[key] == fuzzed.strings[key]);
    }
    const std::string settled = reread.Export();

    Run again;
    Require(again.Import(settled));
    Require(again.Export() == settled);
    return 0;
}
