#include "call_log.h"

#include <cstdio>

#include "standin_text/connection_mask.h"

namespace tolva::standin {
namespace {

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] + 32) : a[i];
        char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] + 32) : b[i];
        if (x != y) {
            return false;
        }
    }
    return true;
}

std::string Stars(std::string_view text) {
    return std::string(text.size(), '*');
}

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}

std::string FormatArgument(const LoggedArgument& argument) {
    switch (argument.letter) {
        case 's':
            return "BSTR " + Quoted(argument.text);
        case 'r':
            return "BSTR& " + Quoted(argument.text);
        case 'i':
            return "I4 " + argument.text;
        case 'b':
            return "BOOL " + argument.text;
        default: {
            char type[16];
            std::snprintf(type, sizeof type, "VT 0x%04X", argument.vt);
            return type;
        }
    }
}

}  // namespace

std::string FormatCallLine(std::string_view progId, int instance, std::string_view method,
                           std::vector<LoggedArgument> arguments, std::string_view rejection) {
    if (SameName(method, "SetProperty") && arguments.size() == 2 &&
        SameName(arguments[0].text, "U_Password")) {
        arguments[1].text = Stars(arguments[1].text);
    }
    if (SameName(method, "CreateTables") && arguments.size() == 2) {
        arguments[1].text = MaskConnectionPasswords(arguments[1].text);
    }
    std::string line = std::string(progId) + " #" + std::to_string(instance) + " ";
    if (!rejection.empty()) {
        line += "rejected ";
    }
    line += std::string(method) + "(";
    for (size_t i = 0; i < arguments.size(); ++i) {
        line += (i == 0 ? "" : ", ") + FormatArgument(arguments[i]);
    }
    line += ")";
    if (!rejection.empty()) {
        line += ": " + std::string(rejection);
    }
    return line;
}

std::string FormatCreateLine(std::string_view progId, int instance) {
    return std::string(progId) + " #" + std::to_string(instance) + " created";
}

}  // namespace tolva::standin
