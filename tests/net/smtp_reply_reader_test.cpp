#include "net/smtp_reply_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace tolva::net {
namespace {

// Hands out scripted pieces; an empty piece means "nothing arrives in time".
class PieceConnection : public platform::Connection {
public:
    explicit PieceConnection(std::vector<std::string> pieces, bool closeAtEnd = true)
        : pieces_(pieces.begin(), pieces.end()), closeAtEnd_(closeAtEnd) {}

    platform::Status SendAll(const void*, size_t) override { return platform::Status::Ok(); }
    bool WaitReadable(uint32_t timeoutMs) override {
        waits.push_back(timeoutMs);
        if (pieces_.empty()) {
            return closeAtEnd_;
        }
        if (pieces_.front().empty()) {
            pieces_.pop_front();
            return false;
        }
        return true;
    }
    platform::Status Receive(void* buffer, size_t size, size_t& got) override {
        largestRequest = std::max(largestRequest, size);
        got = 0;
        if (!pieces_.empty()) {
            std::string& piece = pieces_.front();
            got = std::min(size, piece.size());
            std::memcpy(buffer, piece.data(), got);
            piece.erase(0, got);
            if (piece.empty()) {
                pieces_.pop_front();
            }
        }
        return platform::Status::Ok();
    }
    bool IsConnected() const override { return true; }
    void Close() override {}

    std::vector<uint32_t> waits;
    size_t largestRequest = 0;

private:
    std::deque<std::string> pieces_;
    bool closeAtEnd_;
};

TEST(SmtpReplyReader, CompletesRepliesAcrossPiecesAndContinuationLines) {
    struct Case {
        const char* name;
        std::vector<std::string> pieces;
        int code;
        std::string line;
    };
    const std::string longBanner(600, 'x');
    const Case cases[] = {
        {"one line", {"250 ok\r\n"}, 250, "250 ok"},
        {"banner in one piece", {"220-first\r\n220-second\r\n220 ready\r\n"}, 220, "220 ready"},
        {"line break split", {"220-fi", "rst\r", "\n220 rea", "dy\r", "\n"}, 220, "220 ready"},
        {"continuation with lone LF", {"220-first\n220 ready\r\n"}, 220, "220 ready"},
        {"long continuation lines",
         {"220-" + longBanner + "\r\n", "220-" + longBanner + "\r\n", "220 ready\r\n"},
         220,
         "220 ready"},
        {"code not a number", {"2x0 odd\r\n"}, 0, "2x0 odd"},
        {"short line", {"25\r\n"}, 0, "25"},
        {"empty line", {"\r\n"}, 0, ""},
    };
    for (const Case& c : cases) {
        PieceConnection connection(c.pieces);
        SmtpReply reply;
        ASSERT_TRUE(ReadSmtpReply(connection, 1234, reply)) << c.name;
        EXPECT_EQ(reply.code, c.code) << c.name;
        EXPECT_EQ(reply.line, c.line) << c.name;
        EXPECT_LE(connection.largestRequest, kSmtpReplyPieceSize) << c.name;
        for (const uint32_t wait : connection.waits) {
            EXPECT_EQ(wait, 1234u) << c.name;
        }
    }
}

TEST(SmtpReplyReader, GivesUpWithoutACompleteReply) {
    struct Case {
        const char* name;
        std::vector<std::string> pieces;
        bool closeAtEnd;
    };
    const Case cases[] = {
        {"closed mid-line", {"250 o"}, true},
        {"closed after continuation", {"220-wait\r\n"}, true},
        {"nothing in time", {""}, false},
        {"stalls after a piece", {"250 o", ""}, false},
        {"line reaches the limit", {std::string(kSmtpReplyLineLimit, 'a'), "\r\n"}, true},
        {"trailing text after the reply", {"250 ok\r\nxyz"}, true},
    };
    for (const Case& c : cases) {
        PieceConnection connection(c.pieces, c.closeAtEnd);
        SmtpReply reply{7, "before"};
        EXPECT_FALSE(ReadSmtpReply(connection, 10, reply)) << c.name;
        EXPECT_EQ(reply.code, 7) << c.name;
        EXPECT_EQ(reply.line, "before") << c.name;
    }
}

TEST(SmtpReplyReader, EndlessContinuationLinesAreCut) {
    std::vector<std::string> pieces(kSmtpReplyTotalLimit / 10 + 1, "250-more\r\n");
    pieces.push_back("250 ok\r\n");
    PieceConnection connection(pieces);
    SmtpReply reply;
    EXPECT_FALSE(ReadSmtpReply(connection, 10, reply));
}

}  // namespace
}  // namespace tolva::net
