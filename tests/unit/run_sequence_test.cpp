#include <gtest/gtest.h>

#include <atomic>
#include <cwchar>
#include <thread>

#include <boost/make_shared.hpp>

#include "framework/component_registration.h"
#include "framework/interfaces/base_program_stuff.h"
#include "framework/interfaces/multi_language.h"
#include "framework/interfaces/ui_mgr.h"
#include "framework/interfaces/ui_update.h"
#include "framework/program_mgr.h"
#include "platform/app_module.h"
#include "services/single_instance_protocol.h"
#include "shell/run_sequence.h"

namespace {

typedef std::vector<std::string> Log;

// Fakes of the four components the run asks for, each logging its calls into one log.
class LoggingBaseProgramStuff : public OxBaseProgramStuffEmpty {
public:
    LoggingBaseProgramStuff(Log& log, bool goOn, bool hasExitCode, int exitCode)
        : OxBaseProgramStuffEmpty(nullptr), log(log), goOn(goOn), hasExitCode(hasExitCode), exitCode(exitCode)
    {
    }
    bool CheckSingleInstance() override
    {
        log.push_back("CheckSingleInstance");
        return goOn;
    }
    void RestartIfRequested() override { log.push_back("RestartIfRequested"); }
    bool GetExitCode(int* stored) override
    {
        log.push_back("GetExitCode");
        if (hasExitCode)
            *stored = exitCode;
        return hasExitCode;
    }

private:
    Log& log;
    bool goOn;
    bool hasExitCode;
    int exitCode;
};

class LoggingUiUpdate : public OxUiUpdateEmpty {
public:
    explicit LoggingUiUpdate(Log& log) : OxUiUpdateEmpty(nullptr), log(log) {}
    void SetMessageLoop(vantor::CMessageLoop* loop) override
    {
        if (loop == nullptr)
            log.push_back("SetMessageLoop(null)");
        else
            log.push_back(vantor::AppModule().GetMessageLoop() == loop ? "SetMessageLoop(registered loop)" : "SetMessageLoop(stray loop)");
    }

private:
    Log& log;
};

class LoggingMultiLanguage : public OxMultiLanguageEmpty {
public:
    explicit LoggingMultiLanguage(Log& log) : OxMultiLanguageEmpty(nullptr), log(log) {}
    void SetAppModule(vantor::CAppModule* module) override
    {
        log.push_back(module == &vantor::AppModule() ? "SetAppModule(application module)" : "SetAppModule(other module)");
    }

private:
    Log& log;
};

class LoggingUiMgr : public OxUiMgrEmpty {
public:
    LoggingUiMgr(Log& log, bool skinsLoad) : OxUiMgrEmpty(nullptr), log(log), skinsLoad(skinsLoad) {}
    bool LoadSkins() override
    {
        log.push_back("LoadSkins");
        return skinsLoad;
    }

private:
    Log& log;
    bool skinsLoad;
};

// Answers the first message box of this process with OK, from another thread, noting its
// text and icon.
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer() : answerer([this] { Answer(); }) {}
    ~MessageBoxAnswerer()
    {
        stop = true;
        answerer.join();
    }

    std::wstring text;
    HICON icon = nullptr;

private:
    void Answer()
    {
        for (int attempt = 0; attempt < 200 && !stop; ++attempt, ::Sleep(50)) {
            HWND box = nullptr;
            while ((box = ::FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr) {
                DWORD process = 0;
                ::GetWindowThreadProcessId(box, &process);
                if (process == ::GetCurrentProcessId() && ::IsWindowVisible(box))
                    break;
            }
            if (box == nullptr)
                continue;
            for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
                wchar_t buffer[256] = L"";
                ::GetClassNameW(child, buffer, 256);
                if (std::wcscmp(buffer, L"Static") != 0)
                    continue;
                if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                    icon = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
                } else {
                    ::GetWindowTextW(child, buffer, 256);
                    if (std::wcslen(buffer) > text.size())
                        text = buffer;
                }
            }
            ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
            return;
        }
    }

    std::atomic<bool> stop{false};
    std::thread answerer;
};

LRESULT CALLBACK RefuseCreation(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return message == WM_NCCREATE ? FALSE : ::DefWindowProcW(window, message, wParam, lParam);
}

