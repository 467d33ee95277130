// driver: drives the windows of another program through real window messages, one command per
// invocation or a script of commands, for the Wine tests and the demo.
//
//   driver COMMAND ARGUMENTS...
//   driver run SCRIPT          one command per line; "#" starts a comment; "double quotes"
//                              group words; the first failing command ends the run
//
// WINDOW is a top-level window's exact title, or "class:NAME" for its window class. NAME is a
// component name (see src/ui/control_identity.h). Texts are UTF-8. Times are seconds.
//
//   wait WINDOW [SECONDS]                 until the window is shown
//   click WINDOW NAME                     a button, box or radio: BM_CLICK; others: a mouse click
//   tick WINDOW NAME on|off               clicks a check box when its state differs
//   type WINDOW NAME TEXT                 WM_CHAR for every character
//   key WINDOW NAME|- KEY                 esc enter space tab backspace up down left right home
//                                         end, or alt+LETTER; "-" is the focused control
//   choose WINDOW NAME ITEM               arrow keys until the combo or list box shows ITEM
//   node WINDOW NAME TEXT [X]             a mouse click on the tree row of the node with TEXT, X
//                                         pixels from the tree's left edge (default: on the text)
//   text WINDOW NAME                      prints what the control shows
//   state WINDOW NAME                     prints "visible enabled checked focused clipped" ...
//   expect WINDOW NAME text|state VALUE [SECONDS]
//                                         until the text equals VALUE, or the state holds every
//                                         word of VALUE ("visible enabled" leaves focus open)
//   dump WINDOW                           every named control: name, kind, state, text
//   clipped WINDOW                        lists the controls whose text does not fit; fails if any
//   answer TITLE BUTTON [SECONDS]         a message box titled TITLE: prints its text and presses
//                                         the button with that caption
//   screenshot WINDOW FILE                a PNG of the window as the screen shows it
//   close WINDOW [SECONDS]                WM_CLOSE; waits for the program to end, prints its code
//   gone WINDOW [SECONDS]                 until no such window is shown
//   starttype SERVICE auto|demand|disabled
//                                         changes a service's start type through the service
//                                         manager, as an administrator would
//   watch WINDOW|any SECONDS PROGRAM [ARGUMENTS...]
//                                         starts the program and looks for the window ("any":
//                                         any visible top-level window of the program) every few
//                                         milliseconds until the program ends: the first time it is
//                                         shown, prints "shown", its title and the dump; at the
//                                         end "exit" and the program's exit code. Fails when the
//                                         program runs longer than SECONDS.
//   sleep MILLISECONDS
// Exit code 0 on success, 1 on a failed command, 64 on a usage error.

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "png_writer.h"
#include "target_window.h"

namespace tolva::driver {
namespace {

constexpr DWORD kSettle = 10000;

std::wstring FromUtf8(const std::string& text) {
    int length =
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                          length);
    return wide;
}

std::string ToUtf8(const std::wstring& text) {
    int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                          length, nullptr, nullptr);
    return narrow;
}

void Print(const std::wstring& text) {
    std::string out = ToUtf8(text);
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (out.empty() || out.back() != '\n') {
        std::fputc('\n', stdout);
    }
    std::fflush(stdout);
}

bool Fail(const std::wstring& why) {
    std::string out = "driver: " + ToUtf8(why) + "\n";
    std::fwrite(out.data(), 1, out.size(), stderr);
    std::fflush(stderr);
    return false;
}

DWORD Seconds(const std::vector<std::wstring>& args, size_t index, DWORD fallback) {
    return (index < args.size() ? static_cast<DWORD>(std::wcstoul(args[index].c_str(), nullptr, 10))
                                : fallback) *
           1000;
}

std::wstring WithoutAmpersands(const std::wstring& caption) {
    std::wstring shown;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&' && i + 1 < caption.size()) {
            ++i;
        }
        shown.push_back(caption[i]);
    }
    return shown;
}

