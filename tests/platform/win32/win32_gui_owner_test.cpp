// Owners of windows, device contexts and GDI objects: move-assignment releases what was held.

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/unique_created_dc.h"
#include "platform/win32/unique_gdi_object.h"
#include "platform/win32/unique_icon.h"
#include "platform/win32/unique_image_list.h"
#include "platform/win32/unique_window.h"
#include "platform/win32/unique_window_dc.h"

namespace tolva::platform {
namespace {

// A plain top-level window whose device contexts come from the common cache.
HWND MakeWindow() {
    static const ATOM kClass = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = ::DefWindowProcW;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TolvaOwnerTest";
        return ::RegisterClassW(&windowClass);
    }();
    return ::CreateWindowExW(0, MAKEINTATOM(kClass), L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                             nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

TEST(Win32GuiOwnerTest, WindowMoveAssignmentDestroysTheHeldWindow) {
    UniqueWindow first(MakeWindow());
    UniqueWindow second(MakeWindow());
    HWND firstWindow = first.Get();
    ASSERT_TRUE(::IsWindow(firstWindow) && ::IsWindow(second.Get()));

    first = std::move(second);
    EXPECT_FALSE(::IsWindow(firstWindow));
    EXPECT_TRUE(::IsWindow(first.Get()));
    EXPECT_FALSE(second.Valid());
}

TEST(Win32GuiOwnerTest, GdiObjectMoveAssignmentDeletesTheHeldObject) {
    UniqueBrush brush(::CreateSolidBrush(RGB(1, 2, 3)));
    UniqueFont font(::CreateFontW(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                                  0, 0, 0, L"Tahoma"));
    const BYTE pixels[2] = {};
    UniqueBitmap bitmap(::CreateBitmap(8, 1, 1, 1, pixels));
    const HGDIOBJ held[] = {brush.Get(), font.Get(), bitmap.Get()};
    for (HGDIOBJ object : held) {
        ASSERT_NE(::GetObjectType(object), 0u);
    }

    brush = UniqueBrush(::CreateSolidBrush(RGB(4, 5, 6)));
    font = UniqueFont();
    UniqueGdiObject general(bitmap.Release());
    general = UniqueGdiObject();
    for (HGDIOBJ object : held) {
        EXPECT_EQ(::GetObjectType(object), 0u) << object;
    }
    EXPECT_NE(::GetObjectType(brush.Get()), 0u);
}

TEST(Win32GuiOwnerTest, IconMoveAssignmentDestroysTheHeldIcon) {
    const BYTE andMask[4] = {}, xorMask[4] = {};
    UniqueIcon first(::CreateIcon(nullptr, 1, 1, 1, 1, andMask, xorMask));
    HICON firstIcon = first.Get();
    ICONINFO info;
    ASSERT_TRUE(::GetIconInfo(firstIcon, &info));
    ::DeleteObject(info.hbmMask);
    ::DeleteObject(info.hbmColor);

    first = UniqueIcon(::CreateIcon(nullptr, 1, 1, 1, 1, andMask, xorMask));
    EXPECT_FALSE(::GetIconInfo(firstIcon, &info));
}

TEST(Win32GuiOwnerTest, ImageListMoveAssignmentDestroysTheHeldList) {
    HIMAGELIST held = ::ImageList_Create(16, 16, ILC_COLOR32, 1, 0);
    UniqueImageList first(held);
    UniqueImageList second(::ImageList_Create(16, 16, ILC_COLOR32, 1, 0));
    int width = 0, height = 0;
    ASSERT_TRUE(::ImageList_GetIconSize(held, &width, &height));

    first = std::move(second);
    EXPECT_FALSE(::ImageList_GetIconSize(held, &width, &height));
    EXPECT_TRUE(::ImageList_GetIconSize(first.Get(), &width, &height));
    EXPECT_FALSE(second.Valid());
}

TEST(Win32GuiOwnerTest, DcMoveAssignmentReleasesOrDeletesTheHeldDc) {
    UniqueCreatedDc created(::CreateCompatibleDC(nullptr));
    HDC createdDc = created.Get();
    ASSERT_NE(::GetObjectType(createdDc), 0u);
    created = UniqueCreatedDc(::CreateCompatibleDC(nullptr));
    EXPECT_EQ(::GetObjectType(createdDc), 0u);

    UniqueWindow window(MakeWindow());
    UniqueWindowDc borrowed(WindowDc{window.Get(), ::GetDC(window.Get())});
    const WindowDc first = borrowed.Get();
    ASSERT_NE(first.dc, nullptr);
    borrowed = UniqueWindowDc();
    EXPECT_EQ(::ReleaseDC(first.window, first.dc), 0) << "already given back to its window";
}

}  // namespace
}  // namespace tolva::platform
