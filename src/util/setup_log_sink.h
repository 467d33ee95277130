#pragma once
// The setup log as the modules that write to it see it; the install sequence provides it.

#include <string_view>

namespace tolva::util {

class SetupLogSink {
public:
    virtual ~SetupLogSink() = default;
    // One message, without a line end; the log puts the local time in front and ends the line.
    virtual void Write(std::string_view message) = 0;
};

}  // namespace tolva::util
