// The process-wide application module, in the manner of WTL's CAppModule: the module instance,
// the instance resources are loaded from (a language pack may replace it), and the message loop
// of each thread.
#pragma once

#include <map>

#include <windows.h>

#include "platform/critical_section.h"

namespace vantor {

class CMessageLoop;

class CAppModule {
public:
    CAppModule();
    CAppModule(const CAppModule&) = delete;
    CAppModule& operator=(const CAppModule&) = delete;

    // The object map and library id of ATL have no meaning here and must be null.
    HRESULT Init(const void* objectMap, HINSTANCE instance, const GUID* libraryId = nullptr);
    void Term();

    HINSTANCE GetModuleInstance() const { return moduleInstance; }
    HINSTANCE GetResourceInstance() const;
    // Swaps the resource instance atomically and returns the previous one.
    HINSTANCE SetResourceInstance(HINSTANCE instance);

    // One loop per thread, keyed by the calling thread; FALSE when it already has one.
    BOOL AddMessageLoop(CMessageLoop* loop);
    BOOL RemoveMessageLoop();
    CMessageLoop* GetMessageLoop(DWORD threadId = ::GetCurrentThreadId()) const;

private:
    HINSTANCE moduleInstance;
    HINSTANCE resourceInstance;
    mutable CriticalSection loopsLock;
    std::map<DWORD, CMessageLoop*> loops;
};

// The application module of this process.
CAppModule& AppModule();

} // namespace vantor
