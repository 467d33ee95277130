#pragma once
// The switches of unattended and scripted runs. A command line whose first argument is one of them
// is read whole as such switches; any other command line is left to FirstArgumentSwitch, which
// looks at its first argument only, so every run started the classic way stays as it was.
//
//   /QUIET            no window at all; every question takes its default answer
//   /PASSIVE          no wizard, no questions: a small progress window with a Cancel button
//   /CHECK            a dry run: the plan and the machine's readiness, nothing changed
//   /SILENT           no start question (as the classic switch)
//   /UNINSTALL        removes the installation (with /QUIET or /PASSIVE: without its question)
//   /LOG=FILE         the setup log also written to FILE, from the run's first line
//   /RESULT=FILE      a JSON document about the run, written at its end
//   /SAVEINF=FILE     the run's choices written to FILE as an answer file
//   /LOADINF=FILE     choices read from the answer file FILE; the command line's own win
//   /LANG= /DIR= /TYPE= /COMPONENTS= /NAME= /EMAIL= /COMPANY= /COUNTRY= /DATABASE= /FINISH=
//                     the choices (setup_choices.h)
//
// Switch names are compared without regard to letter case. Texts are UTF-8.

#include <string>
#include <vector>

#include "setup/setup_choices.h"

namespace tolva::setup {

enum class RunMode {
    kInteractive,  // the wizard, preset with the choices given
    kPassive,      // /PASSIVE
    kQuiet,        // /QUIET
    kCheck,        // /CHECK
};

struct RunSwitches {
    RunMode mode = RunMode::kInteractive;
    bool silent = false;
    bool uninstall = false;
    std::string logFile;
    std::string resultFile;
    std::string saveFile;
    std::string loadFile;
    SetupChoices choices;  // those of the command line only
};

// True when the first argument is one of the switches above, so that the whole command line is
// read with ParseRunSwitches.
bool StartsWithRunSwitch(const std::vector<std::string>& arguments);

// Reads every argument (the language export switch, which the localization takes wherever it
// stands, is passed over). False with the first reason in error when an argument is not one of the
// switches, a value is malformed, a switch is given twice, or two switches exclude each other; the
// switches that could be read are set even then, so that the log and the result find their files.
bool ParseRunSwitches(const std::vector<std::string>& arguments, RunSwitches& switches,
                      std::string& error);

// True when the command line starts with run switches and one of its arguments asks for a run
// without the wizard (/QUIET, /PASSIVE, /CHECK): its message boxes are never shown.
bool RunsWithoutQuestions(const std::vector<std::string>& arguments);

}  // namespace tolva::setup
