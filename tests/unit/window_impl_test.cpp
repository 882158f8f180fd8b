#include <gtest/gtest.h>

#include <vector>

#include "platform/contained_window.h"
#include "platform/window_impl.h"

namespace {

const UINT AskImpl = WM_APP + 21;
const UINT AskContained = WM_APP + 22;
const UINT AskNested = WM_APP + 23;
const UINT AskToDestroy = WM_APP + 24;

// A window implementation that answers its own messages and records its final message.
class RecordingWindow : public vantor::CWindowImpl<RecordingWindow, vantor::CWindow, vantor::CWinTraits<WS_POPUP, 0>> {
public:
    DECLARE_WND_CLASS_EX(L"Vantor Test Recording Window", 0, COLOR_WINDOW)

    BEGIN_MSG_MAP(RecordingWindow)
        MESSAGE_HANDLER(AskImpl, OnAskImpl)
        MESSAGE_HANDLER(AskNested, OnAskNested)
        MESSAGE_HANDLER(AskToDestroy, OnAskToDestroy)
    END_MSG_MAP()

    void OnFinalMessage(HWND window) override
    {
        finalMessages.push_back(window);
        stillHeldAtFinalMessage = m_hWnd;
    }

    std::vector<HWND> finalMessages;
    HWND stillHeldAtFinalMessage = nullptr;
    std::vector<WPARAM> depths;

private:
    LRESULT OnAskImpl(UINT, WPARAM, LPARAM, BOOL&) { return 0x1A; }
    // Asks itself again from inside its own handler, down to depth 0.
    LRESULT OnAskNested(UINT, WPARAM depth, LPARAM, BOOL&)
    {
        const LRESULT inner = depth > 0 ? SendMessage(AskNested, depth - 1) : 0;
        depths.push_back(depth);
        return inner + 1;
    }
    LRESULT OnAskToDestroy(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        DestroyWindow();
        // Lets the message go on to the default processing of a window that is gone.
        handled = FALSE;
        return 0;
    }
};

// Answers one message and passes everything else on.
class AnsweringMap : public vantor::CMessageMap {
public:
    BEGIN_MSG_MAP(AnsweringMap)
        MESSAGE_HANDLER(AskContained, OnAskContained)
    END_MSG_MAP()

private:
    LRESULT OnAskContained(UINT, WPARAM, LPARAM, BOOL&) { return 0x2B; }
};

} // namespace

TEST(WindowImpl, SubclassersChainedOverItPassMessagesOnAndLetGoOnlyFromTheTop)
{
    RecordingWindow window;
    ASSERT_NE(nullptr, window.Create(nullptr));
    AnsweringMap lowerMap;
    AnsweringMap upperMap;
    vantor::CContainedWindow lower(&lowerMap);
    vantor::CContainedWindow upper(&upperMap);
    ASSERT_TRUE(lower.SubclassWindow(window));
    ASSERT_TRUE(upper.SubclassWindow(window));

    EXPECT_EQ(0x1A, window.SendMessage(AskImpl)) << "passed on through both subclassers";
    EXPECT_EQ(0x2B, window.SendMessage(AskContained));

    EXPECT_EQ(nullptr, lower.UnsubclassWindow()) << "a subclasser below another one cannot let go";
    EXPECT_EQ(0x1A, window.SendMessage(AskImpl)) << "the chain is intact";
    EXPECT_EQ(window.m_hWnd, upper.UnsubclassWindow());
    EXPECT_EQ(window.m_hWnd, lower.UnsubclassWindow()) << "on top now";
    EXPECT_EQ(0, window.SendMessage(AskContained)) << "back to the implementation alone";
    EXPECT_EQ(0x1A, window.SendMessage(AskImpl));
    window.DestroyWindow();
}

TEST(WindowImpl, GetsItsFinalMessageOnceAfterTheWindowIsGone)
{
    RecordingWindow window;
    const HWND created = window.Create(nullptr);
    ASSERT_NE(nullptr, created);
    EXPECT_TRUE(window.finalMessages.empty());
    window.DestroyWindow();
    EXPECT_EQ(std::vector<HWND>{created}, window.finalMessages);
    EXPECT_EQ(nullptr, window.stillHeldAtFinalMessage) << "the object no longer holds the window";
    EXPECT_EQ(nullptr, window.m_hWnd);
    EXPECT_NE(nullptr, window.Create(nullptr)) << "the object can make a new window";
    window.DestroyWindow();
    EXPECT_EQ(2u, window.finalMessages.size());
}

TEST(WindowImpl, HandlesMessagesSentToItselfFromInsideAHandler)
{
    RecordingWindow window;
    ASSERT_NE(nullptr, window.Create(nullptr));
    EXPECT_EQ(4, window.SendMessage(AskNested, 3));
    EXPECT_EQ((std::vector<WPARAM>{0, 1, 2, 3}), window.depths) << "innermost first";
    window.DestroyWindow();
}

TEST(WindowImpl, SurvivesItsWindowBeingDestroyedInsideAHandler)
{
    RecordingWindow window;
    const HWND created = window.Create(nullptr);
    ASSERT_NE(nullptr, created);
    EXPECT_EQ(0, window.SendMessage(AskToDestroy));
    EXPECT_FALSE(::IsWindow(created));
    EXPECT_EQ(std::vector<HWND>{created}, window.finalMessages);
    EXPECT_EQ(nullptr, window.m_hWnd);
}
