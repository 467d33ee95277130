#pragma once
// How the first window of a program the shell starts is shown.

#include <cstdint>

namespace tolva::platform {

// SW_* show commands.
enum class ShowCommand : int32_t { kHide = 0, kNormal = 1, kShow = 5 };

}  // namespace tolva::platform
