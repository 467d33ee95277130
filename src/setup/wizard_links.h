#pragma once
// What the main window's pages call in other parts of the installer, each through the smallest
// interface that says it. setup.exe wires the real parts in; a link left unset skips its step.

#include <optional>
#include <string>

namespace tolva::setup {

// The folder browser of the Install folder page.
class FolderBrowser {
public:
    virtual ~FolderBrowser() = default;
    // Opens with folder preset; on OK the chosen folder as typed is in folder and true returns.
    virtual bool Browse(std::string& folder) = 0;
};

// The database dialog in its installer form.
class DatabaseDialog {
public:
    virtual ~DatabaseDialog() = default;
    // Opens preset to connection; the connection string the user confirmed, nothing on Cancel.
    virtual std::optional<std::string> EditConnection(const std::string& connection) = 0;
};

// The install sequence behind the Installing page.
class InstallRunner {
public:
    virtual ~InstallRunner() = default;
    virtual void RunInstallSequence() = 0;
};

// The actions of the Finished page that reach the installed server.
class FinishSteps {
public:
    virtual ~FinishSteps() = default;
    // Switches the server's account storage to the database of connection.
    virtual void SwitchToDatabaseStorage(const std::string& connection) = 0;
    virtual void RunPostInstallWizard() = 0;
    // Tells the control service that the installation has finished (task message code 3).
    virtual void NotifyControlService() = 0;
};

struct WizardLinks {
    FolderBrowser* folderBrowser = nullptr;
    DatabaseDialog* databaseDialog = nullptr;
    InstallRunner* installRunner = nullptr;
    FinishSteps* finishSteps = nullptr;
};

}  // namespace tolva::setup
