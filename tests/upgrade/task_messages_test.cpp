#include "upgrade/task_messages.h"

#include <gtest/gtest.h>

#include "fakes/suite_machine.h"
#include "stores/settings_store.h"
#include "upgrade/service_table.h"
#include "upgrade/task_packet.h"

namespace tolva::upgrade {
namespace {

using platform::FakePipeServer;
using platform::ServiceState;

std::string PipeOf(int index) {
    return std::string("\\\\.\\pipe\\") + ServiceRowAt(index)->serviceName;
}

// Answers every packet with the reply given.
FakePipeServer Answering(std::string reply) {
    FakePipeServer server;
    server.reply = [reply](const std::string&) { return reply; };
    return server;
}

class TaskMessagesTest : public ::testing::Test {
protected:
    // Every program runs as a service and serves its pipe.
    void RunAll() {
        for (int index = 0; index < kServiceCount; ++index) {
            machine.InstallService(index, ServiceState::kRunning);
            machine.pipes.Serve(PipeOf(index), Answering(std::string("\x01\x00\x00\x00", 4)));
        }
    }

    testing::SuiteMachine machine;
    TaskMessenger messenger{machine.platform};
};

TEST_F(TaskMessagesTest, PostReachesTheTargetsPipeInOneConnectionPerMessage) {
    RunAll();
    struct Case {
        int target;
        int index;
    } cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {7, 2}, {8, 1}, {10, 2}, {12, 3}};
    for (const Case& c : cases) {
        size_t before = machine.pipes.Sessions().size();
        EXPECT_TRUE(messenger.PostTaskMessage(c.target, kTaskMessage, 4, 11)) << c.target;
        ASSERT_EQ(machine.pipes.Sessions().size(), before + 1) << c.target;
        const platform::FakePipeSession& session = machine.pipes.Sessions().back();
        EXPECT_EQ(session.pipePath, PipeOf(c.index)) << c.target;
        EXPECT_EQ(session.written, EncodeTaskPacket(kPacketNoReply, kTaskMessage, 4, 11))
            << c.target;
        EXPECT_EQ(session.reads, 0u) << c.target;
        EXPECT_FALSE(session.open) << "closed after the message, target " << c.target;
    }
    EXPECT_FALSE(messenger.PostTaskMessage(9, kTaskMessage, 4, 11)) << "no such target";
}

TEST_F(TaskMessagesTest, ProgramThatDoesNotRunGetsNothing) {
    struct Case {
        const char* what;
        std::optional<ServiceState> state;
        bool window;
        bool sent;
    } cases[] = {
        {"no service", std::nullopt, false, false},
        {"stopped", ServiceState::kStopped, false, false},
        {"start-pending", ServiceState::kStartPending, false, false},
        {"start-pending with its window", ServiceState::kStartPending, true, true},
        {"no service, started by hand", std::nullopt, true, true},
    };
    for (const Case& c : cases) {
        testing::SuiteMachine local;
        if (c.state) {
            local.InstallService(kSmtpService, *c.state);
        }
        if (c.window) {
            local.OpenProgram(kSmtpService);
        }
        local.pipes.Serve(PipeOf(kSmtpService));
        TaskMessenger sender(local.platform);
        EXPECT_EQ(sender.IsProgramRunning(kSmtpService), c.sent) << c.what;
        EXPECT_EQ(sender.PostTaskMessage(kSmtpService, kTaskMessage, 2, 0), c.sent) << c.what;
        EXPECT_EQ(local.pipes.Sessions().size(), c.sent ? 1u : 0u) << c.what;
    }
}

TEST_F(TaskMessagesTest, BusyPipeIsWaitedForOnce) {
    RunAll();
    machine.pipes.SetBusy(PipeOf(kSmtpService), true, true);
    EXPECT_TRUE(messenger.PostTaskMessage(kSmtpService, kTaskMessage, 2, 9));
    EXPECT_EQ(machine.pipes.Waits(), std::vector<uint32_t>{2000});
    EXPECT_EQ(machine.pipes.Sessions().size(), 1u);

    machine.pipes.SetBusy(PipeOf(kSmtpService), true, false);
    EXPECT_FALSE(messenger.PostTaskMessage(kSmtpService, kTaskMessage, 2, 10));
    EXPECT_EQ(messenger.SendTaskMessage(kSmtpService, kTaskMessage, 2, 10), 0);
    EXPECT_EQ(machine.pipes.Log().SubjectsOf("Open").size(), 2u + 2u + 2u)
        << "one try, the wait, one more try per message";
    EXPECT_EQ(machine.pipes.Sessions().size(), 1u);
}

TEST_F(TaskMessagesTest, ShortWritesAreRepeatedAndFailedWritesLoseTheMessage) {
    RunAll();
    FakePipeServer slow = Answering(std::string("\x07\x00\x00\x00", 4));
    slow.writeLimit = 7;
    machine.pipes.Serve(PipeOf(kSmtpService), slow);
    EXPECT_TRUE(messenger.PostTaskMessage(kSmtpService, kTaskMessage, 3, 1));
    EXPECT_EQ(machine.pipes.Sessions().back().written,
              EncodeTaskPacket(kPacketNoReply, kTaskMessage, 3, 1));
    EXPECT_EQ(messenger.SendTaskMessage(kSmtpService, kTaskMessage, 3, 1), 7);

    FakePipeServer failing = Answering(std::string("\x07\x00\x00\x00", 4));
    failing.failWritesAfter = 8;
    machine.pipes.Serve(PipeOf(kSmtpService), failing);
    EXPECT_FALSE(messenger.PostTaskMessage(kSmtpService, kTaskMessage, 3, 1));
    EXPECT_EQ(messenger.SendTaskMessage(kSmtpService, kTaskMessage, 3, 1), 0);
    EXPECT_EQ(machine.pipes.Sessions().back().reads, 0u)
        << "a reply is not waited for when the program did not get the whole packet";
}

TEST_F(TaskMessagesTest, SendReadsTheReplyOnTheSameConnection) {
    RunAll();
    struct Case {
        std::string reply;
        int32_t value;
    } cases[] = {
        {std::string("\x01\x00\x00\x00", 4), 1},
        {std::string("\x2A\x00\x00\x00 and a longer tail", 22), 42},
        {std::string("\x01\x00\x00", 3), 0},
        {"", 0},
    };
    for (const Case& c : cases) {
        machine.pipes.Serve(PipeOf(kGroupWareService), Answering(c.reply));
        EXPECT_EQ(messenger.SendTaskMessage(kGroupWareService, kTaskMessage, 3841, 0), c.value)
            << c.reply.size() << " bytes";
        const platform::FakePipeSession& session = machine.pipes.Sessions().back();
        EXPECT_EQ(session.written, EncodeTaskPacket(kPacketWithReply, kTaskMessage, 3841, 0));
        EXPECT_EQ(session.reads, 1u) << "read once";
    }
    machine.pipes.StopServing(PipeOf(kGroupWareService));
    EXPECT_EQ(messenger.SendTaskMessage(kGroupWareService, kTaskMessage, 3841, 0), 0)
        << "pipe missing";
}

TEST_F(TaskMessagesTest, ApplicationModeSendsWindowMessages) {
    machine.system.SetPlatformId(platform::PlatformId::kWindows9x);
    TaskMessenger windowed(machine.platform);
    platform::WindowHandle control = machine.OpenProgram(kControlService);
    machine.windows.SetProcedure(control, [](uint32_t, uintptr_t wParam, intptr_t lParam) {
        return static_cast<intptr_t>(wParam) * 100 + lParam;
    });
    machine.InstallService(kControlService, ServiceState::kRunning);
    machine.pipes.Serve(PipeOf(kControlService));

    EXPECT_TRUE(windowed.IsProgramRunning(10));
    EXPECT_TRUE(windowed.PostTaskMessage(7, kTaskMessage, 3, 0));
    EXPECT_EQ(windowed.SendTaskMessage(2, kTaskMessage, 4, 5), 405);
    std::vector<platform::FakeWindowMessage> expected = {
        {control, kTaskMessage, 3, 0, true, TaskMessenger::kWindowAnswerMs},
        {control, kTaskMessage, 4, 5, true, TaskMessenger::kWindowAnswerMs},
    };
    EXPECT_EQ(machine.windows.Messages(), expected);
    EXPECT_TRUE(machine.pipes.Sessions().empty()) << "no pipe in application mode";

    EXPECT_FALSE(windowed.IsProgramRunning(kSmtpService));
    EXPECT_TRUE(windowed.PostTaskMessage(kSmtpService, kTaskMessage, 3, 0))
        << "true even without a window";
    EXPECT_EQ(windowed.SendTaskMessage(kSmtpService, kTaskMessage, 3, 0), 0);
}

int32_t doneConnectionCalls = 0;
void CountDoneConnection() {
    ++doneConnectionCalls;
}

TEST_F(TaskMessagesTest, ConfigChangeReachesEveryProgramAndEndsTheDatabaseConnection) {
    RunAll();
    stores::SettingsStore settings(machine.platform);
    settings.SetRootFolder("C:\\Tolva\\");
    machine.libraries.Add("C:\\Tolva\\db.dll",
                          {{"DBDoneConnection", reinterpret_cast<void*>(&CountDoneConnection)}});
    ASSERT_TRUE(settings.Database().LoadDatabaseLibrary());
    doneConnectionCalls = 0;

    messenger.BroadcastConfigChange(&settings.Database());
    std::vector<std::string> order;
    for (const platform::FakePipeSession& session : machine.pipes.Sessions()) {
        order.push_back(session.pipePath);
        EXPECT_EQ(session.written,
                  EncodeTaskPacket(kPacketNoReply, kTaskMessage, kConfigChangedCode, 0));
    }
    EXPECT_EQ(order,
              (std::vector<std::string>{PipeOf(0), PipeOf(1), PipeOf(3), PipeOf(4), PipeOf(2)}));
    EXPECT_EQ(doneConnectionCalls, 1);
    EXPECT_FALSE(settings.Database().IsLoaded()) << "the next use reads the new settings";

    messenger.BroadcastConfigChange(&settings.Database());
    messenger.BroadcastConfigChange(nullptr);
    EXPECT_EQ(doneConnectionCalls, 1) << "a library that is not loaded is left alone";
}

}  // namespace
}  // namespace tolva::upgrade
