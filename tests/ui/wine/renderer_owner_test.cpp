// The renderer's owners of windows, GDI objects and image lists: moving one into another releases
// what the target held, and only that.

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "ui/win32/unique_gdi_object.h"
#include "ui/win32/unique_image_list.h"
#include "ui/win32/unique_window.h"

namespace tolva::ui {
namespace {

TEST(RendererOwnerTest, GdiObjectMoveAssignmentDeletesTheObjectHeld) {
    HBRUSH first = ::CreateSolidBrush(RGB(1, 2, 3));
    HBRUSH second = ::CreateSolidBrush(RGB(4, 5, 6));
    UniqueGdiObject target(first);
    UniqueGdiObject source(second);
    target = std::move(source);
    EXPECT_EQ(::GetObjectType(first), 0u);
    EXPECT_EQ(::GetObjectType(second), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(target.Get(), second);
    EXPECT_FALSE(source.Valid());
}

TEST(RendererOwnerTest, WindowMoveAssignmentDestroysTheWindowHeld) {
    HWND first = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                   nullptr, nullptr);
    HWND second = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                    nullptr, nullptr);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    {
        UniqueWindow target(first);
        UniqueWindow source(second);
        target = std::move(source);
        EXPECT_FALSE(::IsWindow(first));
        EXPECT_TRUE(::IsWindow(second));
    }
    EXPECT_FALSE(::IsWindow(second));
}

TEST(RendererOwnerTest, ImageListMoveAssignmentDestroysTheListHeld) {
    HIMAGELIST first = ::ImageList_Create(16, 16, ILC_COLOR32, 1, 0);
    HIMAGELIST second = ::ImageList_Create(16, 16, ILC_COLOR32, 1, 0);
    UniqueImageList target(first);
    UniqueImageList source(second);
    target = std::move(source);
    int width = 0;
    int height = 0;
    EXPECT_FALSE(::ImageList_GetIconSize(first, &width, &height));
    EXPECT_TRUE(::ImageList_GetIconSize(second, &width, &height));
}

}  // namespace
}  // namespace tolva::ui
