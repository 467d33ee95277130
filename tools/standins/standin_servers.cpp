#include "standin_servers.h"

#include <windows.h>

#include <cstdio>
#include <thread>

namespace tolva::standins {
namespace {

constexpr DWORD kPipeInstances = 4;
constexpr size_t kPacketSize = 20;
constexpr uint32_t kPacketWithReply = 0x1003;
constexpr char kConversionPage[] = "/admin/tools/convert_imap_rules.html";

uint32_t LittleEndian(const unsigned char* at) {
    return uint32_t{at[0]} | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16 | uint32_t{at[3]} << 24;
}

void AnswerPacket(HANDLE pipe, const StandinLog& log) {
    unsigned char packet[kPacketSize] = {};
    size_t got = 0;
    while (got < kPacketSize) {
        DWORD read = 0;
        if (!::ReadFile(pipe, packet + got, static_cast<DWORD>(kPacketSize - got), &read,
                        nullptr) ||
            read == 0) {
            break;
        }
        got += read;
    }
    if (got < kPacketSize) {
        log.Write("pipe short packet of " + std::to_string(got) + " bytes");
        return;
    }
    uint32_t kind = LittleEndian(packet);
    char line[128];
    std::snprintf(line, sizeof line, "pipe task kind=%u message=%u code=%d argument=%d", kind,
                  LittleEndian(packet + 4), static_cast<int32_t>(LittleEndian(packet + 8)),
                  static_cast<int32_t>(LittleEndian(packet + 12)));
    log.Write(line);
    if (kind == kPacketWithReply) {
        unsigned char reply[4] = {1, 0, 0, 0};
        DWORD written = 0;
        ::WriteFile(pipe, reply, sizeof reply, &written, nullptr);
        // Returns once the installer has read the reply.
        ::FlushFileBuffers(pipe);
    }
}

void ServePipeInstance(std::wstring path, const StandinLog* log) {
    for (;;) {
        HANDLE pipe = ::CreateNamedPipeW(path.c_str(), PIPE_ACCESS_DUPLEX,
                                         PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT,
                                         kPipeInstances, 4096, 4096, 0, nullptr);
        if (pipe == INVALID_HANDLE_VALUE) {
            log->Write("pipe not served: error " + std::to_string(::GetLastError()));
            return;
        }
        if (::ConnectNamedPipe(pipe, nullptr) || ::GetLastError() == ERROR_PIPE_CONNECTED) {
            AnswerPacket(pipe, *log);
        }
        ::DisconnectNamedPipe(pipe);
        ::CloseHandle(pipe);
    }
}

// A listening loopback socket on port; INVALID_SOCKET when it is taken.
SOCKET Listen(uint16_t port) {
    WSADATA data;
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        return INVALID_SOCKET;
    }
    SOCKET listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET) {
        return INVALID_SOCKET;
    }
    BOOL exclusive = TRUE;
    ::setsockopt(listener, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<char*>(&exclusive),
                 sizeof exclusive);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = ::htons(port);
    address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener, SOMAXCONN) != 0) {
        ::closesocket(listener);
        return INVALID_SOCKET;
    }
    return listener;
}

void AnswerRequest(SOCKET client, const StandinLog& log) {
    std::string request;
    char buffer[1024];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 16384) {
        int got = ::recv(client, buffer, sizeof buffer, 0);
        if (got <= 0) {
            break;
        }
        request.append(buffer, static_cast<size_t>(got));
    }
    std::string line = request.substr(0, request.find("\r\n"));
    log.Write("http " + line.substr(0, line.rfind(' ')));
    size_t pathStart = line.find(' ');
    std::string path = pathStart == std::string::npos
                           ? std::string()
                           : line.substr(pathStart + 1, line.rfind(' ') - pathStart - 1);
    bool found = line.rfind("GET ", 0) == 0 && path == kConversionPage;
    std::string body = found ? "<html><body>IMAP rules conversion started</body></html>"
                             : "<html><body>Not found</body></html>";
    std::string response =
        std::string(found ? "HTTP/1.0 200 OK" : "HTTP/1.0 404 Not Found") +
        "\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
        "\r\nConnection: close\r\n\r\n" + body;
    ::send(client, response.data(), static_cast<int>(response.size()), 0);
    ::shutdown(client, SD_SEND);
}

// One line without its CR LF; false when the client is gone.
bool ReadLine(SOCKET client, std::string& pending, std::string& line) {
    char buffer[512];
    size_t end;
    while ((end = pending.find("\r\n")) == std::string::npos) {
        int got = ::recv(client, buffer, sizeof buffer, 0);
        if (got <= 0 || pending.size() > 65536) {
            return false;
        }
        pending.append(buffer, static_cast<size_t>(got));
    }
    line = pending.substr(0, end);
    pending.erase(0, end + 2);
    return true;
}

void Reply(SOCKET client, const std::string& text) {
    const std::string line = text + "\r\n";
    ::send(client, line.data(), static_cast<int>(line.size()), 0);
}

void AnswerSmtp(SOCKET client, const StandinLog& log) {
    Reply(client, "220 localhost SMTP stand-in ready");
    std::string pending;
    std::string line;
    while (ReadLine(client, pending, line)) {
        std::string verb = line.substr(0, 4);
        for (char& c : verb) {
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        }
        if (verb == "QUIT") {
            Reply(client, "221 bye");
            break;
        }
        if (verb == "DATA") {
            Reply(client, "354 end data with <CR><LF>.<CR><LF>");
            size_t size = 0;
            while (ReadLine(client, pending, line) && line != ".") {
                size += line.size() + 2;
            }
            log.Write("smtp message of " + std::to_string(size) + " bytes");
            Reply(client, "250 queued");
        } else if (verb == "HELO" || verb == "EHLO" || verb == "RSET" || verb == "NOOP") {
            Reply(client, "250 localhost");
        } else if (verb == "MAIL" || verb == "RCPT") {
            log.Write("smtp " + line);
            Reply(client, "250 ok");
        } else {
            Reply(client, "500 unknown command");
        }
    }
    ::shutdown(client, SD_SEND);
}

// Answers the clients of listener one after the other on a thread of its own.
template <typename Answer>
void Serve(SOCKET listener, const StandinLog& log, Answer answer) {
    std::thread([listener, &log, answer] {
        for (;;) {
            SOCKET client = ::accept(listener, nullptr, nullptr);
            if (client == INVALID_SOCKET) {
                return;
            }
            answer(client, log);
            ::closesocket(client);
        }
    }).detach();
}

}  // namespace

void ServeTaskPipe(const std::wstring& name, const StandinLog& log) {
    std::wstring path = L"\\\\.\\pipe\\" + name;
    for (DWORD i = 0; i < kPipeInstances; ++i) {
        std::thread(ServePipeInstance, path, &log).detach();
    }
}

bool ServeHttp(uint16_t port, const StandinLog& log) {
    SOCKET listener = Listen(port);
    if (listener == INVALID_SOCKET) {
        return false;
    }
    Serve(listener, log, AnswerRequest);
    return true;
}

bool ServeSmtp(uint16_t port, const StandinLog& log) {
    SOCKET listener = Listen(port);
    if (listener == INVALID_SOCKET) {
        return false;
    }
    Serve(listener, log, AnswerSmtp);
    return true;
}

bool HoldPort(uint16_t port) {
    // The socket stays open until the process ends.
    return Listen(port) != INVALID_SOCKET;
}

}  // namespace tolva::standins
