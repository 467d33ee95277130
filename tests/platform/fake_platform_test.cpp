// What the fakes add to their contracts: scripts, records and a clock that stands still; and what
// the stand-ins for unavailable services answer.

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_libraries.h"
#include "platform/fake/fake_platform.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_system.h"
#include "platform/unavailable/unavailable_services.h"

namespace tolva::platform {
namespace {

TEST(FakeRegistryTest, RecordsCallsAndFailsOnRequest) {
    FakeRegistry registry;
    registry.FailNext("WriteString", error::kAccessDenied);
    EXPECT_EQ(registry.WriteString(RegistryRoot::kLocalMachine, "Software\\X", "A", "1").code(),
              error::kAccessDenied);
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::kLocalMachine, "Software\\X"))
        << "a failed write leaves nothing behind";
    ASSERT_TRUE(registry.WriteString(RegistryRoot::kLocalMachine, "Software\\X", "A", "1").ok());
    ASSERT_TRUE(registry.RemoveKeyTree(RegistryRoot::kLocalMachine, "Software\\X").ok());

    const std::vector<RegistryCall> expected = {
        {"WriteString", RegistryRoot::kLocalMachine, "Software\\X", "A"},
        {"KeyExists", RegistryRoot::kLocalMachine, "Software\\X", ""},
        {"WriteString", RegistryRoot::kLocalMachine, "Software\\X", "A"},
        {"RemoveKeyTree", RegistryRoot::kLocalMachine, "Software\\X", ""},
    };
    EXPECT_EQ(registry.Calls(), expected);
}

TEST(FakeRegistryTest, TheMachinesSoftwareKeyStaysInBothViews) {
    FakeRegistry registry;
    const RegistryHive machine64{RegistryRoot::kLocalMachine, RegistryView::k64Bit};
    for (RegistryHive hive : {RegistryHive(RegistryRoot::kLocalMachine), machine64}) {
        EXPECT_TRUE(registry.KeyExists(hive, "SOFTWARE"));
        EXPECT_EQ(registry.RemoveKeyTree(hive, "\\Software\\").code(), error::kAccessDenied);
    }
    registry.ClearCalls();
    ASSERT_TRUE(registry.CreateKey(machine64, "Software\\X").ok());
    EXPECT_EQ(registry.Calls(),
              (std::vector<RegistryCall>{{"CreateKey", RegistryRoot::kLocalMachine, "Software\\X",
                                          "", RegistryView::k64Bit}}));
}

TEST(FakeRegistryTest, RootsAreSeparateAndExpandStringsReadAsStrings) {
    FakeRegistry registry;
    ASSERT_TRUE(registry.WriteExpandString(RegistryRoot::kCurrentUser, "Env", "Path", "%X%").ok());
    std::string text;
    ASSERT_TRUE(registry.ReadString(RegistryRoot::kCurrentUser, "Env", "Path", text).ok());
    EXPECT_EQ(text, "%X%");
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::kLocalMachine, "Env"));
}

TEST(FakeDialogsTest, AnswersFromTheQueueThenTheDefault) {
    FakeDialogs dialogs;
    MessageBoxRequest question{u"Exit?", u"Setup", DialogButtons::kYesNo, DialogIcon::kQuestion,
                               true};
    MessageBoxRequest retry{u"Copy failed", u"Error", DialogButtons::kRetryCancel,
                            DialogIcon::kError};

    dialogs.QueueAnswer(DialogResult::kNo);
    EXPECT_EQ(dialogs.ShowMessageBox(question), DialogResult::kNo);
    EXPECT_EQ(dialogs.ShowMessageBox(question), DialogResult::kYes) << "first button";
    EXPECT_EQ(dialogs.ShowMessageBox(retry), DialogResult::kRetry);
    dialogs.SetDefaultAnswer(DialogResult::kCancel);
    EXPECT_EQ(dialogs.ShowMessageBox(retry), DialogResult::kCancel);

    ASSERT_EQ(dialogs.Shown().size(), 4u);
    EXPECT_EQ(dialogs.Shown()[0].text, u"Exit?");
    EXPECT_TRUE(dialogs.Shown()[0].taskModal);
    EXPECT_EQ(dialogs.Shown()[3].caption, u"Error");
    EXPECT_EQ(dialogs.UnusedAnswers(), 0u);
}

