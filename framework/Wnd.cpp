#include "framework/Wnd.h"
#include "framework/App.h"
#include "framework/DC.h"
#include "framework/HandleMap.h"
#include <unordered_map>

namespace {
// Windows bound to an object. Never destroyed, so objects with static storage can still look
// themselves up while the process ends.
std::unordered_map<HWND, CWnd*>& BoundWindows() {
    static auto* s_map = new std::unordered_map<HWND, CWnd*>();
    return *s_map;
}

// The object waiting for the window that the current creation makes, and that window's class.
CWnd* g_pWndInit = nullptr;
LPCSTR g_pszInitClass = nullptr;

const char kWindowClass[] = "FwWindow";
} // namespace

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_NCDESTROY()
END_MESSAGE_MAP()

CWnd::~CWnd() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        ::DestroyWindow(m_hWnd);
        // A window of another thread cannot be destroyed from here; at least stop routing its
        // messages to an object that is going away.
        if (m_hWnd)
            UnsubclassWindow();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (!hWnd)
        return nullptr;
    auto it = BoundWindows().find(hWnd);
    return it == BoundWindows().end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (CWnd* p = FromHandlePermanent(hWnd))
        return p;
    return fw::TemporaryFor<CWnd, HWND>(hWnd, [](CWnd& w, HWND h) { w.m_hWnd = h; });
}

BOOL CWnd::Attach(HWND hWnd) {
    if (!hWnd || m_hWnd || FromHandlePermanent(hWnd))
        return FALSE;
    m_hWnd = hWnd;
    BoundWindows()[hWnd] = this;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND h = m_hWnd;
    if (h) {
        auto it = BoundWindows().find(h);
        if (it != BoundWindows().end() && it->second == this)
            BoundWindows().erase(it);
    }
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC old = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWndProc)));
    if (!old) {
        Detach();
        return FALSE;
    }
    // Subclassing twice would make the window call itself forever.
    if (old != &CWnd::StaticWndProc)
        m_pfnSuper = old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    HWND hCtl = ::GetDlgItem(pParent->m_hWnd, int(nID));
    return hCtl ? SubclassWindow(hCtl) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    if (m_hWnd && m_pfnSuper &&
        reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC)) == &CWnd::StaticWndProc)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

void CWnd::HookWindow(HWND hWnd) {
    if (!Attach(hWnd))
        return;
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWndProc)));
}

CWnd::CreationScope::CreationScope(CWnd* pWnd, LPCSTR pszClass)
    : hHook(::SetWindowsHookExA(WH_CBT, &CWnd::CreationHook, nullptr, ::GetCurrentThreadId())),
      pPrevious(g_pWndInit), pszPreviousClass(g_pszInitClass) {
    g_pWndInit = pWnd;
    g_pszInitClass = pszClass;
}

CWnd::CreationScope::~CreationScope() {
    if (hHook)
        ::UnhookWindowsHookEx(hHook);
    g_pWndInit = pPrevious;
    g_pszInitClass = pszPreviousClass;
}

