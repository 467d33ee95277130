#pragma once
// COM for the calling thread: entered once per thread (single-threaded apartment) and left when
// the thread ends.

#include <windows.h>

#include <string>

#include "platform/status.h"

namespace tolva::platform {

// S_OK once the thread may use COM, also when another component put it into the multithreaded
// apartment; the failure of CoInitializeEx otherwise.
HRESULT EnterCom();

// A failed COM call as a Status carrying its HRESULT.
Status ComFailure(HRESULT result, std::string what);

}  // namespace tolva::platform
