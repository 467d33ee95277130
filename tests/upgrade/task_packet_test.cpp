#include "upgrade/task_packet.h"

#include <gtest/gtest.h>

namespace tolva::upgrade {
namespace {

TEST(TaskPacketTest, PacketIsTwentyLittleEndianBytesWithAnEmptyResultSlot) {
    struct Case {
        uint32_t kind;
        int32_t code;
        int32_t argument;
        std::string bytes;
    } cases[] = {
        {kPacketNoReply, 257, 0,
         std::string("\x00\x10\x00\x00\x00\x05\x00\x00\x01\x01\x00\x00\x00\x00\x00\x00"
                     "\x00\x00\x00\x00",
                     20)},
        {kPacketWithReply, 3845, 28,
         std::string("\x03\x10\x00\x00\x00\x05\x00\x00\x05\x0F\x00\x00\x1C\x00\x00\x00"
                     "\x00\x00\x00\x00",
                     20)},
        {kPacketNoReply, -2, -1,
         std::string("\x00\x10\x00\x00\x00\x05\x00\x00\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF"
                     "\x00\x00\x00\x00",
                     20)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeTaskPacket(c.kind, kTaskMessage, c.code, c.argument), c.bytes)
            << "code " << c.code;
    }
}

TEST(TaskPacketTest, ReplyIsTheFirstFourBytesOrZero) {
    struct Case {
        std::string reply;
        int32_t value;
    } cases[] = {
        {"", 0},
        {std::string("\x01\x00\x00", 3), 0},
        {std::string("\x01\x00\x00\x00", 4), 1},
        {std::string("\x02\x01\x00\x00 and more", 13), 258},
        {"\xFF\xFF\xFF\xFF", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeReply(c.reply), c.value) << c.reply.size() << " bytes";
    }
}

TEST(TaskPacketTest, TargetsAreIndexesOrProtocolAliases) {
    struct Case {
        int target;
        std::optional<int> index;
    } cases[] = {
        {0, 0},
        {1, 1},
        {2, 2},
        {3, 3},
        {4, 4},
        {7, 2},
        {8, 1},
        {10, 2},
        {12, 3},
        {5, std::nullopt},
        {6, std::nullopt},
        {9, std::nullopt},
        {11, std::nullopt},
        {13, std::nullopt},
        {-1, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ResolveTarget(c.target), c.index) << "target " << c.target;
    }
}

}  // namespace
}  // namespace tolva::upgrade
