// The class library against real windows, dialogs, GDI and files under Wine.
#include "framework/Afx.h"
#include "tests/win/framework/TestDialogs.h"
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

namespace {

// Handles whatever a test left in the queue and drops the quit message. Messages are dispatched, not
// just removed: a pending paint stays in the queue until a window has painted.
void DrainQueue() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT)
            ::DispatchMessageA(&msg);
    }
}

class CRecordingWnd : public CWnd {
public:
    std::vector<std::string> calls;
    CPoint lastPoint;
    UINT lastFlags = 0;
    UINT_PTR lastTimer = 0;
    bool throwOnTimer = false;

    void OnMouseMove(UINT nFlags, CPoint point) {
        calls.push_back("move");
        lastFlags = nFlags;
        lastPoint = point;
    }
    void OnTimer(UINT_PTR nIDEvent) {
        calls.push_back("timer");
        lastTimer = nIDEvent;
        if (throwOnTimer)
            throw CFileException(CFileException::genericException);
    }
    void OnFirst() { calls.push_back("first"); }
    void OnRange() { calls.push_back("range"); }
    LRESULT OnCustom(WPARAM wParam, LPARAM lParam) { return LRESULT(wParam + lParam); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRecordingWnd, CWnd)
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
ON_COMMAND(100, OnFirst)
ON_CONTROL(BN_DOUBLECLICKED, 100, OnRange)
ON_MESSAGE(WM_APP + 1, OnCustom)
END_MESSAGE_MAP()

// A derived class whose table overrides one entry of its base's and inherits the others.
class CDerivedWnd : public CRecordingWnd {
public:
    void OnMouseMove(UINT, CPoint) { calls.push_back("derived move"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CRecordingWnd)
ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

HWND MakePopup(CWnd& wnd) {
    EXPECT_TRUE(wnd.CreateEx(0, nullptr, "test", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    return wnd.m_hWnd;
}

TEST(MessageMap, CracksParametersAndFallsBackToDefault) {
    CRecordingWnd wnd;
    HWND h = MakePopup(wnd);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), &wnd);

    // Coordinates are signed 16-bit halves: a point left of and above the window stays negative.
    ::SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-5, -7));
    EXPECT_EQ(wnd.lastPoint, CPoint(-5, -7));
    EXPECT_EQ(wnd.lastFlags, UINT(MK_LBUTTON));

    ::SendMessageA(h, WM_TIMER, 42, 0);
    EXPECT_EQ(wnd.lastTimer, UINT_PTR(42));
    EXPECT_EQ(::SendMessageA(h, WM_APP + 1, 2, 3), 5);

    // A message without an entry reaches the default procedure: the window text is stored.
    ::SendMessageA(h, WM_SETTEXT, 0, LPARAM("hello"));
    CString text;
    wnd.GetWindowText(text);
    EXPECT_EQ(text, "hello");
    wnd.DestroyWindow();
    EXPECT_EQ(wnd.m_hWnd, nullptr);
}

TEST(MessageMap, CommandEntriesMatchCodeAndId) {
    CRecordingWnd wnd;
    HWND h = MakePopup(wnd);
    struct Case {
        WORD id;
        WORD code;
        const char* expected;
    } cases[] = {
        {100, BN_CLICKED, "first"},
        {100, BN_DOUBLECLICKED, "range"},
        {101, BN_CLICKED, nullptr},
        {100, EN_CHANGE, nullptr},
    };
    for (const Case& c : cases) {
        wnd.calls.clear();
        ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(c.id, c.code), 0);
        if (c.expected)
            EXPECT_EQ(wnd.calls, std::vector<std::string>{c.expected}) << c.id << "/" << c.code;
        else
            EXPECT_TRUE(wnd.calls.empty()) << c.id << "/" << c.code;
    }
}

TEST(MessageMap, DerivedEntryWinsAndBaseEntriesRemain) {
    CDerivedWnd wnd;
    HWND h = MakePopup(wnd);
    ::SendMessageA(h, WM_MOUSEMOVE, 0, 0);
    ::SendMessageA(h, WM_TIMER, 7, 0);
    EXPECT_EQ(wnd.calls, (std::vector<std::string>{"derived move", "timer"}));
}

TEST(MessageMap, ExceptionFromHandlerStopsAtTheWindowProcedure) {
    CRecordingWnd wnd;
    HWND h = MakePopup(wnd);
    wnd.throwOnTimer = true;
    EXPECT_EQ(::SendMessageA(h, WM_TIMER, 1, 0), 0);
    // The window still works afterwards.
    wnd.throwOnTimer = false;
    ::SendMessageA(h, WM_TIMER, 2, 0);
    EXPECT_EQ(wnd.lastTimer, UINT_PTR(2));
}