struct Target {
    HWND form = nullptr;
    HWND control = nullptr;
};

bool Resolve(const std::vector<std::wstring>& args, Target& target, bool needControl = true) {
    if (args.size() < (needControl ? 3u : 2u)) {
        return Fail(L"missing arguments for " + args[0]);
    }
    target.form = WaitForTopLevel(args[1], 10000);
    if (target.form == nullptr) {
        return Fail(L"no window \"" + args[1] + L"\"");
    }
    if (!needControl || args[2] == L"-") {
        return true;
    }
    target.control = FindControl(target.form, args[2]);
    if (target.control == nullptr) {
        return Fail(L"no control " + args[2] + L" in \"" + args[1] + L"\"");
    }
    return true;
}

void PostKey(HWND window, UINT virtualKey) {
    UINT scan = ::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    ::PostMessageW(window, WM_KEYDOWN, virtualKey, static_cast<LPARAM>(1 | scan << 16));
    ::PostMessageW(window, WM_KEYUP, virtualKey,
                   static_cast<LPARAM>(1 | scan << 16 | 1u << 30 | 1u << 31));
}

void PostMouseClick(HWND window, int x, int y) {
    LPARAM point = MAKELPARAM(x, y);
    ::PostMessageW(window, WM_MOUSEMOVE, 0, point);
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::PostMessageW(window, WM_LBUTTONUP, 0, point);
}

HWND FocusedWindow(HWND form) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    DWORD threadId = ::GetWindowThreadProcessId(form, nullptr);
    return ::GetGUIThreadInfo(threadId, &info) && info.hwndFocus != nullptr ? info.hwndFocus : form;
}

bool Click(const std::vector<std::wstring>& args) {
    Target target;
    if (!Resolve(args, target)) {
        return false;
    }
    std::wstring kind = KindOf(target.control);
    if (kind == L"button" || kind == L"checkbox" || kind == L"radio") {
        ::PostMessageW(target.control, BM_CLICK, 0, 0);
    } else {
        RECT client;
        ::GetClientRect(target.control, &client);
        PostMouseClick(target.control, client.right / 2, client.bottom / 2);
    }
    return Settle(target.form, kSettle) || Fail(L"the program did not take the click");
}

