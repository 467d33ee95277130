// The copy engine: replacing files, the retry question after a failed copy, Cancel ending the
// installation, and folder trees.

#include <gtest/gtest.h>

#include "deployment_fixture.h"
#include "setup/exit_codes.h"
#include "setup/file_copy.h"

namespace tolva::setup {
namespace {

using platform::DialogButtons;
using platform::DialogIcon;
using platform::DialogResult;
using platform::FileOperation;
using test::DeploymentRun;

class FileCopyTest : public ::testing::Test, protected DeploymentRun {
protected:
    // The next `times` copies onto a path ending in the suffix are refused.
    void RefuseCopies(const std::string& suffix, int times) {
        for (int i = 0; i < times; ++i) {
            files.Inject(FileOperation::kCopyOver)
                .OnPathsEndingIn(suffix)
                .WithCode(platform::error::kAccessDenied)
                .Once();
        }
    }

    FileCopier copier{files, dialogs, system, log, progress, processEnd};
};

TEST_F(FileCopyTest, ReplacesAReadOnlyTargetAndLetsMessagesRun) {
    Put("C:\\src\\a.txt", "new");
    Put("C:\\dst\\a.txt", "old");
    ASSERT_TRUE(fake.Files().SetAttributes(
        "C:\\dst\\a.txt", platform::file_attribute::kReadOnly | platform::file_attribute::kHidden));

    EXPECT_TRUE(copier.CopyOneFile("a.txt", "C:\\src\\", "C:\\dst\\"));
    EXPECT_EQ(Get("C:\\dst\\a.txt"), "new");
    EXPECT_EQ(progress.pendingPasses, 1);
    EXPECT_TRUE(dialogs.Shown().empty());
}

TEST_F(FileCopyTest, FailedCopyIsLoggedAndRetriedUntilItWorks) {
    Put("C:\\src\\smtp.exe", "program");
    ASSERT_TRUE(files.CreateFolders("C:\\dst\\"));
    RefuseCopies("smtp.exe", 2);
    dialogs.QueueAnswer(DialogResult::kRetry);
    dialogs.QueueAnswer(DialogResult::kRetry);

    EXPECT_TRUE(copier.CopyOneFile("smtp.exe", "C:\\src\\", "C:\\dst\\"));
    EXPECT_EQ(Get("C:\\dst\\smtp.exe"), "program");
    const std::string failure =
        "Error: File \"C:\\dst\\smtp.exe\" - " + system.ErrorText(platform::error::kAccessDenied);
    EXPECT_EQ(log.lines, (std::vector<std::string>{failure, failure}));
    ASSERT_EQ(dialogs.Shown().size(), 2u);
    const platform::MessageBoxRequest& question = dialogs.Shown().front();
    EXPECT_EQ(question.text, u"An error occured while copying file 'smtp.exe'.\r\n" +
                                 system.AnsiToWide(system.ErrorText(5)) +
                                 u"\r\nDo you want to retry or cancel the installation?");
    EXPECT_EQ(question.caption, u"Error");
    EXPECT_EQ(question.buttons, DialogButtons::kRetryCancel);
    EXPECT_EQ(question.icon, DialogIcon::kError);
    EXPECT_TRUE(question.taskModal);
    EXPECT_TRUE(events.empty());
}

TEST_F(FileCopyTest, CancelEndsTheInstallationAsFailed) {
    Put("C:\\src\\smtp.exe", "program");
    RefuseCopies("smtp.exe", 1);
    dialogs.QueueAnswer(DialogResult::kCancel);

    EXPECT_FALSE(copier.CopyOneFile("smtp.exe", "C:\\src\\", "C:\\dst\\"));
    EXPECT_FALSE(Has("C:\\dst\\smtp.exe"));
    ASSERT_EQ(log.lines.size(), 2u);
    EXPECT_EQ(log.lines[1], "Error: Setup aborted\r\n");
    EXPECT_EQ(events, test::Events{"end " + std::to_string(kExitInstallFailure)});
}

TEST_F(FileCopyTest, MissingSourceAsksToo) {
    dialogs.QueueAnswer(DialogResult::kCancel);
    EXPECT_FALSE(copier.CopyOneFile("releasenotes.txt", "C:\\dist\\", "C:\\dst\\doc\\"));
    EXPECT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(events, test::Events{"end 1603"});
}

TEST_F(FileCopyTest, FileThatIsItsOwnTargetIsInPlace) {
    Put("C:\\Tolva\\setup.exe", "me");
    for (const char* target : {"C:\\Tolva\\", "c:\\tolva\\", "C:/Tolva/"}) {
        EXPECT_TRUE(copier.CopyOneFile("setup.exe", "C:\\Tolva\\", target)) << target;
    }
    EXPECT_TRUE(dialogs.Shown().empty());
    EXPECT_EQ(Get("C:\\Tolva\\setup.exe"), "me");
}

TEST_F(FileCopyTest, TreeCopiesOrMovesFilesBelowTheRelativeFolder) {
    for (const bool move : {false, true}) {
        Put("C:\\x\\html\\index.html", "index");
        Put("C:\\x\\html\\img\\logo.png", "logo");
        Put("C:\\x\\html\\deep\\er\\page.html", "page");
        (void)files.CreateFolders("C:\\x\\html\\empty\\nested\\");
        Put("C:\\x\\other\\not.txt", "elsewhere");
        const std::string target = move ? "C:\\Moved\\" : "C:\\Mail\\";
        if (move) {
            // File by file, as into a tree the installation has already.
            ASSERT_TRUE(files.CreateFolders(target + "html\\"));
        }

        EXPECT_TRUE(move ? copier.MoveTree("C:\\x\\", "html\\", target)
                         : copier.CopyTree("C:\\x\\", "html\\", target));
        EXPECT_EQ(Get(target + "html\\index.html"), "index");
        EXPECT_EQ(Get(target + "html\\img\\logo.png"), "logo");
        EXPECT_EQ(Get(target + "html\\deep\\er\\page.html"), "page");
        // A folder the target lacks moves whole, empty or not.
        EXPECT_EQ(files.FolderExists(target + "html\\empty\\"), move);
        EXPECT_FALSE(files.FolderExists(target + "other\\"));
        EXPECT_EQ(Has("C:\\x\\html\\img\\logo.png"), !move);
        EXPECT_TRUE(Has("C:\\x\\other\\not.txt"));

        EXPECT_TRUE(move ? copier.MoveTree("C:\\x\\", "missing\\", target)
                         : copier.CopyTree("C:\\x\\", "missing\\", target));
        EXPECT_FALSE(files.FolderExists(target + "missing\\"));
    }
}

TEST_F(FileCopyTest, TreeTheTargetLacksMovesWhole) {
    Put("C:\\x\\html\\index.html", "index");
    Put("C:\\x\\html\\img\\logo.png", "logo");
    (void)files.CreateFolders("C:\\x\\html\\empty\\");
    Put("C:\\Mail\\smtp.exe", "program");

    EXPECT_TRUE(copier.MoveTree("C:\\x\\", "html\\", "C:\\Mail\\"));
    EXPECT_EQ(Get("C:\\Mail\\html\\img\\logo.png"), "logo");
    EXPECT_FALSE(files.FolderExists("C:\\x\\html\\"));
    // In one step, with what the folder holds.
    EXPECT_TRUE(files.FolderExists("C:\\Mail\\html\\empty\\"));
    EXPECT_EQ(progress.pendingPasses, 1);

    // A tree the target has already goes file by file, the target's own files kept.
    Put("C:\\x\\html\\index.html", "index v2");
    Put("C:\\Mail\\html\\own.html", "own");
    EXPECT_TRUE(copier.MoveTree("C:\\x\\", "html\\", "C:\\Mail\\"));
    EXPECT_EQ(Get("C:\\Mail\\html\\index.html"), "index v2");
    EXPECT_EQ(Get("C:\\Mail\\html\\own.html"), "own");
    EXPECT_TRUE(files.FolderExists("C:\\x\\html\\"));
}

TEST_F(FileCopyTest, MoveReplacesTheTargetOrFallsBackToACopy) {
    constexpr uint32_t kNotSameDevice = 17;
    struct Case {
        const char* name;
        bool moveRefused;
        bool copyRefused;
        bool sourceStays;
        size_t questions;
    };
    const Case cases[] = {
        {"moved.txt", false, false, false, 0},
        // Another volume: the file is copied.
        {"copied.txt", true, false, true, 0},
        // The copy decides what the user is asked.
        {"retried.txt", true, true, true, 1},
    };
    for (const Case& c : cases) {
        Put(std::string("C:\\src\\") + c.name, "new");
        Put(std::string("C:\\dst\\") + c.name, "old");
        ASSERT_TRUE(fake.Files().SetAttributes(std::string("C:\\dst\\") + c.name,
                                               platform::file_attribute::kReadOnly));
        if (c.moveRefused) {
            files.Inject(FileOperation::kMoveIn)
                .OnPathsEndingIn(c.name)
                .WithCode(kNotSameDevice)
                .AfterCalls(0);
        }
        if (c.copyRefused) {
            RefuseCopies(c.name, 1);
            dialogs.QueueAnswer(DialogResult::kRetry);
        }
        const size_t asked = dialogs.Shown().size();

        EXPECT_TRUE(copier.MoveOneFile(c.name, "C:\\src\\", "C:\\dst\\")) << c.name;
        EXPECT_EQ(Get(std::string("C:\\dst\\") + c.name), "new") << c.name;
        EXPECT_EQ(Has(std::string("C:\\src\\") + c.name), c.sourceStays) << c.name;
        EXPECT_EQ(dialogs.Shown().size() - asked, c.questions) << c.name;
    }
    EXPECT_TRUE(events.empty());
}

TEST_F(FileCopyTest, CancelInsideATreeStopsIt) {
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        Put(std::string("C:\\x\\doc\\") + name, name);
    }
    RefuseCopies("doc\\b.txt", 1);
    dialogs.QueueAnswer(DialogResult::kCancel);
    EXPECT_FALSE(copier.CopyTree("C:\\x\\", "doc\\", "C:\\Mail\\"));
    EXPECT_EQ(events, test::Events{"end 1603"});
    EXPECT_EQ(dialogs.Shown().size(), 1u);
}

}  // namespace
}  // namespace tolva::setup