// While it lives, the dispatch window's class refuses every window.
class RefusingDispatchClass {
public:
    RefusingDispatchClass()
    {
        ::UnregisterClassW(ClassName, Instance());
        WNDCLASSEXW refusing = {};
        refusing.cbSize = sizeof(refusing);
        refusing.lpfnWndProc = RefuseCreation;
        refusing.hInstance = Instance();
        refusing.lpszClassName = ClassName;
        ::RegisterClassExW(&refusing);
    }
    ~RefusingDispatchClass() { ::UnregisterClassW(ClassName, Instance()); }
    RefusingDispatchClass(const RefusingDispatchClass&) = delete;
    RefusingDispatchClass& operator=(const RefusingDispatchClass&) = delete;

private:
    static HINSTANCE Instance() { return vantor::AppModule().GetModuleInstance(); }
    static constexpr const wchar_t* ClassName = DispatchWindowClassName;
};

struct RunCase {
    const char* name;
    bool singleInstanceGoesOn;
    bool skinsLoad;
    bool hasStoredExitCode;
    int storedExitCode;
    int expectedExitCode;
    bool expectsProgramError;
};

void PrintTo(const RunCase& run, std::ostream* out)
{
    *out << run.name;
}

const Log UpToTheSkin = {"CheckSingleInstance", "SetMessageLoop(registered loop)", "SetAppModule(application module)"};
const Log AfterTheLoop = {"SetMessageLoop(null)", "RestartIfRequested", "GetExitCode"};

Log Joined(std::initializer_list<Log> parts)
{
    Log joined;
    for (const Log& part : parts)
        joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

// Runs the program with the fakes registered and the dispatch window unable to be created.
class RunWithFakes {
public:
    RunWithFakes(const RunCase& run) : publication(&manager)
    {
        Register(boost::make_shared<LoggingBaseProgramStuff>(log, run.singleInstanceGoesOn, run.hasStoredExitCode,
                                                             run.storedExitCode));
        Register(boost::make_shared<LoggingUiUpdate>(log));
        Register(boost::make_shared<LoggingMultiLanguage>(log));
        Register(boost::make_shared<LoggingUiMgr>(log, run.skinsLoad));
    }

    int Run()
    {
        const RefusingDispatchClass refusing;
        return ::Run(::GetModuleHandleW(nullptr), nullptr, SW_SHOWNORMAL);
    }

    Log log;

private:
    template <class Fake>
    void Register(const boost::shared_ptr<Fake>& fake)
    {
        fakes.push_back(fake);
        RegisterComponentInstance(&manager, fake, DependsOn<>());
    }

    OxProgramMgr manager;
    ProgramMgrPublication publication;
    std::vector<boost::shared_ptr<void>> fakes;
};

class RunSequence : public ::testing::TestWithParam<RunCase> {};

const RunCase RunCases[] = {
    {"AnotherInstanceRuns", false, true, false, 0, -1, false},
    {"SkinsFailToLoad", true, false, false, 0, -1, true},
    {"SkinsFailToLoadWithAStoredExitCode", true, false, true, 7, 7, true},
    {"DispatchWindowCannotBeCreated", true, true, false, 0, -1, false},
    {"DispatchWindowCannotBeCreatedWithAStoredExitCode", true, true, true, 5, 5, false},
};

} // namespace

TEST_P(RunSequence, CallsTheComponentsInOrderAndChoosesTheExitCode)
{
    const RunCase& run = GetParam();
    RunWithFakes program(run);
    MessageBoxAnswerer answerer;
    EXPECT_EQ(run.expectedExitCode, program.Run());

    if (!run.singleInstanceGoesOn)
        EXPECT_EQ((Log{"CheckSingleInstance"}), program.log) << "nothing else is touched";
    else
        EXPECT_EQ(Joined({UpToTheSkin, {"LoadSkins"}, AfterTheLoop}), program.log);
    EXPECT_EQ(nullptr, vantor::AppModule().GetMessageLoop()) << "the loop stayed registered";
    if (run.expectsProgramError) {
        EXPECT_EQ(L"Program error", answerer.text);
        EXPECT_EQ(::LoadIconW(nullptr, IDI_WARNING), answerer.icon) << "no warning icon";
    } else {
        EXPECT_EQ(L"", answerer.text) << "unexpected message box";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RunSequence, ::testing::ValuesIn(RunCases),
                         [](const ::testing::TestParamInfo<RunCase>& info) { return std::string(info.param.name); });

// Run only with "--native-skin" on the test program's command line (see CMakeLists.txt).
TEST(RunSequenceWithNativeSkin, NeverLoadsSkins)
{
    ASSERT_NE(nullptr, std::wcsstr(::GetCommandLineW(), L"--native-skin")) << "run with --native-skin";
    RunWithFakes program(RunCase{"NativeSkin", true, false, false, 0, -1, false});
    MessageBoxAnswerer answerer;
    EXPECT_EQ(-1, program.Run());
    EXPECT_EQ(Joined({UpToTheSkin, AfterTheLoop}), program.log);
    EXPECT_EQ(L"", answerer.text) << "no \"Program error\" without skin loading";
}