bool Tick(const std::vector<std::wstring>& args) {
    Target target;
    if (!Resolve(args, target) || args.size() < 4) {
        return args.size() < 4 ? Fail(L"tick needs on or off") : false;
    }
    bool wanted = args[3] == L"on";
    bool checked = ::SendMessageW(target.control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return wanted == checked || Click(args);
}

bool Type(const std::vector<std::wstring>& args) {
    Target target;
    if (!Resolve(args, target) || args.size() < 4) {
        return args.size() < 4 ? Fail(L"type needs a text") : false;
    }
    HWND receiver = target.control;
    if (KindOf(receiver) == L"combo") {
        if (HWND edit = ::FindWindowExW(receiver, nullptr, L"Edit", nullptr)) {
            receiver = edit;
        }
    }
    for (wchar_t character : args[3]) {
        ::PostMessageW(receiver, WM_CHAR, character, 1);
    }
    return Settle(target.form, kSettle) || Fail(L"the program did not take the typing");
}

bool Key(const std::vector<std::wstring>& args) {
    Target target;
    if (!Resolve(args, target) || args.size() < 4) {
        return args.size() < 4 ? Fail(L"key needs a key") : false;
    }
    HWND receiver = target.control != nullptr ? target.control : FocusedWindow(target.form);
    const std::wstring& key = args[3];
    if (key.size() == 5 && key.compare(0, 4, L"alt+") == 0) {
        ::PostMessageW(receiver, WM_SYSCHAR, towlower(key[4]), static_cast<LPARAM>(1 | 1u << 29));
        return Settle(target.form, kSettle) || Fail(L"the program did not take the key");
    }
    const struct {
        const wchar_t* name;
        UINT virtualKey;
    } keys[] = {{L"esc", VK_ESCAPE}, {L"enter", VK_RETURN},   {L"space", VK_SPACE},
                {L"tab", VK_TAB},    {L"backspace", VK_BACK}, {L"up", VK_UP},
                {L"down", VK_DOWN},  {L"left", VK_LEFT},      {L"right", VK_RIGHT},
                {L"home", VK_HOME},  {L"end", VK_END}};
    for (const auto& known : keys) {
        if (key == known.name) {
            PostKey(receiver, known.virtualKey);
            return Settle(target.form, kSettle) || Fail(L"the program did not take the key");
        }
    }
    return Fail(L"unknown key " + key);
}

bool Choose(const std::vector<std::wstring>& args) {
    Target target;
    if (!Resolve(args, target) || args.size() < 4) {
        return args.size() < 4 ? Fail(L"choose needs an item") : false;
    }
    bool combo = KindOf(target.control) == L"combo";
    UINT countMessage = combo ? CB_GETCOUNT : LB_GETCOUNT;
    UINT selectionMessage = combo ? CB_GETCURSEL : LB_GETCURSEL;
    UINT lengthMessage = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    UINT textMessage = combo ? CB_GETLBTEXT : LB_GETTEXT;
    int count = static_cast<int>(::SendMessageW(target.control, countMessage, 0, 0));
    int wanted = -1;
    for (int i = 0; i < count && wanted < 0; ++i) {
        LRESULT length = ::SendMessageW(target.control, lengthMessage, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
        ::SendMessageW(target.control, textMessage, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length > 0 ? length : 0));
        if (text == args[3]) {
            wanted = i;
        }
    }
    if (wanted < 0) {
        return Fail(args[2] + L" has no item \"" + args[3] + L"\"");
    }
    int current = static_cast<int>(::SendMessageW(target.control, selectionMessage, 0, 0));
    if (current < 0) {
        PostKey(target.control, VK_HOME);
        current = 0;
    }
    for (; current < wanted; ++current) {
        PostKey(target.control, VK_DOWN);
    }
    for (; current > wanted; --current) {
        PostKey(target.control, VK_UP);
    }
    return Settle(target.form, kSettle) || Fail(L"the program did not take the choice");
}

bool Node(const std::vector<std::wstring>& args) {
    Target target;
    if (!Resolve(args, target) || args.size() < 4) {
        return args.size() < 4 ? Fail(L"node needs a node text") : false;
    }
    for (const TreeRow& row : TreeRows(target.control)) {
        if (row.text != args[3]) {
            continue;
        }
        int x = args.size() > 4 ? std::stoi(args[4]) : row.textRect.left + 4;
        int y = (row.textRect.top + row.textRect.bottom) / 2;
        PostMouseClick(target.control, x, y);
        return Settle(target.form, kSettle) || Fail(L"the program did not take the click");
    }
    return Fail(args[2] + L" shows no node \"" + args[3] + L"\"");
}

bool HoldsEveryWord(const std::wstring& state, const std::wstring& words) {
    std::wistringstream have(state);
    std::vector<std::wstring> flags;
    for (std::wstring word; have >> word;) {
        flags.push_back(word);
    }
    std::wistringstream wanted(words);
    for (std::wstring word; wanted >> word;) {
        if (std::find(flags.begin(), flags.end(), word) == flags.end()) {
            return false;
        }
    }
    return true;
}

bool Expect(const std::vector<std::wstring>& args) {
    Target target;
    if (!Resolve(args, target) || args.size() < 5) {
        return args.size() < 5 ? Fail(L"expect needs text|state and a value") : false;
    }
    DWORD limit = Seconds(args, 5, 10);
    DWORD start = ::GetTickCount();
    std::wstring actual;
    for (;;) {
        actual = args[3] == L"state" ? StateOf(target.control) : TextOf(target.control);
        while (!actual.empty() && actual.back() == L'\n') {
            actual.pop_back();
        }
        std::wstring wanted = args[4];
        for (size_t at; (at = wanted.find(L"\\n")) != std::wstring::npos;) {
            wanted.replace(at, 2, L"\n");
        }
        if (args[3] == L"state" ? HoldsEveryWord(actual, wanted) : actual == wanted) {
            return true;
        }
        if (::GetTickCount() - start >= limit) {
            break;
        }
        ::Sleep(100);
    }
    return Fail(args[2] + L" " + args[3] + L" is \"" + actual + L"\", not \"" + args[4] + L"\"");
}

void PrintControls(HWND form) {
    for (HWND control : NamedControls(form)) {
        std::wstring text = TextOf(control);
        for (size_t at; (at = text.find(L'\n')) != std::wstring::npos;) {
            text.replace(at, 1, L" | ");
        }
        Print(ComponentName(control) + L" " + KindOf(control) + L" [" + StateOf(control) + L"] \"" +
              text + L"\"");
    }
}

bool Dump(const std::vector<std::wstring>& args) {
    Target target;
    if (!Resolve(args, target, false)) {
        return false;
    }
    PrintControls(target.form);
    return true;
}

bool Clipped(const std::vector<std::wstring>& args) {
    Target target;
    if (!Resolve(args, target, false)) {
        return false;
    }
    bool any = false;
    for (HWND control : NamedControls(target.form)) {
        if (::IsWindowVisible(control) && StateOf(control).find(L"clipped") != std::wstring::npos) {
            Print(ComponentName(control) + L" \"" + TextOf(control) + L"\"");
            any = true;
        }
    }
    return !any || Fail(L"text does not fit in \"" + args[1] + L"\"");
}

bool Answer(const std::vector<std::wstring>& args) {
    if (args.size() < 3) {
        return Fail(L"answer needs a title and a button");
    }
    HWND box = nullptr;
    DWORD limit = Seconds(args, 3, 10);
    for (DWORD start = ::GetTickCount(); box == nullptr && ::GetTickCount() - start < limit;) {
        box = ::FindWindowW(L"#32770", args[1].c_str());
        if (box == nullptr) {
            ::Sleep(100);
        }
    }
    if (box == nullptr) {
        return Fail(L"no message box \"" + args[1] + L"\"");
    }
    ::Sleep(200);  // let the box finish painting before we read it
    wchar_t text[2048] = {};
    ::GetDlgItemTextW(box, 0xFFFF, text, 2048);
    Print(text);
    for (HWND child = ::FindWindowExW(box, nullptr, L"Button", nullptr); child != nullptr;
         child = ::FindWindowExW(box, child, L"Button", nullptr)) {
        wchar_t caption[128] = {};
        ::GetWindowTextW(child, caption, 128);
        if (_wcsicmp(WithoutAmpersands(caption).c_str(), args[2].c_str()) == 0) {
            ::PostMessageW(child, BM_CLICK, 0, 0);
            for (DWORD start = ::GetTickCount(); ::IsWindow(box);) {
                if (::GetTickCount() - start >= 10000) {
                    return Fail(L"the message box did not close");
                }
                ::Sleep(50);
            }
            return true;
        }
    }
    return Fail(L"the message box has no button \"" + args[2] + L"\"");
}

bool Screenshot(const std::vector<std::wstring>& args) {
    Target target;
    if (!Resolve(args, target, false) || args.size() < 3) {
        return args.size() < 3 ? Fail(L"screenshot needs a file") : false;
    }
    Settle(target.form, kSettle);
    ::RedrawWindow(target.form, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    Settle(target.form, kSettle);
    ::Sleep(300);
    RECT frame;
    ::GetWindowRect(target.form, &frame);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY | CAPTUREBLT);
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    const auto* pixels = static_cast<const uint8_t*>(bits);
    for (size_t i = 0; i < static_cast<size_t>(width) * static_cast<size_t>(height); ++i) {
        rgb[i * 3] = pixels[i * 4 + 2];
        rgb[i * 3 + 1] = pixels[i * 4 + 1];
        rgb[i * 3 + 2] = pixels[i * 4];
    }
    ::SelectObject(memory, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    std::vector<uint8_t> png = EncodePng(width, height, rgb);
    FILE* file = png.empty() ? nullptr : ::_wfopen(args[2].c_str(), L"wb");
    bool written = file != nullptr && std::fwrite(png.data(), 1, png.size(), file) == png.size();
    if (file != nullptr) {
        written = std::fclose(file) == 0 && written;
    }
    return written || Fail(L"cannot write " + args[2]);
}

bool Close(const std::vector<std::wstring>& args) {
    Target target;
    if (!Resolve(args, target, false)) {
        return false;
    }
    DWORD processId = 0;
    ::GetWindowThreadProcessId(target.form, &processId);
    HANDLE process =
        ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    ::PostMessageW(target.form, WM_CLOSE, 0, 0);
    if (process == nullptr) {
        return Fail(L"cannot watch the program");
    }
    DWORD waited = ::WaitForSingleObject(process, Seconds(args, 2, 30));
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process, &exitCode);
    ::CloseHandle(process);
    if (waited != WAIT_OBJECT_0) {
        return Fail(L"the program did not end");
    }
    Print(std::to_wstring(exitCode));
    return true;
}

bool Gone(const std::vector<std::wstring>& args) {
    DWORD limit = Seconds(args, 2, 10);
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < limit; ::Sleep(100)) {
        if (FindTopLevel(args[1]) == nullptr) {
            return true;
        }
    }
    return Fail(L"\"" + args[1] + L"\" is still shown");
}

