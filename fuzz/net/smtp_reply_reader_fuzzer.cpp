// Server replies in arbitrary pieces, read by the reply reader and answered by the client's
// dialogue.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "net/smtp_client.h"
#include "net/smtp_dialogue.h"
#include "net/smtp_reply_reader.h"

namespace {

using tolva::platform::Status;

// Hands the input out in pieces whose sizes come from a small generator seeded by the first byte;
// a piece size of 0 is a wait that runs out.
class FuzzConnection : public tolva::platform::Connection {
public:
    FuzzConnection(const uint8_t* data, size_t size) {
        if (size > 0) {
            seed_ = data[0] | 1u;
            input_ = std::string_view(reinterpret_cast<const char*>(data + 1), size - 1);
        }
    }
    Status SendAll(const void*, size_t size) override {
        sent += size;
        return Status::Ok();
    }
    bool WaitReadable(uint32_t) override {
        if (closed_) {
            std::abort();
        }
        seed_ = seed_ * 1103515245u + 12345u;
        pieceLeft_ = (seed_ >> 16) % 300;
        return pieceLeft_ != 0 || input_.empty();
    }
    Status Receive(void* buffer, size_t size, size_t& got) override {
        got = std::min<size_t>({size, pieceLeft_, input_.size()});
        if (got > 0) {
            std::memcpy(buffer, input_.data(), got);
        }
        input_.remove_prefix(got);
        return Status::Ok();
    }
    bool IsConnected() const override { return !closed_; }
    void Close() override { closed_ = true; }

    size_t sent = 0;

private:
    std::string_view input_;
    uint32_t seed_ = 1;
    size_t pieceLeft_ = 0;
    bool closed_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        FuzzConnection connection(data, size);
        tolva::net::SmtpReply reply;
        while (tolva::net::ReadSmtpReply(connection, 1, reply)) {
            if (reply.code < 0 || reply.code > 999 ||
                reply.line.size() >=
                    tolva::net::kSmtpReplyLineLimit + tolva::net::kSmtpReplyPieceSize) {
                std::abort();
            }
        }
    }
    FuzzConnection connection(data, size);
    tolva::net::SmtpDialogue dialogue("<a@x.example>", {"b@y.example", "c@z.example"},
                                      "Hi\r\n.\r\n");
    std::string lastReply;
    tolva::net::RunSmtpSession(connection, dialogue, 1, lastReply);
    if (dialogue.accepted() != (dialogue.state() == tolva::net::SmtpState::kQuit)) {
        std::abort();
    }
    return 0;
}
