#include "shell/program_entry.h"

#include <commctrl.h>
#include <objbase.h>

#include "framework/program_mgr.h"
#include "platform/app_module.h"
#include "shell/component_wiring.h"
#include "shell/run_sequence.h"

int RunProgram(HINSTANCE instance, LPWSTR commandLine, int showCommand, void (*adjust)(IOxQueryInterface*))
{
    ::CoInitialize(nullptr);
    // Loads the window-management parts of the system before any window exists.
    ::DefWindowProcW(nullptr, 0, 0, 0);
    INITCOMMONCONTROLSEX commonControls = {sizeof(commonControls), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&commonControls);
    AppModule().Init(nullptr, instance, nullptr);

    int result;
    {
        OxProgramMgr programMgr;
        ProgramMgrPublication publication(&programMgr);
        RegisterComponents(instance);
        if (adjust != nullptr)
            adjust(&programMgr);
        result = Run(instance, commandLine, showCommand);
        // The publication ends first: GetProgramMgr is null while the manager tears down.
    }

    AppModule().Term();
    ::CoUninitialize();
    return result;
}
