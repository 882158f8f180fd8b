// A Win32 critical section and its scope lock.
#pragma once

#include <windows.h>

namespace vantor {

class CriticalSection {
public:
    CriticalSection() { ::InitializeCriticalSection(&section); }
    ~CriticalSection() { ::DeleteCriticalSection(&section); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter() { ::EnterCriticalSection(&section); }
    void Leave() { ::LeaveCriticalSection(&section); }

private:
    CRITICAL_SECTION section;
};

class CriticalSectionLock {
public:
    explicit CriticalSectionLock(CriticalSection& section) : section(section) { section.Enter(); }
    ~CriticalSectionLock() { section.Leave(); }
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

private:
    CriticalSection& section;
};

} // namespace vantor
