// A frame-based exception handler of the kind code that catches its own faults has: it deals
// with every exception raised inside a call by going on after it. Only for exceptions that can
// be continued (raised with RaiseException), not for real faults.
#pragma once

#include <windows.h>

typedef void (*HandledExceptionRecorder)(DWORD exceptionCode);

// Calls call(context); record runs with the code of each exception raised inside it, which then
// goes on after the raise.
void CallContinuingAfterExceptions(void (*call)(void* context), void* context, HandledExceptionRecorder record);
