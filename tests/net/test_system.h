#pragma once
// The machine the download tests run on.

#include "platform/fake/fake_system.h"

namespace tolva::testing {

// The temporary folder C:\Temp\ and the clock at 2026-12-09 14:05:09.
inline platform::FakeSystem TestSystem() {
    platform::FakeSystem system;
    system.SetTempFolder("C:\\Temp\\");
    system.SetNow({2026, 12, 9, 14, 5, 9, 0, 3});
    return system;
}

}  // namespace tolva::testing
