#include "shell/component_wiring.h"

#include "framework/component_registration.h"
#include "framework/ox_event_proxy.h"
#include "framework/program_mgr.h"
#include "localisation/ox_multi_language.h"
#include "services/ox_base_program_stuff.h"
#include "services/ox_multi_monitor.h"
#include "services/ox_our_products.h"
#include "services/ox_program_settings.h"
#include "shell/ox_program_info.h"
#include "ui/ox_ui_mgr.h"
#include "ui/ox_ui_update.h"
#include "version.h"

void RegisterComponents(HINSTANCE moduleInstance)
{
    IOxQueryInterface* const registry = GetProgramMgr();

    IOxProgramInfo_Add(registry, moduleInstance, L"ZELKVS", L"ZELK Vantor Source", L"", L"ZELK Soft",
                       VANTOR_VERSION_TEXT, VANTOR_VERSION_MAJOR, VANTOR_VERSION_MINOR, VANTOR_VERSION_PATCH);

    RegisterComponent<OxBaseProgramStuff>(registry, DependsOn<IOxProgramInfo, IOxEventProxy>());
    InitParamsOf<OxBaseProgramStuff>(registry)->SetIntParam("MultiInstanceAllowed", 0);
    RegisterComponent<OxProgramSettings>(registry, DependsOn<IOxProgramInfo, IOxMultiMonitor>());
    RegisterComponent<OxEventProxy>(registry, DependsOn<>());

    RegisterComponent<OxUiUpdate>(registry, DependsOn<>());
    RegisterComponent<OxMultiMonitor>(registry, DependsOn<>());
    RegisterComponent<OxUiMgr>(registry,
                               DependsOn<IOxBaseProgramStuff, IOxProgramSettings, IOxMultiLanguage, IOxProgramInfo>());
    // No skin libraries: the native look.
    InitParamsOf<OxUiMgr>(registry)->SetIntParam("UseSkins", 0);
    InitParamsOf<OxUiMgr>(registry)->SetIntParam("UseNative", 1);
    RegisterComponent<OxMultiLanguage>(registry, DependsOn<IOxProgramSettings, IOxProgramInfo>());
    RegisterComponent<OxOurProducts>(registry, DependsOn<IOxProgramInfo>());
}

void BuildMainThreadComponents(IOxQueryInterface* registry)
{
    // Its window must belong to this, the main, thread, whichever thread asks for it first.
    BuildComponentNow<IOxEventProxy>(registry);
}