bool StartType(const std::vector<std::wstring>& args) {
    if (args.size() < 3) {
        return Fail(L"starttype needs a service and auto, demand or disabled");
    }
    const struct {
        const wchar_t* name;
        DWORD type;
    } types[] = {{L"auto", SERVICE_AUTO_START},
                 {L"demand", SERVICE_DEMAND_START},
                 {L"disabled", SERVICE_DISABLED}};
    DWORD type = 0;
    bool known = false;
    for (const auto& candidate : types) {
        if (args[2] == candidate.name) {
            type = candidate.type;
            known = true;
        }
    }
    if (!known) {
        return Fail(L"unknown start type " + args[2]);
    }
    SC_HANDLE manager = ::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager == nullptr
                            ? nullptr
                            : ::OpenServiceW(manager, args[1].c_str(), SERVICE_CHANGE_CONFIG);
    bool changed =
        service != nullptr &&
        ::ChangeServiceConfigW(service, SERVICE_NO_CHANGE, type, SERVICE_NO_CHANGE, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    DWORD error = ::GetLastError();
    if (service != nullptr) {
        ::CloseServiceHandle(service);
    }
    if (manager != nullptr) {
        ::CloseServiceHandle(manager);
    }
    return changed || Fail(L"cannot change the start type of " + args[1] + L" (error " +
                           std::to_wstring(error) + L")");
}

struct ProcessWindow {
    DWORD processId = 0;
    HWND found = nullptr;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM data) {
    auto* wanted = reinterpret_cast<ProcessWindow*>(data);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId == wanted->processId && ::IsWindowVisible(window)) {
        wanted->found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level window of the process; none when it shows none.
HWND VisibleWindowOf(DWORD processId) {
    ProcessWindow wanted{processId};
    ::EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&wanted));
    return wanted.found;
}

