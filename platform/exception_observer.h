// Lets a caller see the code of every structured exception raised inside a call, without
// handling it: the exception goes on to the outer handlers exactly as if nobody had looked.
#pragma once

#include <windows.h>

namespace vantor {

typedef void (*ExceptionCodeObserver)(DWORD exceptionCode);

// Calls call(context); observer runs for each exception raised inside it, while the faulting
// code is still on the stack, before any outer handler sees the exception.
void CallObservingExceptions(void (*call)(void* context), void* context, ExceptionCodeObserver observer);

} // namespace vantor
