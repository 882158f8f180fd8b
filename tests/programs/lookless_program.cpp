// The program with neither skin libraries nor the native look: skin loading fails, unless
// "--native-skin" skips it.
#include "framework/init_param.h"
#include "framework/query_interface.h"
#include "shell/program_entry.h"

namespace {

void WithoutAnyLook(IOxQueryInterface* registry)
{
    registry->GetInitParam("OxUiMgr")->SetIntParam("UseNative", 0);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand)
{
    return RunProgram(instance, commandLine, showCommand, WithoutAnyLook);
}
