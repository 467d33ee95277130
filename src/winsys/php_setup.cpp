#include "winsys/php_setup.h"

#include <utility>

#include "archive/extract_archive.h"
#include "util/string_file.h"
#include "util/text.h"

namespace tolva::winsys {

namespace {

constexpr char kPhpArchive[] = "setupphp.dat";
constexpr char kPhpIni[] = "php.ini";
constexpr char kSpellExtension[] = "extension=php_pspell.dll";
constexpr char kASpellKey[] = "Software\\ASpell";
constexpr char kASpellLibrary[] = "aspell-15.dll";

std::string WithoutTrailingBackslash(std::string_view folder) {
    if (!folder.empty() && folder.back() == '\\') {
        folder.remove_suffix(1);
    }
    return std::string(folder);
}

}  // namespace

PhpSetup::PhpSetup(const platform::Platform& platform, std::string setupFolder,
                   std::string installFolder, TemplateValues values)
    : files_(*platform.files),
      registry_(*platform.registry),
      system_(*platform.system),
      setupFolder_(std::move(setupFolder)),
      installFolder_(std::move(installFolder)),
      values_(std::move(values)) {}

void PhpSetup::DeployPhp() {
    const std::string archive = setupFolder_ + kPhpArchive;
    if (!files_.FileExists(archive)) {
        return;
    }
    const std::string ini = PhpFolder() + kPhpIni;
    if (files_.FileExists(ini)) {
        (void)files_.MoveTo(ini, ini + ".old", false);
    }
    int resultCode = 0;
    (void)archive::ExtractArchive(files_, archive, PhpFolder(), resultCode, true, "", "", "");
    (void)FillTemplate(files_, ini, "", PhpFolder(), values_);
    (void)files_.RemoveFile(system_.WindowsFolder() + "wmi.ini");
}

void PhpSetup::SetSpellChecking(bool installed) {
    if (installed) {
        (void)RegisterASpell(files_, registry_, installFolder_ + "aspell\\", PhpFolder());
        return;
    }
    const std::string ini = PhpFolder() + kPhpIni;
    std::string text;
    if (!files_.ReadWholeFile(ini, text) || text.empty()) {
        return;
    }
    (void)util::ReplaceFileWhole(
        files_, ini, util::ReplaceAll(text, kSpellExtension, std::string(";") + kSpellExtension),
        false);
}

bool RegisterASpell(platform::FileSystem& files, platform::Registry& registry,
                    std::string_view aspellFolder, std::string_view targetFolder) {
    const platform::RegistryRoot machine = platform::RegistryRoot::kLocalMachine;
    bool created = false;
    if (!registry.KeyExists(machine, kASpellKey)) {
        if (!registry.CreateKey(machine, kASpellKey)) {
            return false;
        }
        created = true;
        if (!registry.WriteString(machine, kASpellKey, "",
                                  WithoutTrailingBackslash(aspellFolder))) {
            return created;
        }
    }
    (void)files.CopyOver(std::string(aspellFolder) + "bin\\" + kASpellLibrary,
                         std::string(targetFolder) + kASpellLibrary);
    return created;
}

}  // namespace tolva::winsys
