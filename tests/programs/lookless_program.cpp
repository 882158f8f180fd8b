// The program with neither skin libraries nor the native look: skin loading fails, unless
// "--native-skin" skips it.
#include "framework/component_registration.h"
#include "framework/interfaces/ui_mgr.h"
#include "shell/program_entry.h"

namespace {

void WithoutAnyLook(IOxQueryInterface* registry)
{
    InitParamsOf<IOxUiMgr>(registry)->SetIntParam("UseNative", 0);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand)
{
    return RunProgram(instance, commandLine, showCommand, WithoutAnyLook);
}
