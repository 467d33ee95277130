// link_icons LINK.lnk...: for each shell link, one line "name|icon file|index|icons found" where
// icons found is how many icons ExtractIconEx finds at that index of that file (0 or 1). A link
// without an icon location of its own shows its target's first icon: file = target, index 0.
// Exit code 0 when every link could be read.

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

#include "platform/win32/win32_platform.h"
#include "util/utf8.h"

int wmain(int count, wchar_t** arguments) {
    using namespace tolva;
    platform::Win32Platform windows;
    const platform::Platform& services = windows.Services();
    int status = 0;
    for (int i = 1; i < count; ++i) {
        const std::u16string wide(arguments[i], arguments[i] + std::wcslen(arguments[i]));
        const std::string path = services.system->WideToAnsi(wide);
        platform::ShellLink link;
        if (!services.shell->ReadLink(path, link).ok()) {
            std::printf("%s|unreadable\n", util::WideToUTF8(wide).c_str());
            status = 1;
            continue;
        }
        const std::string iconFile = link.iconFile.empty() ? link.target : link.iconFile;
        const std::u16string iconWide = services.system->AnsiToWide(iconFile);
        HICON icon = nullptr;
        const UINT found = ::ExtractIconExW(reinterpret_cast<const wchar_t*>(iconWide.c_str()),
                                            link.iconIndex, &icon, nullptr, 1);
        if (icon != nullptr) {
            ::DestroyIcon(icon);
        }
        const std::string name = util::WideToUTF8(wide.substr(wide.find_last_of(u'\\') + 1));
        std::printf("%s|%s|%d|%u\n", name.c_str(), util::WideToUTF8(iconWide).c_str(),
                    link.iconIndex, found == UINT_MAX ? 0u : found);
    }
    return status;
}
