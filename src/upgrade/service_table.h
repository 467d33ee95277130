#pragma once
// The suite's five server programs by service index: what each is called as a file, as a Windows
// service and as a window. Plain data, so the server programs' stand-ins share it too.

#include <array>
#include <cstddef>

namespace tolva::upgrade {

inline constexpr int kServiceCount = 5;

// Service indexes.
inline constexpr int kSmtpService = 0;
inline constexpr int kPop3Service = 1;
inline constexpr int kControlService = 2;
inline constexpr int kImService = 3;
inline constexpr int kGroupWareService = 4;

struct ServiceRow {
    const char* executable;  // lies directly in the installation folder
    const char* serviceName;
    const char* displayName;
    const char* description;
    const char* windowClass;    // of the main window in application mode
    const char* windowCaption;  // of the main window in application mode
};

inline constexpr std::array<ServiceRow, kServiceCount> kServiceTable = {{
    {"smtp.exe", "TolvaSMTP", "Corvane SMTP", "Provides support for MTA and SMTP protocol.",
     "TSMTPForm", "SMTP"},
    {"pop3.exe", "TolvaPOP3", "Corvane POP3 / IMAP",
     "Provides support for POP3 and IMAP protocols.", "TPOP3Form", "POP3"},
    {"control.exe", "TolvaControl", "Corvane Control / Web / FTP",
     "Provides support for remote administration, web and ftp services.", "TControlForm",
     "Control"},
    {"im.exe", "TolvaIM", "Corvane IM / VoIP", "Provides support for Instant Messaging and VoIP.",
     "TIMForm", "Instant Messaging"},
    {"cal.exe", "TolvaCalendar", "Corvane GroupWare Server", "Provides support for GroupWare.",
     "TGroupWareForm", "GroupWare"},
}};

// The row of a service index; nullptr outside 0..4.
constexpr const ServiceRow* ServiceRowAt(int index) {
    return index >= 0 && index < kServiceCount ? &kServiceTable[static_cast<size_t>(index)]
                                               : nullptr;
}

// The operating system's own SMTP service, which holds the port the suite's SMTP service needs.
inline constexpr char kSystemSmtpService[] = "SMTPSVC";

}  // namespace tolva::upgrade
