#pragma once
// Deployment: the main archive's files, already extracted into the extraction folder, and the
// component archives put into the installation folder, with the keep-existing rules of an
// upgrade.
//
// Keep-existing rules: config\cert.pem and config\webserver.dat are created only when missing;
// spam\antispam.db, calendar\groupware.db and spam\rules\local.cf survive; the ldap folder is
// created once; files of the Wizards and ASpell folders that exist stay. Program files, the doc,
// modules, html, api, examples and xml trees, calendar.xml with the holidays and doc folders,
// the rules numbered 1 to 6 and the webmail files are replaced.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "setup/deployment_calls.h"
#include "setup/deployment_state.h"
#include "setup/file_copy.h"
#include "setup/process_end.h"
#include "util/setup_abort.h"
#include "util/setup_log_sink.h"
#include "winsys/config_template.h"

namespace tolva::setup {

// Where an archive of the distribution is taken from: beside the setup program; for an archive of
// the package table that is not there, the copy the module download fetched into the extraction
// folder. Without either, the path beside the setup program, which then fails to open.
std::string ArchivePath(const platform::FileSystem& files, const DeploymentState& state,
                        std::string_view name);
bool ArchiveAvailable(const platform::FileSystem& files, const DeploymentState& state,
                      std::string_view name);

// The progress report of one extraction: pending window messages run each time another 128 KiB of
// the archive has been read, and at its end. Often enough for repaints and Cancel to be heard at
// once; rarely enough that the message loop, a round trip to the window system, does not cost more
// than extracting the small files of a web tree.
std::function<void(uint64_t done, uint64_t total)> MessagesWhileExtracting(
    DeploymentProgress& progress);

class Deployment {
public:
    // The platform needs files, dialogs and system. The state is read, never changed.
    Deployment(const platform::Platform& platform, const DeploymentState& state,
               util::SetupLogSink& log, util::SetupAbort& abort, DeploymentProgress& progress,
               ProcessEnd& processEnd, DeploymentCalls& calls);

    // The deployment step of the install sequence: progress text "Installing Files...", the
    // installation folder created with its parents (or the installation aborted), then
    // DeployAdminOnly or DeployFull.
    //
    // Each of these returns false only after an abort whose process end came back (tests).
    bool DeployFiles(bool adminOnly);
    // The administration interface alone: setupconfig.dat into the installation folder.
    bool DeployAdminOnly();
    // Everything else, in nineteen steps; advances the progress bar twice.
    bool DeployFull();

    // Removes what the user left out: im.exe, cal.exe, the avast and the spam folders.
    void RemoveExcludedComponents();

private:
    // The steps of DeployFull, in order.
    void CreateInstallationFolders();
    void CopySetupDocuments();
    bool CopyProgramFiles();
    void MoveLegacyConfiguration();
    bool CopyCertificate();
    bool CopyMainArchiveTrees();
    bool DeployAntiSpam();
    bool DeployGroupWare();
    bool DeployAntivirus();
    void CopyDocuments();
    void FillWebServerTemplate();
    void DeployPhp();
    void DeployLdap();
    void DeployAddOns();
    bool DeployWebmail();
    void ApplyFinalArchives();

    // ExtractArchive with empty keep and include lists and no password, letting window messages
    // run while it reads.
    bool Extract(std::string_view archive, std::string_view destination, bool overwrite);
    // Extract with overwrite on; a failure aborts the installation with the archive's name.
    bool ExtractOrAbort(std::string_view archive, std::string_view destination);

    platform::FileSystem& files_;
    const platform::System& system_;
    const DeploymentState& state_;
    util::SetupAbort& abort_;
    DeploymentProgress& progress_;
    DeploymentCalls& calls_;
    FileCopier copier_;
    const std::string& install_;
    const std::string& extract_;
};

}  // namespace tolva::setup
