#pragma once
// Where the online services write their lines of the setup log; the install sequence provides it.

#include <string_view>

namespace tolva::net {

class SetupLogSink {
public:
    virtual ~SetupLogSink() = default;
    // One message; the log adds the time in front and the line break.
    virtual void Write(std::string_view message) = 0;
};

}  // namespace tolva::net