LRESULT CALLBACK CWnd::CreationHook(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HCBT_CREATEWND && g_pWndInit) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        char className[64] = "";
        ::GetClassNameA(hWnd, className, sizeof className);
        // Other windows may be made on the way (an input-method window, say): take only the one
        // of the class being created.
        if (!g_pszInitClass || lstrcmpiA(className, g_pszInitClass) == 0) {
            CWnd* p = g_pWndInit;
            g_pWndInit = nullptr;
            p->HookWindow(hWnd);
        }
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
    if (m_hWnd)
        return FALSE;
    HINSTANCE hInst = AfxGetInstanceHandle();
    if (!lpszClassName) {
        WNDCLASSA wc{};
        if (!::GetClassInfoA(hInst, kWindowClass, &wc)) {
            wc.style = CS_DBLCLKS;
            wc.lpfnWndProc = ::DefWindowProcA;
            wc.hInstance = hInst;
            wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            wc.lpszClassName = kWindowClass;
            if (!::RegisterClassA(&wc))
                return FALSE;
        }
        lpszClassName = kWindowClass;
    }
    HWND hWnd;
    {
        CreationScope scope(this, HIWORD(reinterpret_cast<ULONG_PTR>(lpszClassName)) ? lpszClassName : nullptr);
        hWnd = ::CreateWindowExA(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, nWidth, nHeight,
                                 hWndParent, nIDorHMenu, hInst, lpParam);
    }
    if (!hWnd && m_hWnd)
        UnsubclassWindow();
    return hWnd != nullptr && m_hWnd == hWnd;
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* p = FromHandlePermanent(hWnd);
    if (!p)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    const MSG saved = p->m_msgCur;
    p->m_msgCur = MSG{hWnd, message, wParam, lParam, 0, {0, 0}};
    LRESULT result = 0;
    try {
        result = p->WindowProc(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into the system's code. A handler that failed has done nothing the user
        // asked for; the message counts as handled.
        result = 0;
    }
    if (message == WM_NCDESTROY) {
        if (FromHandlePermanent(hWnd) == p) {
            p->UnsubclassWindow();
            p->PostNcDestroy();
        }
        return result;
    }
    p->m_msgCur = saved;
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (DispatchMessageMap(message, wParam, lParam, &result))
        return result;
    if (message == WM_DRAWITEM) {
        const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (dis && dis->CtlType != ODT_MENU) {
            CWnd* pChild = FromHandlePermanent(dis->hwndItem);
            if (pChild && pChild->OnChildNotify(message, wParam, lParam, &result))
                return result;
        }
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() { return DefWindowProc(m_msgCur.message, m_msgCur.wParam, m_msgCur.lParam); }

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }

void CWnd::OnNcDestroy() {
    // The application's main window is gone: nobody may reach it through the application any more.
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this)
        pApp->m_pMainWnd = nullptr;
    Default();
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) { return reinterpret_cast<HBRUSH>(Default()); }

CWnd* CWnd::GetOwner() const {
    HWND h = ::GetWindow(m_hWnd, GW_OWNER);
    if (!h)
        h = ::GetParent(m_hWnd);
    return FromHandle(h);
}

void CWnd::GetWindowText(CString& rString) const {
    const int n = ::GetWindowTextLengthA(m_hWnd);
    LPSTR buffer = rString.GetBuffer(n + 1);
    ::GetWindowTextA(m_hWnd, buffer, n + 1);
    rString.ReleaseBuffer();
}

void CWnd::ClientToScreen(LPRECT lpRect) const {
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CWnd::ScreenToClient(LPRECT lpRect) const {
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    const DWORD style = GetStyle();
    HWND hCenter = pAlternateOwner ? pAlternateOwner->m_hWnd
                                   : (style & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    CRect rcArea;
    CRect rcCenter;
    if (style & WS_CHILD) {
        ::GetClientRect(hCenter, &rcArea);
        rcCenter = rcArea;
        ::MapWindowPoints(hCenter, nullptr, reinterpret_cast<LPPOINT>(&rcCenter), 2);
        ::MapWindowPoints(hCenter, nullptr, reinterpret_cast<LPPOINT>(&rcArea), 2);
    } else {
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        ::GetMonitorInfoA(::MonitorFromWindow(hCenter && ::IsWindowVisible(hCenter) ? hCenter : m_hWnd,
                                              MONITOR_DEFAULTTOPRIMARY),
                          &mi);
        rcArea = mi.rcWork;
        // An owner that cannot be seen is no reference: centre on the work area instead.
        if (hCenter && ::IsWindowVisible(hCenter) && !::IsIconic(hCenter))
            ::GetWindowRect(hCenter, &rcCenter);
        else
            rcCenter = rcArea;
    }
    int x = (rcCenter.left + rcCenter.right) / 2 - rcWindow.Width() / 2;
    int y = (rcCenter.top + rcCenter.bottom) / 2 - rcWindow.Height() / 2;
    if (x + rcWindow.Width() > rcArea.right)
        x = rcArea.right - rcWindow.Width();
    if (x < rcArea.left)
        x = rcArea.left;
    if (y + rcWindow.Height() > rcArea.bottom)
        y = rcArea.bottom - rcWindow.Height();
    if (y < rcArea.top)
        y = rcArea.top;
    if (style & WS_CHILD) {
        POINT pt = {x, y};
        ::ScreenToClient(hCenter, &pt);
        x = pt.x;
        y = pt.y;
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) {
    if (!lpszCaption) {
        CWinApp* pApp = AfxGetApp();
        lpszCaption = pApp ? pApp->m_pszAppName : nullptr;
    }
    return ::MessageBoxA(m_hWnd, lpszText, lpszCaption, nType);
}