// A window that is shown for a moment only is caught as well: the look is a few milliseconds apart.
bool Watch(const std::vector<std::wstring>& args) {
    if (args.size() < 4) {
        return Fail(L"watch needs a window, seconds and a program");
    }
    std::wstring commandLine;
    for (size_t i = 3; i < args.size(); ++i) {
        commandLine += (commandLine.empty() ? L"\"" : L" \"") + args[i] + L"\"";
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        return Fail(L"cannot start " + args[3]);
    }
    ::CloseHandle(process.hThread);
    const DWORD limit = Seconds(args, 2, 60);
    const DWORD start = ::GetTickCount();
    bool seen = false;
    while (::WaitForSingleObject(process.hProcess, 5) == WAIT_TIMEOUT) {
        if (::GetTickCount() - start >= limit) {
            ::CloseHandle(process.hProcess);
            return Fail(L"the program did not end");
        }
        HWND window = seen                ? nullptr
                      : args[1] == L"any" ? VisibleWindowOf(process.dwProcessId)
                                          : FindTopLevel(args[1]);
        if (window != nullptr) {
            seen = true;
            wchar_t title[512] = {};
            ::GetWindowTextW(window, title, 512);
            Print(L"shown \"" + std::wstring(title) + L"\"");
            PrintControls(window);
        }
    }
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hProcess);
    Print(L"exit " + std::to_wstring(exitCode));
    return true;
}

