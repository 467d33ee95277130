#pragma once
// The program's own icon: its icon group MAINICON, which the frames of its windows and message
// boxes show; the system's application icon for a program without one.

#include <windows.h>

namespace tolva::platform {

// size: 0 for the large icon, else the width and height wanted (the small icon of a frame).
inline HICON ApplicationIcon(int size = 0) {
    HICON own =
        static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, size,
                                        size, size == 0 ? LR_DEFAULTSIZE | LR_SHARED : LR_SHARED));
    return own != nullptr ? own : ::LoadIconW(nullptr, IDI_APPLICATION);
}

}  // namespace tolva::platform
