// A language file of arbitrary bytes: the import never fails, and whatever texts it leaves come
// back unchanged through a language file of their own.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "i18n/language_file.h"
#include "i18n/ui_strings.h"
#include "platform/fake/fake_system.h"
#include "platform/fake/memory_file_system.h"

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

// The texts of one run, with a language file read from and written to files in memory.
struct Run {
    Run() { i18n::RegisterUIStringTable(strings, registry); }

    bool Import(std::string_view content) {
        files.files[kPath] = std::string(content);
        return i18n::ImportLanguageFile({files, System(), registry, nullptr}, kPath, true);
    }
    std::string Export() {
        Require(i18n::ExportLanguageFile({files, System(), registry, nullptr}, kPath, true));
        return files.files[kPath];
    }

    platform::MemoryFileSystem files;
    i18n::TUIStrings strings;
    i18n::TLocalizationStrings registry;
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
    Require(reread.Export() == written);
    return 0;
}
