#include "server_module.h"

namespace {

HINSTANCE moduleInstance = nullptr;
volatile LONG references = 0;

} // namespace

namespace server_module {

HINSTANCE Instance() { return moduleInstance; }
void SetInstance(HINSTANCE instance) { moduleInstance = instance; }
void AddReference() { ::InterlockedIncrement(&references); }
void ReleaseReference() { ::InterlockedDecrement(&references); }
bool CanUnload() { return references == 0; }

} // namespace server_module
