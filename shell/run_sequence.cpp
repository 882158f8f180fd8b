#include "shell/run_sequence.h"

#include <cwchar>

#include <windows.h>

#include <commctrl.h>

#include "framework/interfaces/base_program_stuff.h"
#include "framework/interfaces/multi_language.h"
#include "framework/interfaces/ui_mgr.h"
#include "framework/interfaces/ui_update.h"
#include "framework/program_mgr.h"
#include "platform/app_module.h"
#include "platform/com_apartment.h"
#include "platform/common_controls.h"
#include "platform/message_loop.h"
#include "shell/component_wiring.h"
#include "shell/dispatch_window.h"

namespace {

// Left until after the single-instance check, so that a start that only hands its command line
// to the running instance ends without loading any of it.
void PrepareRunningInstance()
{
    vantor::MainApartment().Enter();
    // Loads the window-management parts of the system before any window exists.
    ::DefWindowProcW(nullptr, 0, 0, 0);
    vantor::InitCommonControlClasses(ICC_BAR_CLASSES);
    BuildMainThreadComponents(GetProgramMgr());
}

} // namespace

int Run(HINSTANCE, LPWSTR, int)
{
    const OxInterfacePtr<IOxBaseProgramStuff> baseProgramStuff(GetProgramMgr(), "GlobalUse");
    if (!baseProgramStuff.Get()->CheckSingleInstance())
        return -1;
    PrepareRunningInstance();

    vantor::CMessageLoop loop;
    vantor::AppModule().AddMessageLoop(&loop);
    const OxInterfacePtr<IOxUiUpdate> uiUpdate(GetProgramMgr(), "GlobalUse");
    uiUpdate.Get()->SetMessageLoop(&loop);
    const OxInterfacePtr<IOxMultiLanguage> multiLanguage(GetProgramMgr(), "GlobalUse");
    multiLanguage.Get()->SetAppModule(&vantor::AppModule());

    int exitCode = -1;
    const OxInterfacePtr<IOxUiMgr> uiMgr(GetProgramMgr(), "GlobalUse");
    const bool nativeSkin = std::wcsstr(::GetCommandLineW(), L"--native-skin") != nullptr;
    if (!nativeSkin && !uiMgr.Get()->LoadSkins()) {
        ::MessageBoxW(nullptr, L"Program error", nullptr, MB_ICONWARNING);
    } else {
        boost::shared_ptr<CDispatchWindow> dispatchWindow = CreateDispatchWindow();
        if (dispatchWindow)
            exitCode = loop.Run();
    }

    uiUpdate.Get()->SetMessageLoop(nullptr);
    vantor::AppModule().RemoveMessageLoop();
    return FinishRun(exitCode);
}

int FinishRun(int exitCode)
{
    const OxInterfacePtr<IOxBaseProgramStuff> baseProgramStuff(GetProgramMgr(), "GlobalUse");
    baseProgramStuff.Get()->RestartIfRequested();
    int storedExitCode = 0;
    if (baseProgramStuff.Get()->GetExitCode(&storedExitCode))
        return storedExitCode;
    return exitCode;
}
