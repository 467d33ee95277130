#pragma once
// One line of the stand-in's call log, such as
//     CorvaneServer.AccountObject #1 SetProperty(BSTR "U_Name", BSTR& "Admin")
// Texts are UTF-8 in quotation marks, with '"' and '\' escaped by a backslash. Passwords are
// written as one '*' per character: the account password (U_Password) and the password fields of
// a connection string.

#include <string>
#include <string_view>
#include <vector>

namespace tolva::standin {

struct LoggedArgument {
    char letter = '?';      // as in server_objects.h; '?' for any other type
    std::string text;       // BSTR contents in UTF-8, or the number
    unsigned short vt = 0;  // the VARIANT type, shown for '?'
};

// rejection: empty for an accepted call, else the error's name.
std::string FormatCallLine(std::string_view progId, int instance, std::string_view method,
                           std::vector<LoggedArgument> arguments, std::string_view rejection);
std::string FormatCreateLine(std::string_view progId, int instance);

}  // namespace tolva::standin
