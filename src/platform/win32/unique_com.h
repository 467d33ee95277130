#pragma once
// Owner of one reference to a COM interface, released when the owner goes. Receive() gives the
// place where CoCreateInstance or QueryInterface stores a new reference.

#include <windows.h>

#include <unknwn.h>

#include "platform/unique_owner.h"

namespace tolva::platform {

template <typename Interface>
struct ComTraits {
    using Handle = Interface*;
    static Interface* None() { return nullptr; }
    static bool IsNone(Interface* h) { return h == nullptr; }
    static void Close(Interface* h) { h->Release(); }
};

template <typename Interface>
using UniqueCom = UniqueOwner<ComTraits<Interface>>;

}  // namespace tolva::platform
