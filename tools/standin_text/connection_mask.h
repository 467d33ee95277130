#pragma once
// What the stand-ins write of a database connection string in their logs: every password starred,
// one "*" per character, so that no log holds one.

#include <string>
#include <string_view>

namespace tolva::standin {

// The password is the third value of each part: "dsn;user;password;..." then
// "|dsn|user|password|...".
inline std::string MaskConnectionPasswords(std::string_view connection) {
    std::string masked;
    size_t field = 0;
    size_t start = 0;
    for (size_t i = 0; i <= connection.size(); ++i) {
        if (i < connection.size() && connection[i] != ';' && connection[i] != '|') {
            continue;
        }
        const std::string_view value = connection.substr(start, i - start);
        masked += field % 6 == 2 ? std::string(value.size(), '*') : std::string(value);
        if (i < connection.size()) {
            masked += connection[i];
        }
        ++field;
        start = i + 1;
    }
    return masked;
}

}  // namespace tolva::standin