TEST(MessageMap, DestroyingTheObjectDestroysItsWindow) {
    HWND h;
    {
        CRecordingWnd wnd;
        h = MakePopup(wnd);
        ASSERT_TRUE(::IsWindow(h));
    }
    EXPECT_FALSE(::IsWindow(h));
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

class CSubclassedStatic : public CStatic {
public:
    WNDPROC procDuringPreSubclass = nullptr;
    int moves = 0;
    void OnMouseMove(UINT, CPoint) {
        ++moves;
        Default();
    }

protected:
    void PreSubclassWindow() override {
        procDuringPreSubclass = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSubclassedStatic, CStatic)
ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

TEST(Subclassing, HooksOnceKeepsOldProcedureAndLetsGoOnDestroy) {
    HWND parent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    HWND h = ::CreateWindowExA(0, "STATIC", "text", WS_CHILD | SS_NOTIFY, 0, 0, 40, 20, parent, nullptr, nullptr,
                               nullptr);
    const auto original = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(h, GWLP_WNDPROC));

    CSubclassedStatic st;
    ASSERT_TRUE(st.SubclassWindow(h));
    EXPECT_EQ(st.procDuringPreSubclass, original) << "PreSubclassWindow runs before the procedure changes";
    EXPECT_NE(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(h, GWLP_WNDPROC)), original);

    CSubclassedStatic other;
    EXPECT_FALSE(other.SubclassWindow(h)) << "a window is bound to one object only";

    ::SendMessageA(h, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(st.moves, 1);
    // Messages without an entry still reach the static control's own procedure.
    ::SendMessageA(h, WM_SETTEXT, 0, LPARAM("changed"));
    char buffer[32] = "";
    ::GetWindowTextA(h, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "changed");

    ::DestroyWindow(parent);
    EXPECT_EQ(st.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

// A dialog whose initialisation runs a test's script, so the test can act inside the modal loop.
class CScriptedDialog : public CDialog {
public:
    explicit CScriptedDialog(std::function<void(CScriptedDialog&)> script, UINT nID = IDD_TEST_PLAIN,
                             CWnd* pParent = nullptr)
        : CDialog(nID, pParent), m_script(std::move(script)) {}

    CButton m_button;
    CStatic m_static;
    bool initialised = false;
    int drawItemCalls = 0;
    HWND ownerDuringLoop = nullptr;
    BOOL ownerEnabledDuringLoop = TRUE;

    using CDialog::EndDialog;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_TEST_BUTTON, m_button);
        DDX_Control(pDX, IDC_TEST_STATIC, m_static);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        initialised = true;
        ownerDuringLoop = ::GetWindow(m_hWnd, GW_OWNER);
        if (ownerDuringLoop)
            ownerEnabledDuringLoop = ::IsWindowEnabled(ownerDuringLoop);
        if (m_script)
            m_script(*this);
        return TRUE;
    }

private:
    std::function<void(CScriptedDialog&)> m_script;
};

class CApp : public CWinApp {};

TEST(Dialog, ModalLoopEndsTheWaysItShould) {
    struct Case {
        const char* name;
        std::function<void(CScriptedDialog&)> script;
        INT_PTR expected;
        bool quitReposted;
    } cases[] = {
        {"EndDialog", [](CScriptedDialog& d) { d.EndDialog(17); }, 17, false},
        {"WM_CLOSE", [](CScriptedDialog& d) { d.PostMessage(WM_CLOSE); }, IDCANCEL, false},
        {"Escape", [](CScriptedDialog& d) { ::PostMessageA(d.m_button.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0); },
         IDCANCEL, false},
        {"Enter", [](CScriptedDialog& d) { ::PostMessageA(d.m_button.m_hWnd, WM_KEYDOWN, VK_RETURN, 0); }, IDOK,
         false},
        {"quit", [](CScriptedDialog&) { ::PostQuitMessage(3); }, IDCANCEL, true},
    };
    for (const Case& c : cases) {
        DrainQueue();
        CScriptedDialog dlg(c.script);
        EXPECT_EQ(dlg.DoModal(), c.expected) << c.name;
        EXPECT_TRUE(dlg.initialised) << c.name;
        EXPECT_EQ(dlg.m_hWnd, nullptr) << c.name << ": the window is gone when DoModal returns";
        EXPECT_EQ(dlg.m_button.m_hWnd, nullptr) << c.name << ": controls let go of their windows";
        MSG msg;
        const bool quit = ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
        EXPECT_EQ(quit, c.quitReposted) << c.name;
        if (quit) {
            EXPECT_EQ(msg.wParam, WPARAM(3));
        }
    }
}

TEST(Dialog, MissingTemplateGivesMinusOne) {
    CScriptedDialog dlg(nullptr, 9999);
    EXPECT_EQ(dlg.DoModal(), -1);
}

TEST(Dialog, NestedDialogIsOwnedByMainWindowWhichIsDisabledMeanwhile) {
    DrainQueue();
    CApp app;
    HWND outerHwnd = nullptr;
    HWND innerOwner = nullptr;
    BOOL ownerEnabled = TRUE;
    BOOL outerEnabledAfter = FALSE;
    CScriptedDialog outer([&](CScriptedDialog& self) {
        outerHwnd = self.m_hWnd;
        self.PostMessage(WM_APP);
        CScriptedDialog inner([](CScriptedDialog& d) { d.PostMessage(WM_CLOSE); });
        inner.DoModal();
        innerOwner = inner.ownerDuringLoop;
        ownerEnabled = inner.ownerEnabledDuringLoop;
        outerEnabledAfter = ::IsWindowEnabled(self.m_hWnd);
        self.EndDialog(IDOK);
    });
    app.m_pMainWnd = &outer;
    EXPECT_EQ(outer.DoModal(), IDOK);
    EXPECT_EQ(innerOwner, outerHwnd);
    EXPECT_FALSE(ownerEnabled) << "the owner is disabled while the inner dialog runs";
    EXPECT_TRUE(outerEnabledAfter);
    EXPECT_EQ(app.m_pMainWnd, nullptr) << "destroying the main window clears the registration";
}

TEST(Dialog, QuitInsideNestedLoopEndsBothLoops) {
    DrainQueue();
    INT_PTR innerResult = 0;
    CScriptedDialog outer([&](CScriptedDialog&) {
        CScriptedDialog inner([](CScriptedDialog&) { ::PostQuitMessage(0); });
        innerResult = inner.DoModal();
    });
    EXPECT_EQ(outer.DoModal(), IDCANCEL);
    EXPECT_EQ(innerResult, IDCANCEL);
    DrainQueue();
}

class COwnerDrawButton : public CButton {
public:
    int draws = 0;
    UINT lastCtlId = 0;
    void DrawItem(LPDRAWITEMSTRUCT lpDis) override {
        ++draws;
        lastCtlId = lpDis->CtlID;
    }
};

TEST(Dialog, OwnerDrawRequestsReachTheControlObject) {
    DrainQueue();
    COwnerDrawButton drawn;
    int drawsSeen = 0;
    CScriptedDialog dlg([&](CScriptedDialog& d) {
        drawn.SubclassDlgItem(IDC_TEST_OWNERDRAW, &d);
        d.ShowWindow(SW_SHOWNA);
        ::RedrawWindow(drawn.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        drawsSeen = drawn.draws;
        d.EndDialog(IDOK);
    });
    dlg.DoModal();
    EXPECT_GE(drawsSeen, 1);
    EXPECT_EQ(drawn.lastCtlId, UINT(IDC_TEST_OWNERDRAW));
}

TEST(String, SearchAndSlices) {
    const CString s("C:\\Apps\\Suite");
    EXPECT_EQ(s.ReverseFind('\\'), 7);
    EXPECT_EQ(s.Find('x'), -1);
    EXPECT_EQ(s.Find("Apps"), 3);
    EXPECT_EQ(s.Find('A', 3), 3);
    EXPECT_EQ(s.Find('A', 4), -1);
    EXPECT_EQ(s.Left(2), "C:");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Mid(8), "Suite");
    EXPECT_EQ(s.Mid(50), "");
    EXPECT_EQ(s.Right(5), "Suite");
    EXPECT_EQ(s.Right(99), s);
    CString b;
    ::lstrcpyA(b.GetBuffer(10), "abc");
    b.ReleaseBuffer();
    EXPECT_EQ(b.GetLength(), 3);
    CString f;
    f.Format("%s %d", "x", 42);
    EXPECT_EQ(f, "x 42");
}

TEST(String, LoadStringKeepsSpacesAndReportsMissingEntries) {
    CString s;
    EXPECT_TRUE(s.LoadString(IDS_TEST_TEXT));
    EXPECT_EQ(s, "Zorg ervoor  dat");
    EXPECT_FALSE(s.LoadString(12345));
    EXPECT_TRUE(s.IsEmpty());
}

class TempFolder : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[MAX_PATH];
        ::GetTempPathA(MAX_PATH, dir);
        m_path = std::string(dir) + "fw_file_test.bin";
        ::DeleteFileA(m_path.c_str());
    }
    void TearDown() override { ::DeleteFileA(m_path.c_str()); }
    std::string m_path;
};

