#include "automation_server.h"

#include <oleauto.h>

#include <algorithm>
#include <vector>

#include "call_log.h"
#include "util/text.h"

namespace tolva::standin {

LONG g_serverUsers = 0;

namespace {

std::string Utf8(const wchar_t* text, UINT length) {
    if (length == 0) {
        return std::string();
    }
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0,
                                     nullptr, nullptr);
    std::string converted(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), converted.data(), size,
                          nullptr, nullptr);
    return converted;
}

bool SameName(std::string_view ascii, const wchar_t* wide) {
    size_t i = 0;
    for (; i < ascii.size(); ++i) {
        wchar_t c = wide[i];
        if (c == 0 || ::towlower(c) != static_cast<wchar_t>(::tolower(ascii[i]))) {
            return false;
        }
    }
    return wide[i] == 0;
}

LoggedArgument Describe(const VARIANTARG& variant) {
    LoggedArgument argument;
    argument.vt = variant.vt;
    switch (variant.vt) {
        case VT_BSTR:
            argument.letter = 's';
            argument.text = Utf8(variant.bstrVal, ::SysStringLen(variant.bstrVal));
            break;
        case VT_BYREF | VT_BSTR:
            argument.letter = 'r';
            if (variant.pbstrVal != nullptr) {
                argument.text = Utf8(*variant.pbstrVal, ::SysStringLen(*variant.pbstrVal));
            }
            break;
        case VT_I4:
            argument.letter = 'i';
            argument.text = std::to_string(variant.lVal);
            break;
        case VT_BOOL:
            argument.letter = 'b';
            argument.text = std::to_string(variant.boolVal);
            break;
        default:
            break;
    }
    return argument;
}

// Which check failed, or S_OK when one of the method's argument lists matches.
HRESULT Match(std::string_view signatures, std::string_view given, UINT* argumentError) {
    bool countFits = false;
    for (const std::string& signature : util::SplitText(signatures, '|')) {
        if (signature == given) {
            return S_OK;
        }
        if (signature.size() == given.size()) {
            countFits = true;
            if (argumentError != nullptr) {
                size_t bad = static_cast<size_t>(
                    std::mismatch(signature.begin(), signature.end(), given.begin()).first -
                    signature.begin());
                *argumentError = static_cast<UINT>(given.size() - 1 - bad);
            }
        }
    }
    return countFits ? DISP_E_TYPEMISMATCH : DISP_E_BADPARAMCOUNT;
}

const char* ErrorName(HRESULT result) {
    switch (result) {
        case DISP_E_TYPEMISMATCH:
            return "DISP_E_TYPEMISMATCH";
        case DISP_E_BADPARAMCOUNT:
            return "DISP_E_BADPARAMCOUNT";
        case DISP_E_MEMBERNOTFOUND:
            return "DISP_E_MEMBERNOTFOUND";
        case DISP_E_NONAMEDARGS:
            return "DISP_E_NONAMEDARGS";
        default:
            return "E_FAIL";
    }
}

class ServerObject : public IDispatch {
public:
    ServerObject(const ServerClass& serverClass, int instance)
        : class_(serverClass), instance_(instance) {
        ::InterlockedIncrement(&g_serverUsers);
    }
    virtual ~ServerObject() { ::InterlockedDecrement(&g_serverUsers); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = ::InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info != nullptr) {
            *info = nullptr;
        }
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (names == nullptr || ids == nullptr || count == 0) {
            return E_INVALIDARG;
        }
        HRESULT result = S_OK;
        for (UINT i = 0; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
        }
        for (size_t m = 0; m < class_.methods.size(); ++m) {
            if (SameName(class_.methods[m].name, names[0])) {
                ids[0] = static_cast<DISPID>(m + 1);
            }
        }
        if (ids[0] == DISPID_UNKNOWN || count > 1) {
            result = DISP_E_UNKNOWNNAME;
        }
        return result;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO*, UINT* argumentError) override {
        if (id < 1 || static_cast<size_t>(id) > class_.methods.size()) {
            return DISP_E_MEMBERNOTFOUND;
        }
        const ServerMethod& method = class_.methods[static_cast<size_t>(id - 1)];
        std::vector<LoggedArgument> arguments;
        std::string given;
        const UINT count = parameters != nullptr ? parameters->cArgs : 0;
        for (UINT i = 0; i < count; ++i) {
            arguments.push_back(Describe(parameters->rgvarg[count - 1 - i]));
            given += arguments.back().letter;
        }
        HRESULT outcome = S_OK;
        if ((flags & DISPATCH_METHOD) == 0) {
            outcome = DISP_E_MEMBERNOTFOUND;
        } else if (parameters != nullptr && parameters->cNamedArgs != 0) {
            outcome = DISP_E_NONAMEDARGS;
        } else {
            outcome = Match(method.signatures, given, argumentError);
        }
        AppendToCallLog(FormatCallLine(class_.progId, instance_, method.name, std::move(arguments),
                                       outcome == S_OK ? "" : ErrorName(outcome)));
        if (result != nullptr) {
            ::VariantInit(result);
        }
        return outcome;
    }

private:
    const ServerClass& class_;
    int instance_;
    LONG references_ = 1;
};

class ClassFactory : public IClassFactory {
public:
    explicit ClassFactory(const ServerClass& serverClass) : class_(serverClass) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // The factories live as long as the library.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        int instance = ++instances_;
        AppendToCallLog(FormatCreateLine(class_.progId, instance));
        auto* created = new ServerObject(class_, instance);
        HRESULT result = created->QueryInterface(riid, object);
        created->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) {
            ::InterlockedIncrement(&g_serverUsers);
        } else {
            ::InterlockedDecrement(&g_serverUsers);
        }
        return S_OK;
    }

private:
    const ServerClass& class_;
    int instances_ = 0;
};

}  // namespace

IClassFactory* ClassFactoryFor(const ServerClass& serverClass) {
    static std::vector<ClassFactory> factories = [] {
        std::vector<ClassFactory> made;
        for (const ServerClass& each : kServerClasses) {
            made.emplace_back(each);
        }
        return made;
    }();
    for (size_t i = 0; i < kServerClasses.size(); ++i) {
        if (&kServerClasses[i] == &serverClass) {
            return &factories[i];
        }
    }
    return nullptr;
}

}  // namespace tolva::standin
