// What a pipe server learns of the installer when it connects: enough to identify it, never enough
// to act as it.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <thread>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_pipes.h"

namespace tolva::platform {
namespace {

// Wine gives every pipe server the client's full impersonation, whatever the client asked for.
bool RunsOnWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

TEST(Win32PipeIdentityTest, ServerMayIdentifyTheInstallerButNotActAsIt) {
    if (RunsOnWine()) {
        GTEST_SKIP() << "Wine does not model impersonation levels of pipe clients";
    }
    const wchar_t* const name = L"\\\\.\\pipe\\TolvaIdentityProbe";
    UniqueHandle server(
        ::CreateNamedPipeW(name, PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 1, 64, 64, 0, nullptr));
    ASSERT_TRUE(server.Valid());
    Win32Pipes pipes;
    std::unique_ptr<PipeConnection> connection;
    ASSERT_TRUE(pipes.Open("\\\\.\\pipe\\TolvaIdentityProbe", connection).ok());
    (void)::ConnectNamedPipe(server.Get(), nullptr);
    const char byte = 1;
    size_t written = 0;
    ASSERT_TRUE(connection->Write(&byte, 1, written).ok());
    char got = 0;
    DWORD read = 0;
    ASSERT_TRUE(::ReadFile(server.Get(), &got, 1, &read, nullptr));

    SECURITY_IMPERSONATION_LEVEL level = SecurityImpersonation;
    std::thread([&] {
        ASSERT_TRUE(::ImpersonateNamedPipeClient(server.Get()));
        HANDLE token = nullptr;
        ASSERT_TRUE(::OpenThreadToken(::GetCurrentThread(), TOKEN_QUERY, TRUE, &token));
        UniqueHandle owned(token);
        DWORD size = 0;
        EXPECT_TRUE(
            ::GetTokenInformation(token, TokenImpersonationLevel, &level, sizeof level, &size));
        ::RevertToSelf();
    }).join();
    EXPECT_EQ(level, SecurityIdentification);
}

}  // namespace
}  // namespace tolva::platform
