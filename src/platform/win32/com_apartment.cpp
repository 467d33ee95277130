#include "platform/win32/com_apartment.h"

#include <objbase.h>

#include <utility>

namespace tolva::platform {
namespace {

class ComApartment {
public:
    ComApartment() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) {
            ::CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    HRESULT Result() const { return result_ == RPC_E_CHANGED_MODE ? S_OK : result_; }

private:
    HRESULT result_;
};

}  // namespace

HRESULT EnterCom() {
    thread_local ComApartment apartment;
    return apartment.Result();
}

Status ComFailure(HRESULT result, std::string what) {
    return Status::Failure(static_cast<uint32_t>(result), std::move(what));
}

}  // namespace tolva::platform
