#pragma once
// A scripted SMTP server on 127.0.0.1 for tests: answers each command with the reply its script
// holds and records every command line and message it receives. One client at a time.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tolva::testing {

// Replies are sent as written (include the CR LF); an empty reply sends nothing, so the client
// waits until its time-out.
struct SmtpServerScript {
    std::string banner = "220 loopback ready\r\n";
    std::string helo = "250 loopback\r\n";
    std::string mail = "250 sender ok\r\n";
    // One reply per RCPT in turn; the last one answers every further RCPT.
    std::vector<std::string> rcpt = {"250 recipient ok\r\n"};
    std::string data = "354 end data with <CR><LF>.<CR><LF>\r\n";
    std::string accepted = "250 queued\r\n";
    std::string quit = "221 bye\r\n";
    std::string unknown = "500 unknown command\r\n";
    // 0: each reply in one write; otherwise in writes of this many bytes, a little apart.
    size_t pieceSize = 0;
};

struct SmtpSession {
    // Command lines without their CR LF, in the order received.
    std::vector<std::string> commands;
    // Each message's data as it came over the wire (dot-stuffed, without the "." line)...
    std::vector<std::string> wireData;
    // ...and as the mail's text (dot-stuffing undone).
    std::vector<std::string> messages;
};

class SmtpLoopbackServer {
public:
    // Listens on an ephemeral port of 127.0.0.1 (or the given one); aborts the test run when that
    // fails. onEvent, when set, hears every command and message as it arrives, on the server
    // thread.
    explicit SmtpLoopbackServer(SmtpServerScript script = {}, uint16_t port = 0,
                                std::function<void(std::string_view)> onEvent = {});
    ~SmtpLoopbackServer();
    SmtpLoopbackServer(const SmtpLoopbackServer&) = delete;
    SmtpLoopbackServer& operator=(const SmtpLoopbackServer&) = delete;

    uint16_t port() const { return port_; }
    // "127.0.0.1:<port>", the form the client takes as its relay host.
    std::string relay() const;

    std::vector<SmtpSession> Sessions() const;
    size_t ConnectionCount() const;

    // Stops listening and ends the current session; the destructor does this too.
    void Stop();

private:
    void Serve();
    void ServeClient(int client);
    bool SendReply(int client, const std::string& reply);
    void Record(size_t session, const std::function<void(SmtpSession&)>& change,
                std::string_view event);

    SmtpServerScript script_;
    std::function<void(std::string_view)> onEvent_;
    int listener_ = -1;
    uint16_t port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::vector<SmtpSession> sessions_;
    std::thread thread_;
};

// A port on 127.0.0.1 where nothing listens (bound, then closed again).
uint16_t UnusedLoopbackPort();

}  // namespace tolva::testing
