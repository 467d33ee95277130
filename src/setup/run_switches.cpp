#include "setup/run_switches.h"

#include <set>
#include <string_view>

#include "i18n/export_switch.h"
#include "util/text.h"

namespace tolva::setup {
namespace {

using util::SameText;
using util::UpperCase;

constexpr std::string_view kFlags[] = {"QUIET", "PASSIVE", "CHECK", "SILENT", "UNINSTALL"};
constexpr std::string_view kFiles[] = {"LOG", "RESULT", "SAVEINF", "LOADINF"};

// "/NAME" or "/NAME=value" split into the upper-case name and the value; false when the argument
// does not start with "/".
bool SplitSwitch(std::string_view argument, std::string& name, std::string& value, bool& hasValue) {
    if (argument.size() < 2 || argument.front() != '/') {
        return false;
    }
    const size_t equals = argument.find('=');
    hasValue = equals != std::string_view::npos;
    name = UpperCase(argument.substr(1, hasValue ? equals - 1 : std::string_view::npos));
    value = hasValue ? std::string(argument.substr(equals + 1)) : std::string();
    return true;
}

template <size_t N>
bool IsOneOf(const std::string& name, const std::string_view (&names)[N]) {
    for (std::string_view known : names) {
        if (name == known) {
            return true;
        }
    }
    return false;
}

bool IsChoice(const std::string& name) {
    return IsOneOf(name, kChoiceKeys);
}

class Parser {
public:
    explicit Parser(RunSwitches& switches) : s_(switches) {}

    bool Read(const std::string& argument, std::string& error) {
        std::string name;
        std::string value;
        bool hasValue = false;
        if (!SplitSwitch(argument, name, value, hasValue) ||
            !(IsOneOf(name, kFlags) || IsOneOf(name, kFiles) || IsChoice(name))) {
            error = "unknown switch \"" + argument + "\"";
            return false;
        }
        if (!seen_.insert(name).second) {
            error = "/" + name + " is given twice";
            return false;
        }
        if (IsOneOf(name, kFlags)) {
            if (hasValue) {
                error = "/" + name + " takes no value";
                return false;
            }
            return Flag(name, error);
        }
        if (!hasValue) {
            error = "/" + name + " needs a value: /" + name + "=" +
                    (IsOneOf(name, kFiles) ? "FILE" : "...");
            return false;
        }
        if (IsOneOf(name, kFiles)) {
            if (util::Trim(value).empty()) {
                error = "/" + name + " needs a file name";
                return false;
            }
            File(name) = util::Trim(value);
            return true;
        }
        std::string reason;
        if (SetChoice(s_.choices, name, value, reason) != ChoiceOutcome::kSet) {
            error = "/" + name + ": " + reason;
            return false;
        }
        return true;
    }

    // The switches that exclude each other.
    bool Consistent(std::string& error) const {
        const bool check = s_.mode == RunMode::kCheck;
        if (check && s_.uninstall) {
            error = "/CHECK cannot be combined with /UNINSTALL";
        } else if (check && !s_.saveFile.empty()) {
            error = "/CHECK cannot be combined with /SAVEINF";
        } else if (s_.uninstall &&
                   (!s_.choices.Empty() || !s_.loadFile.empty() || !s_.saveFile.empty())) {
            error = "/UNINSTALL takes no installation choices";
        } else {
            return true;
        }
        return false;
    }

private:
    bool Flag(const std::string& name, std::string& error) {
        if (name == "SILENT") {
            s_.silent = true;
        } else if (name == "UNINSTALL") {
            s_.uninstall = true;
        } else {
            const RunMode mode = name == "QUIET"     ? RunMode::kQuiet
                                 : name == "PASSIVE" ? RunMode::kPassive
                                                     : RunMode::kCheck;
            if (s_.mode != RunMode::kInteractive) {
                error = "/" + name + " cannot be combined with /" + ModeName(s_.mode);
                return false;
            }
            s_.mode = mode;
        }
        return true;
    }

    static std::string ModeName(RunMode mode) {
        switch (mode) {
            case RunMode::kQuiet:
                return "QUIET";
            case RunMode::kPassive:
                return "PASSIVE";
            case RunMode::kCheck:
                return "CHECK";
            case RunMode::kInteractive:
                break;
        }
        return "";
    }

    std::string& File(const std::string& name) {
        if (name == "LOG") {
            return s_.logFile;
        }
        if (name == "RESULT") {
            return s_.resultFile;
        }
        if (name == "SAVEINF") {
            return s_.saveFile;
        }
        return s_.loadFile;
    }

    RunSwitches& s_;
    std::set<std::string> seen_;
};

}  // namespace

bool StartsWithRunSwitch(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return false;
    }
    std::string name;
    std::string value;
    bool hasValue = false;
    if (!SplitSwitch(arguments.front(), name, value, hasValue)) {
        return false;
    }
    // The classic switches keep their meaning as the first argument.
    if (name == "SILENT" || name == "UNINSTALL") {
        return false;
    }
    return IsOneOf(name, kFlags) || IsOneOf(name, kFiles) || IsChoice(name);
}

bool ParseRunSwitches(const std::vector<std::string>& arguments, RunSwitches& switches,
                      std::string& error) {
    switches = RunSwitches{};
    Parser parser(switches);
    error.clear();
    for (const std::string& argument : arguments) {
        std::string fault;
        if (!i18n::HasExportLanguageSwitch({argument}) && !parser.Read(argument, fault) &&
            error.empty()) {
            error = fault;
        }
    }
    return error.empty() && parser.Consistent(error);
}

bool RunsWithoutQuestions(const std::vector<std::string>& arguments) {
    if (!StartsWithRunSwitch(arguments)) {
        return false;
    }
    // Looked for in every argument: a fault elsewhere on the line must not bring up a box.
    for (const std::string& argument : arguments) {
        for (const char* mode : {"/QUIET", "/PASSIVE", "/CHECK"}) {
            if (SameText(argument, mode)) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace tolva::setup
