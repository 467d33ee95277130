#pragma once
// What a stand-in serves besides its window: the task pipe, the control program's web pages and a
// TCP port held the way a mail server holds its own.

#include <winsock2.h>

#include <cstdint>
#include <string>

#include "standin_log.h"

namespace tolva::standins {

// Serves "\\.\pipe\" + name on threads of its own, several instances at once. Every connection
// carries one 20-byte task packet, which is logged; a packet that wants a reply is answered with
// 4 bytes holding 1.
void ServeTaskPipe(const std::wstring& name, const StandinLog& log);

// Serves HTTP on the loopback address on a thread of its own and logs each request line; the IMAP
// rules conversion page answers 200, every other page 404. False when the port is taken.
bool ServeHttp(uint16_t port, const StandinLog& log);

// Holds the loopback port until the process ends; false when another program holds it.
bool HoldPort(uint16_t port);

// Serves SMTP on the loopback port on a thread of its own, the least a mail server says: the 220
// greeting, 250 to HELO, EHLO, MAIL, RCPT and RSET, 354 to DATA and 250 once the message's "."
// line came, 221 to QUIT. Logs the envelope and each message's size. False when the port is
// taken.
bool ServeSmtp(uint16_t port, const StandinLog& log);

}  // namespace tolva::standins
