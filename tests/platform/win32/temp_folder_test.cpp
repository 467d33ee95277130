#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_system.h"

namespace tolva::platform {
namespace {

// The environment variable's value for the scope, restored after it.
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const std::wstring& value) : name_(name) {
        wchar_t old[MAX_PATH + 1] = {};
        const DWORD length = ::GetEnvironmentVariableW(name, old, MAX_PATH + 1);
        had_ = length != 0 && length <= MAX_PATH;
        old_.assign(old, had_ ? length : 0);
        ::SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedVariable() { ::SetEnvironmentVariableW(name_, had_ ? old_.c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const wchar_t* name_;
    std::wstring old_;
    bool had_ = false;
};

// TEMP often holds an 8.3 name; the folder is given in long names all the same, so that it
// compares as text with the setup program's own folder.
TEST(TempFolder, IsGivenInLongNames) {
    Win32System system;
    const std::string temp = system.TempFolder();
    ASSERT_FALSE(temp.empty());
    const std::wstring longFolder =
        std::wstring(temp.begin(), temp.end()) + L"Tolva long folder name\\";
    ASSERT_TRUE(::CreateDirectoryW(longFolder.c_str(), nullptr) ||
                ::GetLastError() == ERROR_ALREADY_EXISTS);
    wchar_t shortName[MAX_PATH + 1] = {};
    const DWORD length = ::GetShortPathNameW(longFolder.c_str(), shortName, MAX_PATH + 1);
    ASSERT_GT(length, 0u);
    ASSERT_NE(std::wstring(shortName, length), longFolder) << "no 8.3 name to test with";
    {
        ScopedVariable tmp(L"TMP", shortName);
        ScopedVariable tempVariable(L"TEMP", shortName);
        EXPECT_EQ(system.TempFolder(), temp + "Tolva long folder name\\");
    }
    ::RemoveDirectoryW(longFolder.c_str());
}

}  // namespace
}  // namespace tolva::platform
