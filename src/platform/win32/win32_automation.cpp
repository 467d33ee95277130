#include "platform/win32/win32_automation.h"

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <vector>

#include "platform/win32/ansi_text.h"
#include "platform/win32/com_apartment.h"
#include "platform/win32/dll_search.h"
#include "platform/win32/unique_bstr.h"
#include "platform/win32/unique_com.h"
#include "platform/win32/unique_module.h"
#include "platform/win32/unique_variant.h"

namespace tolva::platform {
namespace {

using UniqueDispatch = UniqueCom<IDispatch>;

class ExceptionInfo {
public:
    ExceptionInfo() : info_{} {}
    ~ExceptionInfo() {
        ::SysFreeString(info_.bstrSource);
        ::SysFreeString(info_.bstrDescription);
        ::SysFreeString(info_.bstrHelpFile);
    }
    ExceptionInfo(const ExceptionInfo&) = delete;
    ExceptionInfo& operator=(const ExceptionInfo&) = delete;
    EXCEPINFO* Get() { return &info_; }
    std::string Description() const {
        if (info_.bstrDescription == nullptr) {
            return std::string();
        }
        return WideToAnsiText(
            std::wstring_view(info_.bstrDescription, ::SysStringLen(info_.bstrDescription)));
    }

private:
    EXCEPINFO info_;
};

BSTR AllocateText(std::wstring_view text) {
    return ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

class Win32AutomationObject : public AutomationObject {
public:
    explicit Win32AutomationObject(UniqueDispatch dispatch) : dispatch_(std::move(dispatch)) {}

    Status Call(std::string_view method, const std::vector<AutomationArg>& arguments) override {
        std::wstring name = AnsiToWideText(method);
        LPOLESTR names[] = {name.data()};
        DISPID id = DISPID_UNKNOWN;
        HRESULT result =
            dispatch_.Get()->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        if (FAILED(result)) {
            return ComFailure(result, "GetIDsOfNames " + std::string(method));
        }

        const size_t count = arguments.size();
        // A callee may replace a string passed by reference (freeing the old one itself), so the
        // owners free whatever their slots hold once the call is over.
        std::vector<UniqueBstr> strings(count);
        std::vector<VARIANTARG> variants(count);
        for (size_t i = 0; i < count; ++i) {
            // Invoke takes the arguments last to first.
            VARIANTARG& variant = variants[count - 1 - i];
            ::VariantInit(&variant);
            const AutomationArg& argument = arguments[i];
            BSTR* slot = strings[i].Receive();
            switch (argument.kind) {
                case AutomationArgKind::kText:
                case AutomationArgKind::kTextByRef:
                    *slot = AllocateText(AnsiToWideText(argument.text));
                    break;
                case AutomationArgKind::kWideText:
                    *slot = AllocateText(
                        std::wstring_view(reinterpret_cast<const wchar_t*>(argument.wide.data()),
                                          argument.wide.size()));
                    break;
                case AutomationArgKind::kInteger:
                    variant.vt = VT_I4;
                    variant.lVal = argument.integer;
                    continue;
                case AutomationArgKind::kBoolean:
                    variant.vt = VT_BOOL;
                    variant.boolVal = argument.boolean ? VARIANT_TRUE : VARIANT_FALSE;
                    continue;
            }
            if (*slot == nullptr) {
                return ComFailure(E_OUTOFMEMORY, "Call " + std::string(method));
            }
            if (argument.kind == AutomationArgKind::kTextByRef) {
                variant.vt = VT_BYREF | VT_BSTR;
                variant.pbstrVal = slot;
            } else {
                variant.vt = VT_BSTR;
                variant.bstrVal = *slot;
            }
        }

        DISPPARAMS parameters{count == 0 ? nullptr : variants.data(), nullptr,
                              static_cast<UINT>(count), 0};
        UniqueVariant dropped;
        ExceptionInfo exception;
        UINT argumentError = 0;
        result =
            dispatch_.Get()->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters,
                                    dropped.Receive(), exception.Get(), &argumentError);
        if (FAILED(result)) {
            std::string what = "Invoke " + std::string(method);
            if (result == DISP_E_EXCEPTION) {
                what += ": " + exception.Description();
            }
            return ComFailure(result, std::move(what));
        }
        return Status::Ok();
    }

private:
    UniqueDispatch dispatch_;
};

}  // namespace

Status Win32Automation::Create(std::string_view progId, std::unique_ptr<AutomationObject>& object) {
    HRESULT result = EnterCom();
    if (FAILED(result)) {
        return ComFailure(result, "CoInitializeEx");
    }
    CLSID classId;
    result = ::CLSIDFromProgID(AnsiToWideText(progId).c_str(), &classId);
    if (FAILED(result)) {
        return ComFailure(result, "CLSIDFromProgID " + std::string(progId));
    }
    UniqueDispatch dispatch;
    result = ::CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                IID_IDispatch, reinterpret_cast<void**>(dispatch.Receive()));
    if (FAILED(result)) {
        return ComFailure(result, "CoCreateInstance " + std::string(progId));
    }
    object = std::make_unique<Win32AutomationObject>(std::move(dispatch));
    return Status::Ok();
}

Status Win32Automation::RegisterServer(std::string_view libraryPath, bool unregister) {
    HRESULT result = EnterCom();
    if (FAILED(result)) {
        return ComFailure(result, "CoInitializeEx");
    }
    const std::string what = (unregister ? "Unregister " : "Register ") + std::string(libraryPath);
    UniqueModule module(
        ::LoadLibraryExW(AnsiToWideText(libraryPath).c_str(), nullptr, win32::FullPathLoadFlags()));
    if (!module.Valid()) {
        return Status::Failure(::GetLastError(), what);
    }
    using EntryPoint = HRESULT(STDAPICALLTYPE*)();
    FARPROC address =
        ::GetProcAddress(module.Get(), unregister ? "DllUnregisterServer" : "DllRegisterServer");
    if (address == nullptr) {
        return Status::Failure(::GetLastError(), what);
    }
    result = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(address))();
    if (FAILED(result)) {
        return ComFailure(result, what);
    }
    return Status::Ok();
}

}  // namespace tolva::platform
