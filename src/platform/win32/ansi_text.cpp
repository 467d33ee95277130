#include "platform/win32/ansi_text.h"

#include <windows.h>

namespace tolva::platform {

std::wstring AnsiToWideText(std::string_view text) {
    if (text.empty()) {
        return std::wstring();
    }
    int size = static_cast<int>(text.size());
    int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string WideToAnsiText(std::wstring_view text) {
    if (text.empty()) {
        return std::string();
    }
    int size = static_cast<int>(text.size());
    int length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0,
                                       nullptr, nullptr);
    std::string ansi(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, ansi.data(), length,
                          nullptr, nullptr);
    return ansi;
}

}  // namespace tolva::platform
