#include "shell/component_wiring.h"

#include "framework/init_param.h"
#include "framework/obj_delay_create.h"
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

    registry->RegisterCreator("OxBaseProgramStuff", OxObjDelayCreate<OxBaseProgramStuff>(),
                              DependencyList{"OxProgramInfo", "OxEventProxy"});
    registry->GetInitParam("OxBaseProgramStuff")->SetIntParam("MultiInstanceAllowed", 0);
    registry->RegisterCreator("OxProgramSettings", OxObjDelayCreate<OxProgramSettings>(),
                              DependencyList{"OxProgramInfo", "OxMultiMonitor"});
    registry->RegisterCreator("OxEventProxy", OxObjDelayCreate<OxEventProxy>(), std::string());

    registry->RegisterCreator("OxUiUpdate", OxObjDelayCreate<OxUiUpdate>(), DependencyList());
    registry->RegisterCreator("OxMultiMonitor", OxObjDelayCreate<OxMultiMonitor>(), std::string());
    registry->RegisterCreator("OxUiMgr", OxObjDelayCreate<OxUiMgr>(),
                              DependencyList{"OxBaseProgramStuff", "OxProgramSettings", "OxMultiLanguage", "OxProgramInfo"});
    // No skin libraries: the native look.
    registry->GetInitParam("OxUiMgr")->SetIntParam("UseSkins", 0);
    registry->GetInitParam("OxUiMgr")->SetIntParam("UseNative", 1);
    registry->RegisterCreator("OxMultiLanguage", OxObjDelayCreate<OxMultiLanguage>(),
                              DependencyList{"OxProgramSettings", "OxProgramInfo"});
    registry->RegisterCreator("OxOurProducts", OxObjDelayCreate<OxOurProducts>(), DependencyList{"OxProgramInfo"});
}

void BuildMainThreadComponents(IOxQueryInterface* registry)
{
    // Its window must belong to this, the main, thread, whichever thread asks for it first.
    BuildComponentNow(registry, "OxEventProxy");
}
