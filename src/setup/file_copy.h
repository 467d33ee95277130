#pragma once
// The copy engine of the deployment: single files with the retry question on failure, and folder
// trees.

#include <string_view>

#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/system.h"
#include "setup/deployment_state.h"
#include "setup/process_end.h"
#include "util/setup_log_sink.h"

namespace tolva::setup {

class FileCopier {
public:
    FileCopier(platform::FileSystem& files, platform::Dialogs& dialogs,
               const platform::System& system, util::SetupLogSink& log,
               DeploymentProgress& progress, ProcessEnd& processEnd);

    // Copies sourceFolder + name over targetFolder + name (attributes of an existing target
    // cleared first), then lets pending window messages run. A failure is logged and the user
    // asked to retry or cancel; Cancel logs the abort and ends the process with
    // kExitInstallFailure. A source that is the target itself (the setup program run from the
    // installation folder) is already in place. False only when the user cancelled and the process
    // end returned.
    [[nodiscard]] bool CopyOneFile(std::string_view name, std::string_view sourceFolder,
                                   std::string_view targetFolder);
    // As CopyOneFile, for a source that is needed nowhere else: moved where the file system can
    // (the same volume), copied otherwise. The target ends as a copy would, with the permissions
    // of its folder; the source is gone when it was moved.
    [[nodiscard]] bool MoveOneFile(std::string_view name, std::string_view sourceFolder,
                                   std::string_view targetFolder);

    // Copies every file below sourceRoot + relativeFolder to targetRoot + relativeFolder, creating
    // the folders that receive files; empty folders are not created and a missing source copies
    // nothing. Files go in the order the file system lists them. False only as CopyOneFile.
    [[nodiscard]] bool CopyTree(std::string_view sourceRoot, std::string_view relativeFolder,
                                std::string_view targetRoot);
    // As CopyTree, each file as MoveOneFile; the source's folders stay, emptied. A tree whose
    // target folder does not exist yet moves whole in one step where it can, its empty folders
    // (which an extraction never makes) with it.
    [[nodiscard]] bool MoveTree(std::string_view sourceRoot, std::string_view relativeFolder,
                                std::string_view targetRoot);

private:
    enum class Transfer { kCopy, kMove };

    bool TransferOneFile(std::string_view name, std::string_view sourceFolder,
                         std::string_view targetFolder, Transfer transfer);
    bool TransferTree(std::string_view sourceRoot, std::string_view relativeFolder,
                      std::string_view targetRoot, Transfer transfer);
    // Retry (true) or Cancel, asked after a failed copy.
    bool AskRetry(std::string_view name, const platform::Status& failure);

    platform::FileSystem& files_;
    platform::Dialogs& dialogs_;
    const platform::System& system_;
    util::SetupLogSink& log_;
    DeploymentProgress& progress_;
    ProcessEnd& processEnd_;
};

}  // namespace tolva::setup
