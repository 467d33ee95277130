#include "setup/file_copy.h"

#include <algorithm>
#include <string>
#include <vector>

#include "i18n/ui_strings.h"
#include "net/module_download.h"
#include "setup/exit_codes.h"
#include "util/text.h"

namespace tolva::setup {

namespace {

// Windows paths name the same file when they differ only in letter case or separator.
std::string ComparablePath(std::string_view path) {
    std::string comparable = util::LowerCase(path);
    std::replace(comparable.begin(), comparable.end(), '/', '\\');
    return comparable;
}

}  // namespace

FileCopier::FileCopier(platform::FileSystem& files, platform::Dialogs& dialogs,
                       const platform::System& system, util::SetupLogSink& log,
                       DeploymentProgress& progress, ProcessEnd& processEnd)
    : files_(files),
      dialogs_(dialogs),
      system_(system),
      log_(log),
      progress_(progress),
      processEnd_(processEnd) {}

bool FileCopier::CopyOneFile(std::string_view name, std::string_view sourceFolder,
                             std::string_view targetFolder) {
    return TransferOneFile(name, sourceFolder, targetFolder, Transfer::kCopy);
}

bool FileCopier::MoveOneFile(std::string_view name, std::string_view sourceFolder,
                             std::string_view targetFolder) {
    return TransferOneFile(name, sourceFolder, targetFolder, Transfer::kMove);
}

bool FileCopier::CopyTree(std::string_view sourceRoot, std::string_view relativeFolder,
                          std::string_view targetRoot) {
    return TransferTree(sourceRoot, relativeFolder, targetRoot, Transfer::kCopy);
}

bool FileCopier::MoveTree(std::string_view sourceRoot, std::string_view relativeFolder,
                          std::string_view targetRoot) {
    return TransferTree(sourceRoot, relativeFolder, targetRoot, Transfer::kMove);
}

bool FileCopier::TransferOneFile(std::string_view name, std::string_view sourceFolder,
                                 std::string_view targetFolder, Transfer transfer) {
    const std::string source = std::string(sourceFolder).append(name);
    const std::string target = std::string(targetFolder).append(name);
    if (ComparablePath(source) == ComparablePath(target)) {
        return true;
    }
    for (;;) {
        if (files_.FileExists(target)) {
            (void)files_.SetNormalAttributes(target);
        }
        // A failed move (another volume, a target in use) leaves the copy to decide and to report.
        if (transfer == Transfer::kMove && files_.MoveIn(source, target)) {
            progress_.ProcessPendingMessages();
            return true;
        }
        const platform::Status copied = files_.CopyOver(source, target);
        if (copied) {
            progress_.ProcessPendingMessages();
            return true;
        }
        log_.Write("Error: File \"" + target + "\" - " + system_.ErrorText(copied.code()));
        if (!AskRetry(name, copied)) {
            log_.Write("Error: Setup aborted\r\n");
            processEnd_.EndProcess(kExitInstallFailure);
            return false;
        }
    }
}

bool FileCopier::AskRetry(std::string_view name, const platform::Status& failure) {
    platform::MessageBoxRequest question;
    question.text = util::FillMarks(
        i18n::Text(i18n::cErrorFile),
        {system_.AnsiToWide(name), system_.AnsiToWide(system_.ErrorText(failure.code()))});
    question.caption = i18n::Text(i18n::cError);
    question.buttons = platform::DialogButtons::kRetryCancel;
    question.icon = platform::DialogIcon::kError;
    question.taskModal = true;
    return dialogs_.ShowMessageBox(question) == platform::DialogResult::kRetry;
}

bool FileCopier::TransferTree(std::string_view sourceRoot, std::string_view relativeFolder,
                              std::string_view targetRoot, Transfer transfer) {
    const std::string sourceFolder = std::string(sourceRoot).append(relativeFolder);
    const std::string targetFolder = std::string(targetRoot).append(relativeFolder);
    if (transfer == Transfer::kMove && files_.FolderExists(sourceFolder) &&
        !files_.FolderExists(targetFolder) && files_.MoveIn(sourceFolder, targetFolder)) {
        progress_.ProcessPendingMessages();
        return true;
    }
    std::vector<platform::FolderEntry> entries;
    if (!files_.ListFolder(sourceFolder, entries)) {
        return true;
    }
    bool targetMade = false;  // once per folder, not once per file
    for (const platform::FolderEntry& entry : entries) {
        if (entry.isFolder) {
            if (!TransferTree(sourceRoot, std::string(relativeFolder) + entry.name + "\\",
                              targetRoot, transfer)) {
                return false;
            }
            continue;
        }
        if (!targetMade) {
            targetMade = files_.CreateFolders(targetFolder).ok();
        }
        if (!TransferOneFile(entry.name, sourceFolder, targetFolder, transfer)) {
            return false;
        }
    }
    return true;
}

}  // namespace tolva::setup