TEST_F(TempFolder, FileWritesReadsSeeksAndTruncates) {
    {
        CFile f;
        ASSERT_TRUE(f.Open(m_path.c_str(), CFile::modeCreate | CFile::modeWrite));
        f.Write("0123456789", 10);
    }
    CFile f;
    ASSERT_TRUE(f.Open(m_path.c_str(), CFile::modeRead));
    EXPECT_EQ(f.GetLength(), 10u);
    EXPECT_EQ(f.Seek(4, CFile::begin), 4u);
    char buf[16] = "";
    EXPECT_EQ(f.Read(buf, 16), 6u) << "a read at the end returns what was there";
    EXPECT_EQ(std::string(buf, 6), "456789");
    EXPECT_EQ(f.GetPosition(), 10u);
    EXPECT_EQ(f.Read(buf, 4), 0u);
    // Opened without sharing: nobody else can open it meanwhile.
    CFile second;
    CFileException error;
    EXPECT_FALSE(second.Open(m_path.c_str(), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
    f.Close();

    CFile truncating;
    ASSERT_TRUE(truncating.Open(m_path.c_str(), CFile::modeCreate));
    EXPECT_EQ(truncating.GetLength(), 0u);
}

TEST_F(TempFolder, FileErrorsAreReportedNotThrownByOpen) {
    CFile f;
    CFileException error;
    EXPECT_FALSE(f.Open(m_path.c_str(), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_THROW(CFile(m_path.c_str(), CFile::modeRead), CFileException);
    // Writing to a file opened for reading raises the error.
    {
        CFile w(m_path.c_str(), CFile::modeCreate | CFile::modeWrite);
    }
    CFile r(m_path.c_str(), CFile::modeRead);
    EXPECT_THROW(r.Write("x", 1), CFileException);
}

TEST(Gdi, ObjectsAndContextsReleaseTheirHandles) {
    // Wine's per-process GDI table holds about 65,000 handles: a leak in any of these would make
    // creation fail before the loop ends.
    HDC screen = ::GetDC(nullptr);
    for (int i = 0; i < 70000; ++i) {
        CPen pen(PS_SOLID, 0, RGB(i & 255, 0, 0));
        CBrush brush(RGB(0, i & 255, 0));
        CDC mem;
        ASSERT_TRUE(mem.CreateCompatibleDC(CDC::FromHandle(screen))) << "iteration " << i;
        CBitmap bmp;
        ASSERT_TRUE(bmp.CreateCompatibleBitmap(CDC::FromHandle(screen), 2, 2)) << "iteration " << i;
        CBitmap* old = mem.SelectObject(&bmp);
        CPen* oldPen = mem.SelectObject(&pen);
        mem.SelectObject(oldPen);
        mem.SelectObject(old);
    }
    ::ReleaseDC(nullptr, screen);
}

TEST(Gdi, SelectingNothingIsHarmless) {
    CClientDC screen(nullptr);
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(&screen));
    CBitmap empty;
    EXPECT_EQ(mem.SelectObject(&empty), nullptr);
    EXPECT_EQ(mem.SelectObject(static_cast<CPen*>(nullptr)), nullptr);
    EXPECT_EQ(mem.SelectPalette(nullptr, FALSE), nullptr);
}

TEST(Gdi, SelectionHandsBackThePreviousObject) {
    CClientDC screen(nullptr);
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(&screen));
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateCompatibleBitmap(&screen, 4, 4));
    CBitmap* old = mem.SelectObject(&bmp);
    ASSERT_NE(old, nullptr);
    CBitmap* mine = mem.SelectObject(old);
    EXPECT_EQ(mine->m_hObject, bmp.m_hObject);
    CBrush red(RGB(255, 0, 0));
    mem.SelectObject(&bmp);
    CRect rc(0, 0, 4, 4);
    mem.FillRect(&rc, &red);
    EXPECT_EQ(mem.GetPixel(1, 1), RGB(255, 0, 0));
    mem.SelectObject(old);
}

TEST(Menu, LoadsSubmenuWithoutOwningIt) {
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuA(popup, MF_STRING, 1, "one");
    HMENU bar = ::CreateMenu();
    ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "popup");
    {
        CMenu menu;
        menu.Attach(bar);
        CMenu* sub = menu.GetSubMenu(0);
        ASSERT_NE(sub, nullptr);
        EXPECT_EQ(sub->m_hMenu, popup);
        EXPECT_EQ(sub->GetMenuItemCount(), 1u);
        EXPECT_EQ(menu.GetSubMenu(5), nullptr);
    }
    EXPECT_FALSE(::IsMenu(bar)) << "the owning object destroyed the menu";
}

} // namespace
