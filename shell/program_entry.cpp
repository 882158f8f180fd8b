#include "shell/program_entry.h"

#include "framework/program_mgr.h"
#include "platform/app_module.h"
#include "platform/com_apartment.h"
#include "shell/component_wiring.h"
#include "shell/run_sequence.h"

int RunProgram(HINSTANCE instance, LPWSTR commandLine, int showCommand, void (*adjust)(IOxQueryInterface*))
{
    // COM and the window system are set up by the run, once this start turns out to be the
    // running instance.
    vantor::AppModule().Init(nullptr, instance, nullptr);

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

    vantor::AppModule().Term();
    vantor::MainApartment().Leave();
    return result;
}
