#include "ildspack/command_line.h"

namespace tolva::ildspack {

const char kUsage[] =
    "usage: ildspack pack ARCHIVE FOLDER [--password P] [--quiet]\n"
    "       ildspack list ARCHIVE\n"
    "       ildspack verify ARCHIVE [--password P] [--quiet]\n"
    "       ildspack extract ARCHIVE FOLDER [--password P] [--keep LIST] [--include LIST] "
    "[--no-overwrite] "
    "[--quiet]\n";

namespace {

struct Grammar {
    size_t positionals;  // after the command
    bool password;
    bool selection;  // --keep, --include, --no-overwrite
};

std::optional<std::pair<Command, Grammar>> FindCommand(const std::string& name) {
    if (name == "pack") {
        return std::pair{Command::kPack, Grammar{2, true, false}};
    }
    if (name == "list") {
        return std::pair{Command::kList, Grammar{1, false, false}};
    }
    if (name == "verify") {
        return std::pair{Command::kVerify, Grammar{1, true, false}};
    }
    if (name == "extract") {
        return std::pair{Command::kExtract, Grammar{2, true, true}};
    }
    return std::nullopt;
}

}  // namespace

std::optional<Invocation> ParseCommandLine(const std::vector<std::string>& args) {
    if (args.empty()) {
        return std::nullopt;
    }
    const auto found = FindCommand(args[0]);
    if (!found) {
        return std::nullopt;
    }
    const auto [command, grammar] = *found;

    Invocation invocation;
    invocation.command = command;
    std::vector<std::string> positionals;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) {
                return false;
            }
            into = args[++i];
            return true;
        };
        if (arg == "--quiet") {
            invocation.quiet = true;
        } else if (arg == "--password" && grammar.password) {
            if (!value(invocation.password)) {
                return std::nullopt;
            }
        } else if (arg == "--keep" && grammar.selection) {
            if (!value(invocation.keepList)) {
                return std::nullopt;
            }
        } else if (arg == "--include" && grammar.selection) {
            if (!value(invocation.includeList)) {
                return std::nullopt;
            }
        } else if (arg == "--no-overwrite" && grammar.selection) {
            invocation.overwrite = false;
        } else if (arg.size() > 1 && arg.starts_with("--")) {
            return std::nullopt;
        } else {
            positionals.push_back(arg);
        }
    }
    if (positionals.size() != grammar.positionals) {
        return std::nullopt;
    }
    for (const std::string& positional : positionals) {
        if (positional.empty()) {
            return std::nullopt;
        }
    }
    invocation.archive = positionals[0];
    if (positionals.size() > 1) {
        invocation.folder = positionals[1];
    }
    return invocation;
}

}  // namespace tolva::ildspack
