#pragma once
// What both XML fuzz targets need: one code page for every run, and a check that stops the run.

#include <cstdlib>

#include "platform/fake/fake_system.h"

namespace tolva::util::fuzz {

inline const platform::FakeSystem& System() {
    static const platform::FakeSystem system;
    return system;
}

inline void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace tolva::util::fuzz
