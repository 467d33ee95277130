#include "setup/answer_file.h"

#include <set>

#include "provisioning/connection_string.h"
#include "util/product.h"
#include "util/text.h"

namespace tolva::setup {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr char kSection[] = "Setup";

// The file's spelling of a choice's key: "Components" for "COMPONENTS".
std::string FileKey(std::string_view key) {
    std::string spelt = util::LowerCase(key);
    if (!spelt.empty()) {
        spelt[0] = static_cast<char>(spelt[0] - 'a' + 'A');
    }
    return spelt;
}

// Values that would lose blanks or read as quoted are written in quotes.
std::string FileValue(const std::string& value) {
    const bool quote =
        !value.empty() && (static_cast<unsigned char>(value.front()) <= ' ' ||
                           static_cast<unsigned char>(value.back()) <= ' ' || value.front() == '"');
    return quote ? "\"" + value + "\"" : value;
}

std::string ValueOf(std::string_view text) {
    std::string value = util::Trim(text);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

bool ReadAnswerFile(std::string_view text, SetupChoices& choices, std::string& error) {
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    SetupChoices read;
    std::set<std::string> seen;
    bool inSection = false;
    int number = 0;
    for (const std::string& raw : util::SplitText(text, '\n')) {
        ++number;
        const std::string line = util::Trim(raw);
        auto fail = [&](const std::string& reason) {
            error = "line " + std::to_string(number) + ": " + reason;
            return false;
        };
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']') {
                return fail("\"" + line + "\" is not a section heading");
            }
            const std::string name = util::Trim(std::string_view(line).substr(1, line.size() - 2));
            if (!util::SameText(name, kSection)) {
                return fail("unknown section [" + name + "] (only [Setup])");
            }
            inSection = true;
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos) {
            return fail("\"" + line + "\" is not of the form key=value");
        }
        const std::string key = util::Trim(std::string_view(line).substr(0, equals));
        if (!inSection) {
            return fail("\"" + key + "\" stands before the [Setup] section");
        }
        if (!seen.insert(util::UpperCase(key)).second) {
            return fail("\"" + key + "\" is given twice");
        }
        std::string reason;
        switch (SetChoice(read, key, ValueOf(std::string_view(line).substr(equals + 1)), reason)) {
            case ChoiceOutcome::kSet:
                break;
            case ChoiceOutcome::kUnknownKey:
                return fail("unknown key \"" + key + "\"");
            case ChoiceOutcome::kBadValue:
                return fail(key + ": " + reason);
        }
    }
    choices = std::move(read);
    return true;
}

std::string WriteAnswerFile(const SetupChoices& choices) {
    std::string text = std::string("; ") + kProductName + " " + kSetupVersion +
                       ": answers for setup.exe /LOADINF=\r\n";
    SetupChoices written = choices;
    if (written.database) {
        const std::string masked = provisioning::WithoutPasswords(*written.database);
        if (masked != *written.database) {
            text += "; The database passwords are left out: add them to Database before use.\r\n";
        }
        written.database = masked;
    }
    text += std::string("[") + kSection + "]\r\n";
    for (std::string_view key : kChoiceKeys) {
        if (const std::optional<std::string> value = ChoiceText(written, key)) {
            text += FileKey(key) + "=" + FileValue(*value) + "\r\n";
        }
    }
    return text;
}

}  // namespace tolva::setup
