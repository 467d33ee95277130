#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/unique_find_handle.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/unique_hkey.h"
#include "platform/win32/unique_module.h"
#include "platform/win32/unique_service_handle.h"

namespace tolva::platform {
namespace {

TEST(Win32HandleOwnerTest, HandleMoveAssignmentClosesTheHeldHandle) {
    UniqueHandle first(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    UniqueHandle second(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HANDLE firstHandle = first.Get();
    DWORD flags = 0;
    ASSERT_TRUE(::GetHandleInformation(firstHandle, &flags));

    first = std::move(second);
    EXPECT_FALSE(::GetHandleInformation(firstHandle, &flags));
    EXPECT_TRUE(::GetHandleInformation(first.Get(), &flags));
    EXPECT_FALSE(second.Valid());

    UniqueHandle invalid(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(invalid.Valid()) << "what CreateFile returns on failure owns nothing";
}

TEST(Win32HandleOwnerTest, KeyMoveAssignmentClosesTheHeldKey) {
    HKEY raw[2] = {};
    for (HKEY& key : raw) {
        ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key),
                  ERROR_SUCCESS);
    }
    UniqueHKey first(raw[0]);
    UniqueHKey second(raw[1]);

    first = std::move(second);
    EXPECT_NE(::RegQueryInfoKeyW(raw[0], nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(::RegQueryInfoKeyW(first.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
}

TEST(Win32HandleOwnerTest, FindMoveAssignmentEndsTheHeldSearch) {
    wchar_t windows[MAX_PATH];
    ASSERT_GT(::GetWindowsDirectoryW(windows, MAX_PATH), 0u);
    std::wstring pattern = std::wstring(windows) + L"\\*";
    WIN32_FIND_DATAW data;
    UniqueFindHandle first(::FindFirstFileW(pattern.c_str(), &data));
    UniqueFindHandle second(::FindFirstFileW(pattern.c_str(), &data));
    HANDLE firstSearch = first.Get();
    ASSERT_TRUE(first.Valid() && second.Valid());

    first = std::move(second);
    EXPECT_FALSE(::FindNextFileW(firstSearch, &data));
    EXPECT_TRUE(::FindNextFileW(first.Get(), &data));
}

TEST(Win32HandleOwnerTest, ModuleMoveAssignmentFreesTheHeldLibrary) {
    ASSERT_EQ(::GetModuleHandleW(L"cabinet.dll"), nullptr) << "loaded by someone else";
    UniqueModule first(::LoadLibraryW(L"cabinet.dll"));
    ASSERT_TRUE(first.Valid());
    UniqueModule second;

    first = std::move(second);
    EXPECT_EQ(::GetModuleHandleW(L"cabinet.dll"), nullptr);
}

TEST(Win32HandleOwnerTest, ServiceMoveAssignmentClosesTheHeldHandle) {
    UniqueServiceHandle first(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    UniqueServiceHandle second(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    ASSERT_TRUE(first.Valid() && second.Valid());
    SC_HANDLE firstManager = first.Get();

    first = std::move(second);
    EXPECT_FALSE(second.Valid());
    EXPECT_FALSE(::CloseServiceHandle(firstManager)) << "closed already";
    EXPECT_TRUE(::CloseServiceHandle(first.Release()));
}

}  // namespace
}  // namespace tolva::platform
