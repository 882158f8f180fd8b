#include "class_factory.h"

#include <new>

STDMETHODIMP ClassFactory::QueryInterface(REFIID iid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (outer != nullptr)
        return CLASS_E_NOAGGREGATION;
    return creator(iid, object);
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock)
{
    if (lock)
        server_module::AddReference();
    else
        server_module::ReleaseReference();
    return S_OK;
}

HRESULT GetFactory(ObjectCreator creator, REFIID iid, void** object)
{
    return HandOut(new (std::nothrow) ClassFactory(creator), iid, object);
}
