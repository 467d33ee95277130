#pragma once
// The ildspack command line.

#include <optional>
#include <string>
#include <vector>

namespace tolva::ildspack {

enum class Command { kPack, kList, kVerify, kExtract };

struct Invocation {
    Command command = Command::kList;
    std::string archive;
    std::string folder;  // pack and extract
    std::string password;
    std::string keepList;
    std::string includeList;
    bool overwrite = true;
    bool quiet = false;
};

// Empty when the arguments (without the program name) do not form a valid invocation.
std::optional<Invocation> ParseCommandLine(const std::vector<std::string>& args);

extern const char kUsage[];

}  // namespace tolva::ildspack
