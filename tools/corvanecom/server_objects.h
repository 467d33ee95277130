#pragma once
// The server's automation objects as the installer drives them: each class with its ProgID, its
// class id and the argument lists each method accepts. Used by the stand-in library and, on Linux,
// to give the in-memory automation the same classes.
//
// An argument list is one letter per argument, by how it travels: 's' a BSTR, 'r' a BSTR by
// reference, 'i' a 32-bit integer, 'b' a boolean; one method's lists are separated by '|'.

#include <array>
#include <span>
#include <string_view>

namespace tolva::standin {

struct ServerMethod {
    std::string_view name;
    std::string_view signatures;
};

struct ServerClass {
    std::string_view progId;
    std::string_view classId;
    std::span<const ServerMethod> methods;
};

inline constexpr std::array kDomainMethods{
    ServerMethod{"New", "s"},
    ServerMethod{"SetProperty", "ss"},
    ServerMethod{"Save", ""},
};

inline constexpr std::array kApiMethods{
    ServerMethod{"MakePrimaryDomain", "s"},
    ServerMethod{"SetProperty", "ss|si"},
    ServerMethod{"Save", ""},
    ServerMethod{"CreateTables", "ir"},
    ServerMethod{"ConvertStorage", "b"},
};

inline constexpr std::array kAccountMethods{
    ServerMethod{"New", "s"},
    ServerMethod{"SetProperty", "ss|sr|sb"},
    ServerMethod{"Save", ""},
};

inline constexpr std::array kServerClasses{
    ServerClass{"CorvaneServer.APIObject", "{5D1C6E2A-7B4F-4E0A-9C33-2A61F0B8D401}", kApiMethods},
    ServerClass{"CorvaneServer.DomainObject", "{5D1C6E2A-7B4F-4E0A-9C33-2A61F0B8D402}",
                kDomainMethods},
    ServerClass{"CorvaneServer.AccountObject", "{5D1C6E2A-7B4F-4E0A-9C33-2A61F0B8D403}",
                kAccountMethods},
};

}  // namespace tolva::standin