bool Run(const std::vector<std::wstring>& args);

bool Execute(const std::vector<std::wstring>& args) {
    const std::wstring& command = args[0];
    if (command == L"wait") {
        if (args.size() < 2 || WaitForTopLevel(args[1], Seconds(args, 2, 30)) == nullptr) {
            return Fail(L"no window \"" + (args.size() > 1 ? args[1] : L"") + L"\"");
        }
        return true;
    }
    if (command == L"text" || command == L"state") {
        Target target;
        if (!Resolve(args, target)) {
            return false;
        }
        Print(command == L"text" ? TextOf(target.control) : StateOf(target.control));
        return true;
    }
    if (command == L"sleep" && args.size() > 1) {
        ::Sleep(static_cast<DWORD>(std::wcstoul(args[1].c_str(), nullptr, 10)));
        return true;
    }
    const struct {
        const wchar_t* name;
        bool (*run)(const std::vector<std::wstring>&);
    } commands[] = {{L"click", Click},
                    {L"tick", Tick},
                    {L"type", Type},
                    {L"key", Key},
                    {L"choose", Choose},
                    {L"node", Node},
                    {L"expect", Expect},
                    {L"dump", Dump},
                    {L"clipped", Clipped},
                    {L"answer", Answer},
                    {L"screenshot", Screenshot},
                    {L"close", Close},
                    {L"gone", Gone},
                    {L"starttype", StartType},
                    {L"watch", Watch},
                    {L"run", Run}};
    for (const auto& known : commands) {
        if (command == known.name) {
            return (args.size() > 1 || command == L"dump") && known.run(args);
        }
    }
    return Fail(L"unknown command " + command);
}

std::vector<std::wstring> Split(const std::wstring& line) {
    std::vector<std::wstring> words;
    std::wstring word;
    bool quoted = false;
    bool inWord = false;
    for (wchar_t character : line) {
        if (character == L'"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (character == L' ' || character == L'\t')) {
            if (inWord) {
                words.push_back(word);
                word.clear();
                inWord = false;
            }
        } else {
            word.push_back(character);
            inWord = true;
        }
    }
    if (inWord) {
        words.push_back(word);
    }
    return words;
}

bool Run(const std::vector<std::wstring>& args) {
    // A wide path: the script may lie under a folder named in any language.
    std::ifstream script{std::filesystem::path(args[1])};
    if (!script) {
        return Fail(L"cannot read " + args[1]);
    }
    std::string line;
    for (int number = 1; std::getline(script, line); ++number) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::vector<std::wstring> words = Split(FromUtf8(line));
        if (words.empty() || words[0][0] == L'#') {
            continue;
        }
        if (!Execute(words)) {
            return Fail(args[1] + L":" + std::to_wstring(number) + L": " + FromUtf8(line));
        }
    }
    return true;
}

}  // namespace
}  // namespace tolva::driver

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: driver COMMAND ARGUMENTS... | driver run SCRIPT\n", stderr);
        return 64;
    }
    std::vector<std::wstring> args(argv + 1, argv + argc);
    return tolva::driver::Execute(args) ? 0 : 1;
}