TEST(FakeSystemTest, TicksMoveOnlyBySleepsAndSteps) {
    FakeSystem system;
    system.SetTicks(0xFFFFFFF0u);
    EXPECT_EQ(system.Ticks(), system.Ticks());
    system.SleepFor(0x20);
    EXPECT_EQ(system.Ticks(), 0x10u) << "wraps like GetTickCount";
    system.SetTickStep(5);
    EXPECT_EQ(system.Ticks(), 0x10u);
    EXPECT_EQ(system.Ticks(), 0x15u);
    EXPECT_EQ(system.Sleeps(), std::vector<uint32_t>{0x20});
    EXPECT_EQ(system.Now().year, 2026);
}

int AnswerOne() {
    return 1;
}

TEST(FakeLibrariesTest, PathsAndBareNamesAreFoundAsTheSystemFindsThem) {
    MemoryFileSystem files(MemoryFileSystem::Folders::kMustBeCreated, {"C:\\Server\\lib"});
    FakeLibraries libraries(files);
    void* entry = reinterpret_cast<void*>(reinterpret_cast<uintptr_t>(&AnswerOne));
    libraries.Add("C:\\Server\\lib\\db.dll", {{"DBGetDomainCount", entry}});
    libraries.Add("av.dll", {});

    std::unique_ptr<Library> library;
    struct Case {
        const char* name;
        bool found;
    } cases[] = {
        {"c:\\server\\LIB\\DB.DLL", true},
        {"C:\\Server\\db.dll", false},
        {"db.dll", false},
        {"av.dll", true},
    };
    for (const Case& c : cases) {
        library.reset();
        Status status = libraries.Load(c.name, library);
        EXPECT_EQ(status.ok(), c.found) << c.name;
        EXPECT_EQ(library != nullptr, c.found) << c.name;
        if (!c.found) {
            EXPECT_EQ(status.code(), 126u) << c.name;
        }
    }
    ASSERT_TRUE(libraries.SetCurrentFolder("C:\\Server").ok());
    ASSERT_TRUE(libraries.Load("lib\\db.dll", library).ok()) << "relative to the current folder";
    EXPECT_EQ(library->Lookup("DBGetDomainCount"), entry);
    EXPECT_EQ(libraries.LoadedCount("C:\\Server\\lib\\db.dll"), 1);
    library.reset();
    EXPECT_EQ(libraries.LoadedCount("C:\\Server\\lib\\db.dll"), 0);
    EXPECT_EQ(libraries.Loads().size(), 5u);
}

TEST(UnavailableServicesTest, EveryCallSaysWhichServiceIsMissing) {
    Platform platform;
    UnavailableServices unavailable;
    unavailable.FillIn(platform);
    Shell& shell = *platform.shell;
    ShellLink link;
    const Status cases[] = {
        shell.ConnectNetworkShare("\\\\host\\share", "", ""),
        shell.Open("C:\\readme.txt", "", ShowCommand::kNormal),
        shell.ShowNetworkConnectionDialog(),
        shell.CreateLink(ShellLink{}),
        shell.ReadLink("C:\\readme.lnk", link),
    };
    for (const Status& status : cases) {
        EXPECT_EQ(status.code(), error::kNotSupported) << status.what();
        EXPECT_NE(status.what().find("shell"), std::string::npos) << status.what();
    }
    EXPECT_EQ(shell.FolderPath(SpecialFolder::kPrograms), "");
}

}  // namespace
}  // namespace tolva::platform
