// A class factory that makes objects through a creation function.
#pragma once

#include <unknwn.h>

#include "com_object.h"
#include "server_registration.h"

class ClassFactory : public IClassFactory {
public:
    explicit ClassFactory(ObjectCreator creator) : creator(creator) {}
    virtual ~ClassFactory() = default;

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    IMPLEMENT_COM_REFERENCE_COUNT(references)

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    ComReferenceCount references;
    ObjectCreator creator;
};

// Hands a new object (holding its creator's one reference) out as iid, or destroys it.
template <class T>
HRESULT HandOut(T* object, REFIID iid, void** result)
{
    if (object == nullptr)
        return E_OUTOFMEMORY;
    const HRESULT queried = object->QueryInterface(iid, result);
    object->Release();
    return queried;
}

// The class object of a DLL server for class factories.
HRESULT GetFactory(ObjectCreator creator, REFIID iid, void** object);
