#pragma once
// The PHP engine of the web server: putting it in place while keeping the administrator's php.ini,
// and the spell-checking extension, switched off or backed by the installed spell checker.

#include <string>
#include <string_view>

#include "platform/platform.h"
#include "winsys/config_template.h"

namespace tolva::winsys {

class PhpSetup {
public:
    // Folders with a trailing backslash: the setup program's own folder (where the archives lie)
    // and the installation folder. The platform needs files, registry and system.
    PhpSetup(const platform::Platform& platform, std::string setupFolder, std::string installFolder,
             TemplateValues values);

    // Only when "setupphp.dat" lies in the setup folder: php.ini of the installation's php folder
    // is renamed to php.ini.old (kept when that backup exists already, in which case php.ini is
    // overwritten), the archive is extracted into the php folder over what is there, the new
    // php.ini gets its placeholders filled, and "wmi.ini" of the Windows folder is deleted.
    // Failures are not reported.
    void DeployPhp();

    // Installed: RegisterASpell with the installation's "aspell" and "php" folders. Not installed:
    // every "extension=php_pspell.dll" in php.ini becomes ";extension=php_pspell.dll", the rest of
    // the file kept byte for byte; a php.ini that cannot be read or is empty is left alone.
    void SetSpellChecking(bool installed);

private:
    std::string PhpFolder() const { return installFolder_ + "php\\"; }

    platform::FileSystem& files_;
    platform::Registry& registry_;
    const platform::System& system_;
    std::string setupFolder_;
    std::string installFolder_;
    TemplateValues values_;
};

// Creates HKEY_LOCAL_MACHINE "Software\ASpell" with the aspell folder (without its trailing
// backslash) as its default value unless the key exists, then copies aspell folder +
// "bin\aspell-15.dll" into targetFolder, replacing the file there. A registry failure ends the
// routine. True when this call created the key.
bool RegisterASpell(platform::FileSystem& files, platform::Registry& registry,
                    std::string_view aspellFolder, std::string_view targetFolder);

}  // namespace tolva::winsys
