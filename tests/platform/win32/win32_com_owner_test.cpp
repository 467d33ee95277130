// Owners of COM references, BSTRs and VARIANTs: move-assignment releases what was held.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/win32/unique_bstr.h"
#include "platform/win32/unique_com.h"
#include "platform/win32/unique_variant.h"

namespace tolva::platform {
namespace {

// An object that counts its references. COM objects are released, never deleted through their
// interface, so IUnknown has no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class Counted final : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (id != IID_IUnknown) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }

    ULONG references = 1;
};
#pragma GCC diagnostic pop

TEST(Win32ComOwnerTest, ComMoveAssignmentReleasesTheHeldReference) {
    Counted one, two;
    UniqueCom<IUnknown> first(&one);
    UniqueCom<IUnknown> second(&two);

    first = std::move(second);
    EXPECT_EQ(one.references, 0u);
    EXPECT_EQ(two.references, 1u);
    EXPECT_EQ(first.Get(), &two);

    ASSERT_EQ(two.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(first.Receive())), S_OK);
    EXPECT_EQ(two.references, 1u) << "Receive released the reference held before";
    first.Reset();
    EXPECT_EQ(two.references, 0u);
}

TEST(Win32ComOwnerTest, VariantMoveAssignmentClearsTheHeldValue) {
    Counted held;
    UniqueVariant first;
    VARIANT* slot = first.Receive();
    slot->vt = VT_UNKNOWN;
    slot->punkVal = &held;
    UniqueVariant second;
    second.Receive()->vt = VT_I4;

    first = std::move(second);
    EXPECT_EQ(held.references, 0u);
    EXPECT_EQ(first.Get().vt, VT_I4);
    EXPECT_FALSE(second.Valid()) << "VT_EMPTY holds nothing";
}

TEST(Win32ComOwnerTest, BstrMovesItsString) {
    UniqueBstr first(::SysAllocString(L"first"));
    UniqueBstr second(::SysAllocString(L"second"));

    first = std::move(second);
    EXPECT_FALSE(second.Valid());
    EXPECT_EQ(std::wstring(first.Get(), ::SysStringLen(first.Get())), L"second");
    BSTR released = first.Release();
    EXPECT_FALSE(first.Valid());
    ::SysFreeString(released);
}

}  // namespace
}  // namespace tolva::platform
