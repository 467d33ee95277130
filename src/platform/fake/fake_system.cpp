#include "platform/fake/fake_system.h"

#include "platform/fake/windows_1252.h"

namespace tolva::platform {

uint32_t FakeSystem::Ticks() const {
    uint32_t now = ticks_;
    ticks_ += tickStep_;
    return now;
}

void FakeSystem::SleepFor(uint32_t milliseconds) {
    sleeps_.push_back(milliseconds);
    ticks_ += milliseconds;
}

std::u16string FakeSystem::AnsiToWide(std::string_view text) const {
    return Windows1252ToWide(text);
}

std::string FakeSystem::WideToAnsi(std::u16string_view text) const {
    return WideToWindows1252(text);
}

std::string FakeSystem::ErrorText(uint32_t code) const {
    return "System error " + std::to_string(code);
}

}  // namespace tolva::platform
