#include "platform/app_module.h"

namespace vantor {

CAppModule::CAppModule()
    : moduleInstance(::GetModuleHandleW(nullptr)), resourceInstance(moduleInstance)
{
}

HRESULT CAppModule::Init(const void* objectMap, HINSTANCE instance, const GUID* libraryId)
{
    if (objectMap != nullptr || libraryId != nullptr)
        return E_INVALIDARG;
    if (instance != nullptr) {
        moduleInstance = instance;
        SetResourceInstance(instance);
    }
    return S_OK;
}

void CAppModule::Term()
{
    CriticalSectionLock lock(loopsLock);
    loops.clear();
}

HINSTANCE CAppModule::GetResourceInstance() const
{
    return static_cast<HINSTANCE>(
        ::InterlockedCompareExchangePointer(reinterpret_cast<PVOID volatile*>(const_cast<HINSTANCE*>(&resourceInstance)),
                                            nullptr, nullptr));
}

HINSTANCE CAppModule::SetResourceInstance(HINSTANCE instance)
{
    return static_cast<HINSTANCE>(
        ::InterlockedExchangePointer(reinterpret_cast<PVOID volatile*>(&resourceInstance), instance));
}

BOOL CAppModule::AddMessageLoop(CMessageLoop* loop)
{
    CriticalSectionLock lock(loopsLock);
    return loop != nullptr && loops.emplace(::GetCurrentThreadId(), loop).second;
}

BOOL CAppModule::RemoveMessageLoop()
{
    CriticalSectionLock lock(loopsLock);
    return loops.erase(::GetCurrentThreadId()) != 0;
}

CMessageLoop* CAppModule::GetMessageLoop(DWORD threadId) const
{
    CriticalSectionLock lock(loopsLock);
    const auto found = loops.find(threadId);
    return found != loops.end() ? found->second : nullptr;
}

CAppModule& AppModule()
{
    static CAppModule module;
    return module;
}

} // namespace vantor
