#include "shell/component_wiring.h"

#include "framework/event_proxy.h"
#include "framework/init_param.h"
#include "framework/obj_delay_create.h"
#include "framework/program_mgr.h"
#include "localisation/multi_language.h"
#include "services/base_program_stuff.h"
#include "services/program_settings.h"
#include "shell/program_info.h"

void RegisterComponents(HINSTANCE moduleInstance)
{
    IOxQueryInterface* const registry = GetProgramMgr();

    IOxProgramInfo_Add(registry, moduleInstance, L"ZELKVS", L"ZELK Vantor Source", L"", L"ZELK Soft", L"1.0.4", 1, 0, 4);

    registry->RegisterCreator("OxBaseProgramStuff", OxObjDelayCreate<OxBaseProgramStuff>(),
                              DependencyList{"OxProgramInfo", "OxEventProxy"});
    registry->GetInitParam("OxBaseProgramStuff")->SetIntParam("MultiInstanceAllowed", 0);
    registry->RegisterCreator("OxProgramSettings", OxObjDelayCreate<OxProgramSettings>(),
                              DependencyList{"OxProgramInfo", "OxMultiMonitor"});
    registry->RegisterCreator("OxEventProxy", OxObjDelayCreate<OxEventProxy>(), std::string());
    // Builds the proxy now, so that its window belongs to this, the main, thread.
    OxInterfacePtr<IOxEventProxy>(registry, "GlobalUse").Get()->PostCall([] {});

    registry->RegisterCreator("OxMultiLanguage", OxObjDelayCreate<OxMultiLanguage>(),
                              DependencyList{"OxProgramSettings", "OxProgramInfo"});
}
