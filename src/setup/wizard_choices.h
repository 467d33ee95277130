#pragma once
// Choices made on the main window without its pages being shown, as the user would make them, and
// the choices a run made, read back from the window for an answer file.

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/system.h"
#include "setup/main_form.h"
#include "setup/setup_choices.h"

namespace tolva::setup {

// What the pages made of the choices beyond their own checks.
struct ChoiceNotes {
    // The setup type was given for an upgrade, whose type stays as it is.
    bool typeIgnored = false;
};

// Makes the choices on the window after its start-up: the installation folder, the user details,
// the setup type and database connection (DATABASE alone chooses the advanced type), the
// components on the Components page's preselection, and the Finished page's ticks. The folder must
// be one that can be made. False with the reason in error (UTF-8), the window then partly changed.
bool ApplyChoices(TMainForm& form, const SetupChoices& choices, const platform::FileSystem& files,
                  const platform::System& system, std::string& error, ChoiceNotes* notes = nullptr);

// The Finished page's ticks of the choices; ticks left unset stay as the page set them.
void ApplyFinishChoices(TMainForm& form, const SetupChoices& choices);

// False with the reason when the window's choices would keep Next disabled on a page or need a
// dialog that an unattended run cannot show: a blank name, an implausible e-mail address, an
// advanced installation without a database connection.
bool UnattendedChoicesComplete(const TMainForm& form, std::string& error);

// True when the folder exists or can be made: a full path on a drive that exists, no character
// Windows refuses in names, at most 255 characters, and no file where a folder of it has to be.
bool FolderCanBeMade(const platform::FileSystem& files, std::string_view folder,
                     std::string& reason);

// Every choice of the run as the window holds it now; language: the language in use.
SetupChoices CurrentChoices(const TMainForm& form, const platform::System& system,
                            std::string language);

}  // namespace tolva::setup
