#pragma once
// The answer file: a run's choices as an INI file in UTF-8, written by /SAVEINF and read by
// /LOADINF.
//
//     ; Corvane Tolva Mail Server 9.1.0: answers for setup.exe /LOADINF=
//     [Setup]
//     Dir=C:\Program Files\Tolva
//     Type=standard
//     Components=Services and core files,!Anti-Virus
//     Name=Jane Tester
//     Email="jane@example.com"
//
// One section, [Setup]; its keys are the names of the choice switches (setup_choices.h), in any
// letter case, each at most once. Lines starting with ";" or "#" and empty lines are comments. A
// value is taken as it stands after "=", blanks at both ends trimmed; a value in double quotes is
// taken as it stands between them (blanks and ";" included). A UTF-8 byte order mark is passed
// over. Anything else is an error naming its line.

#include <string>
#include <string_view>

#include "setup/setup_choices.h"

namespace tolva::setup {

// Reads the choices of a file's text; false with the reason (with its line number) in error.
bool ReadAnswerFile(std::string_view text, SetupChoices& choices, std::string& error);

// The text of an answer file holding every choice that is set. Passwords never reach the file: the
// database connection is written without them, and a comment line says so.
std::string WriteAnswerFile(const SetupChoices& choices);

}  // namespace tolva::setup
