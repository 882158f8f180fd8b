// The owners of COM values: each frees what it holds exactly once, hands it over on Release
// and frees the old value on Reset. A counted object inside the values shows every release.
#include <gtest/gtest.h>

#include <utility>

#include "platform/scoped_bstr.h"
#include "platform/scoped_safe_array.h"
#include "platform/scoped_variant.h"

namespace {

// Lives on the test's stack and counts its references; the test keeps one of its own.
class CountedObject : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (iid != IID_IUnknown) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++references); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--references); }

    // A VT_UNKNOWN holding a new reference, for an owner to take over.
    VARIANT NewVariant()
    {
        VARIANT value;
        ::VariantInit(&value);
        value.vt = VT_UNKNOWN;
        value.punkVal = this;
        AddRef();
        return value;
    }

    LONG references = 1;
};

struct OwnerCase {
    const char* what;
    void (*run)(CountedObject& first, CountedObject& second);
};

const OwnerCase VariantEndings[] = {
    {"destroyed",
     [](CountedObject& first, CountedObject&) { vantor::ScopedVariant owner(first.NewVariant()); }},
    {"reset to another value",
     [](CountedObject& first, CountedObject& second) {
         vantor::ScopedVariant owner(first.NewVariant());
         owner.Reset(second.NewVariant());
         EXPECT_EQ(1, first.references) << "the old value is freed at once";
         EXPECT_EQ(2, second.references);
     }},
    {"reset to nothing",
     [](CountedObject& first, CountedObject&) {
         vantor::ScopedVariant owner(first.NewVariant());
         owner.Reset();
         EXPECT_EQ(VT_EMPTY, owner.Type());
         EXPECT_EQ(1, first.references);
     }},
    {"moved into a new owner",
     [](CountedObject& first, CountedObject&) {
         vantor::ScopedVariant owner(first.NewVariant());
         vantor::ScopedVariant moved(std::move(owner));
         EXPECT_EQ(VT_EMPTY, owner.Type());
         EXPECT_EQ(VT_UNKNOWN, moved.Type());
     }},
    {"move-assigned over another value",
     [](CountedObject& first, CountedObject& second) {
         vantor::ScopedVariant owner(first.NewVariant());
         vantor::ScopedVariant target(second.NewVariant());
         target = std::move(owner);
         EXPECT_EQ(1, second.references) << "the target's old value is freed at once";
         EXPECT_EQ(static_cast<IUnknown*>(&first), target.Get().punkVal);
     }},
    {"move-assigned to itself",
     [](CountedObject& first, CountedObject&) {
         vantor::ScopedVariant owner(first.NewVariant());
         vantor::ScopedVariant& same = owner;
         owner = std::move(same);
         EXPECT_EQ(2, first.references);
     }},
    {"released, then cleared by the taker",
     [](CountedObject& first, CountedObject&) {
         VARIANT taken;
         {
             vantor::ScopedVariant owner(first.NewVariant());
             taken = owner.Release();
             EXPECT_EQ(VT_EMPTY, owner.Type()) << "a released owner holds nothing";
         }
         EXPECT_EQ(2, first.references) << "the taker owns the value now";
         EXPECT_EQ(static_cast<IUnknown*>(&first), taken.punkVal);
         ::VariantClear(&taken);
     }},
};

} // namespace

TEST(ScopedVariant, FreesItsValueExactlyOnceHoweverItsOwnershipEnds)
{
    for (const OwnerCase& ending : VariantEndings) {
        CountedObject first;
        CountedObject second;
        ending.run(first, second);
        EXPECT_EQ(1, first.references) << ending.what << ": each reference handed over is released once";
        EXPECT_EQ(1, second.references) << ending.what << ": each reference handed over is released once";
    }
}

TEST(ScopedVariant, TakesOverAStringAndLeavesItsOwnerEmpty)
{
    vantor::ScopedBstr text(::SysAllocString(L"about:blank"));
    ASSERT_TRUE(text);
    const BSTR held = text.Get();
    const vantor::ScopedVariant value(std::move(text));
    EXPECT_EQ(VT_BSTR, value.Type());
    EXPECT_EQ(held, value.Get().bstrVal);
    EXPECT_FALSE(text) << "the string has one owner";

    const vantor::ScopedVariant number(LONG(7));
    EXPECT_EQ(VT_I4, number.Type());
    EXPECT_EQ(7, number.Get().lVal);
}

TEST(ScopedBstr, ReleaseHandsTheStringOverAndLeavesNothingToFree)
{
    vantor::ScopedBstr text(::SysAllocString(L"text"));
    ASSERT_TRUE(text);
    const BSTR held = text.Get();
    const BSTR taken = text.Release();
    EXPECT_EQ(held, taken);
    EXPECT_FALSE(text);
    EXPECT_EQ(nullptr, text.Get());
    ::SysFreeString(taken);
}

TEST(ScopedSafeArray, DestroyingTheArrayReleasesEachElementOnce)
{
    CountedObject object;
    {
        vantor::ScopedSafeArray interfaces(::SafeArrayCreateVector(VT_UNKNOWN, 0, 1));
        ASSERT_TRUE(interfaces);
        LONG first = 0;
        ASSERT_EQ(S_OK, ::SafeArrayPutElement(interfaces.Get(), &first, static_cast<IUnknown*>(&object)));
        EXPECT_EQ(2, object.references);
    }
    EXPECT_EQ(1, object.references) << "an interface element";

    {
        // As the browser host fills the array it writes into a page: an owner hands its VARIANT over.
        vantor::ScopedSafeArray variants(::SafeArrayCreateVector(VT_VARIANT, 0, 1));
        ASSERT_TRUE(variants);
        vantor::ScopedVariant value(object.NewVariant());
        VARIANT* element = nullptr;
        ASSERT_EQ(S_OK, ::SafeArrayAccessData(variants.Get(), reinterpret_cast<void**>(&element)));
        *element = value.Release();
        ::SafeArrayUnaccessData(variants.Get());
    }
    EXPECT_EQ(1, object.references) << "a VARIANT element handed over by its owner";

    SAFEARRAY* taken = nullptr;
    {
        vantor::ScopedSafeArray interfaces(::SafeArrayCreateVector(VT_UNKNOWN, 0, 1));
        ASSERT_TRUE(interfaces);
        LONG first = 0;
        ASSERT_EQ(S_OK, ::SafeArrayPutElement(interfaces.Get(), &first, static_cast<IUnknown*>(&object)));
        taken = interfaces.Release();
    }
    EXPECT_EQ(2, object.references) << "a released array is the taker's";
    ::SafeArrayDestroy(taken);
    EXPECT_EQ(1, object.references);
}
