#pragma once
// COM automation: objects created by ProgID (in-process or local server) and methods called by
// name through IDispatch (name lookup, then Invoke with DISPATCH_METHOD), never as property
// access. Every COM or call error comes back as a Status whose code is the HRESULT.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace tolva::platform {

// How an argument travels: 8-bit text (system code page) and wide text both as VT_BSTR, text by
// reference as VT_BYREF | VT_BSTR, an integer as VT_I4, a boolean as VT_BOOL (true is -1).
enum class AutomationArgKind : uint8_t { kText, kWideText, kTextByRef, kInteger, kBoolean };

struct AutomationArg {
    AutomationArgKind kind = AutomationArgKind::kInteger;
    std::string text;      // kText, kTextByRef
    std::u16string wide;   // kWideText
    int32_t integer = 0;   // kInteger
    bool boolean = false;  // kBoolean

    static AutomationArg Text(std::string_view value);
    static AutomationArg WideText(std::u16string_view value);
    static AutomationArg TextByRef(std::string_view value);
    static AutomationArg Integer(int32_t value);
    static AutomationArg Boolean(bool value);

    bool operator==(const AutomationArg& other) const = default;
};

inline AutomationArg AutomationArg::Text(std::string_view value) {
    AutomationArg arg;
    arg.kind = AutomationArgKind::kText;
    arg.text = value;
    return arg;
}

inline AutomationArg AutomationArg::WideText(std::u16string_view value) {
    AutomationArg arg;
    arg.kind = AutomationArgKind::kWideText;
    arg.wide = value;
    return arg;
}

inline AutomationArg AutomationArg::TextByRef(std::string_view value) {
    AutomationArg arg;
    arg.kind = AutomationArgKind::kTextByRef;
    arg.text = value;
    return arg;
}

inline AutomationArg AutomationArg::Integer(int32_t value) {
    AutomationArg arg;
    arg.kind = AutomationArgKind::kInteger;
    arg.integer = value;
    return arg;
}

inline AutomationArg AutomationArg::Boolean(bool value) {
    AutomationArg arg;
    arg.kind = AutomationArgKind::kBoolean;
    arg.boolean = value;
    return arg;
}

// HRESULTs that callers and tests tell apart; the fake reports the same ones.
namespace hresult {
inline constexpr uint32_t kFail = 0x80004005;                // E_FAIL
inline constexpr uint32_t kNoInterface = 0x80004002;         // E_NOINTERFACE
inline constexpr uint32_t kInvalidProgId = 0x800401F3;       // CO_E_CLASSSTRING
inline constexpr uint32_t kClassNotRegistered = 0x80040154;  // REGDB_E_CLASSNOTREG
inline constexpr uint32_t kUnknownName = 0x80020006;         // DISP_E_UNKNOWNNAME
inline constexpr uint32_t kTypeMismatch = 0x80020005;        // DISP_E_TYPEMISMATCH
inline constexpr uint32_t kBadParamCount = 0x8002000E;       // DISP_E_BADPARAMCOUNT
inline constexpr uint32_t kMemberNotFound = 0x80020003;      // DISP_E_MEMBERNOTFOUND
inline constexpr uint32_t kException = 0x80020009;           // DISP_E_EXCEPTION
}  // namespace hresult

class AutomationObject {
public:
    virtual ~AutomationObject() = default;
    // Any result of the method is dropped.
    virtual Status Call(std::string_view method, const std::vector<AutomationArg>& arguments) = 0;
};

class Automation {
public:
    virtual ~Automation() = default;
    virtual Status Create(std::string_view progId, std::unique_ptr<AutomationObject>& object) = 0;
    // Runs the library's DllRegisterServer or DllUnregisterServer.
    virtual Status RegisterServer(std::string_view libraryPath, bool unregister) = 0;
};

}  // namespace tolva::platform
