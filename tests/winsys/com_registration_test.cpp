#include "winsys/com_registration.h"

#include <gtest/gtest.h>

#include "fakes/suite_machine.h"

namespace tolva::winsys {
namespace {

std::vector<std::string> calls;
int32_t Registers() {
    calls.push_back("register");
    return 0;
}
int32_t Unregisters() {
    calls.push_back("unregister");
    return 0;
}
int32_t Refuses() {
    calls.push_back("refuse");
    return static_cast<int32_t>(0x80040201);  // SELFREG_E_CLASS
}

TEST(ComRegistrationTest, TheLibrarysOwnEntryDecides) {
    testing::DeclaredLibraries libraries;
    libraries.Declare("C:\\Tolva\\corvanecom.dll",
                      {{"DllRegisterServer", reinterpret_cast<void*>(&Registers)},
                       {"DllUnregisterServer", reinterpret_cast<void*>(&Unregisters)}});
    libraries.Declare("C:\\Tolva\\api.dll",
                      {{"DllRegisterServer", reinterpret_cast<void*>(&Refuses)}});
    calls.clear();

    EXPECT_TRUE(RegisterComServer(libraries, "C:\\Tolva\\corvanecom.dll"));
    EXPECT_TRUE(UnregisterComServer(libraries, "C:\\Tolva\\corvanecom.dll"));
    EXPECT_FALSE(RegisterComServer(libraries, "C:\\Tolva\\api.dll")) << "nonzero result";
    EXPECT_FALSE(UnregisterComServer(libraries, "C:\\Tolva\\api.dll")) << "no such export";
    EXPECT_FALSE(RegisterComServer(libraries, "C:\\Tolva\\missing.dll"));
    EXPECT_EQ(calls, (std::vector<std::string>{"register", "unregister", "refuse"}));
    EXPECT_EQ(libraries.Freed(), 4) << "every library loaded is freed";
}

}  // namespace
}  // namespace tolva::winsys
