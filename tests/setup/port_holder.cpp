// port_holder PORT READY_FILE: a program of ours that holds a TCP port on the loopback address, as
// another mail server would, until it is ended. Writes READY_FILE once it listens.

#include <winsock2.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        return 64;
    }
    WSADATA data;
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        return 1;
    }
    const SOCKET listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
    address.sin_port = ::htons(static_cast<u_short>(std::wcstoul(argv[1], nullptr, 10)));
    if (listener == INVALID_SOCKET ||
        ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener, SOMAXCONN) != 0) {
        return 1;
    }
    FILE* ready = ::_wfopen(argv[2], L"w");
    if (ready == nullptr) {
        return 1;
    }
    std::fputs("listening\n", ready);
    std::fclose(ready);
    ::Sleep(INFINITE);
    return 0;
}
