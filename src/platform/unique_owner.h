#pragma once
// A move-only owner of one OS handle. Traits give the handle type, its "none" value and how to
// close it; every kind of handle gets its own alias in its own header.

#include <utility>

namespace tolva::platform {

template <typename Traits>
class UniqueOwner {
public:
    using Handle = typename Traits::Handle;

    UniqueOwner() = default;
    explicit UniqueOwner(Handle handle) : handle_(handle) {}
    ~UniqueOwner() { Reset(); }

    UniqueOwner(const UniqueOwner&) = delete;
    UniqueOwner& operator=(const UniqueOwner&) = delete;
    UniqueOwner(UniqueOwner&& other) noexcept : handle_(other.Release()) {}
    UniqueOwner& operator=(UniqueOwner&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }

    bool Valid() const { return !Traits::IsNone(handle_); }
    Handle Get() const { return handle_; }

    // Gives the handle up without closing it.
    Handle Release() { return std::exchange(handle_, Traits::None()); }
    // Closes the handle held, if any, and gives the place where a function that opens one stores
    // it.
    Handle* Receive() {
        Reset();
        return &handle_;
    }
    // Closes the handle held, if any, and takes the new one.
    void Reset(Handle handle = Traits::None()) {
        Handle old = std::exchange(handle_, handle);
        if (!Traits::IsNone(old)) {
            Traits::Close(old);
        }
    }

private:
    Handle handle_ = Traits::None();
};

}  // namespace tolva::platform
