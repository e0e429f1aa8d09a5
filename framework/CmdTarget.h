// Message maps: each class that handles messages declares DECLARE_MESSAGE_MAP() and defines a table
// between BEGIN_MESSAGE_MAP(Class, Base) and END_MESSAGE_MAP(). A table chains to its base class's
// table; dispatch walks from the most derived table up and calls the first entry that matches.
// Entries are typed: each macro names the handler, and a small thunk template cracks the message
// parameters into the handler's arguments.
#pragma once
#include <windows.h>
#include "framework/Types.h"

class CCmdTarget;
class CWnd;
class CDC;

using MsgThunk = LRESULT (*)(CCmdTarget* pTarget, UINT nMsg, WPARAM wParam, LPARAM lParam);

struct CMessageMapEntry {
    UINT nMessage; // window message, or WM_COMMAND with a notification code and id range
    UINT nCode;    // notification code of WM_COMMAND entries
    UINT nIdFirst; // control or command id range of WM_COMMAND entries
    UINT nIdLast;
    MsgThunk pfnThunk; // null ends the table
};

struct CMessageMap {
    const CMessageMap* (*pfnGetBaseMap)();
    const CMessageMapEntry* pEntries;
};

class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // Finds the entry for the message in this object's table chain; calls it and stores its result.
    bool DispatchMessageMap(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

protected:
    static const CMessageMap* GetThisMessageMap();
    virtual const CMessageMap* GetMessageMap() const;
};

#define DECLARE_MESSAGE_MAP()                                                                              \
protected:                                                                                                 \
    static const CMessageMap* GetThisMessageMap();                                                         \
    const CMessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                             \
    const CMessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); }                     \
    const CMessageMap* theClass::GetThisMessageMap() {                                                     \
        using ThisClass [[maybe_unused]] = theClass;                                                       \
        using TheBaseClass = baseClass;                                                                    \
        static const CMessageMapEntry s_entries[] = {

#define END_MESSAGE_MAP()                                                                                  \
    {0, 0, 0, 0, nullptr}                                                                                  \
    }                                                                                                      \
    ;                                                                                                      \
    static const CMessageMap s_map = {&TheBaseClass::GetThisMessageMap, s_entries};                       \
    return &s_map;                                                                                         \
    }

namespace fw {
// Wrappers that live as long as the process, for handles met in message parameters.
CWnd* WndFromHandle(HWND hWnd);
CDC* DCFromHandle(HDC hDC);

template <class T> T* Self(CCmdTarget* p) { return static_cast<T*>(p); }
inline int LowSigned(LPARAM l) { return int(short(LOWORD(l))); }
inline int HighSigned(LPARAM l) { return int(short(HIWORD(l))); }
inline CPoint PointFromLParam(LPARAM l) { return CPoint(LowSigned(l), HighSigned(l)); }

template <class T, void (T::*F)()> LRESULT Void(CCmdTarget* p, UINT, WPARAM, LPARAM) {
    (Self<T>(p)->*F)();
    return 0;
}
template <class T, void (T::*F)(UINT, CPoint)> LRESULT FlagsPoint(CCmdTarget* p, UINT, WPARAM w, LPARAM l) {
    (Self<T>(p)->*F)(UINT(w), PointFromLParam(l));
    return 0;
}
template <class T, BOOL (T::*F)(CDC*)> LRESULT EraseBkgnd(CCmdTarget* p, UINT, WPARAM w, LPARAM) {
    return (Self<T>(p)->*F)(DCFromHandle(reinterpret_cast<HDC>(w)));
}
template <class T, HBRUSH (T::*F)(CDC*, CWnd*, UINT)> LRESULT CtlColor(CCmdTarget* p, UINT m, WPARAM w, LPARAM l) {
    return reinterpret_cast<LRESULT>((Self<T>(p)->*F)(DCFromHandle(reinterpret_cast<HDC>(w)),
                                                      WndFromHandle(reinterpret_cast<HWND>(l)),
                                                      m - WM_CTLCOLORMSGBOX));
}
template <class T, BOOL (T::*F)()> LRESULT Bool(CCmdTarget* p, UINT, WPARAM, LPARAM) { return (Self<T>(p)->*F)(); }
template <class T, void (T::*F)(CWnd*)> LRESULT WndW(CCmdTarget* p, UINT, WPARAM w, LPARAM) {
    (Self<T>(p)->*F)(WndFromHandle(reinterpret_cast<HWND>(w)));
    return 0;
}
template <class T, void (T::*F)(CWnd*)> LRESULT WndL(CCmdTarget* p, UINT, WPARAM, LPARAM l) {
    (Self<T>(p)->*F)(WndFromHandle(reinterpret_cast<HWND>(l)));
    return 0;
}
template <class T, void (T::*F)(CWnd*, CPoint)> LRESULT ContextMenu(CCmdTarget* p, UINT, WPARAM w, LPARAM l) {
    (Self<T>(p)->*F)(WndFromHandle(reinterpret_cast<HWND>(w)), PointFromLParam(l));
    return 0;
}
template <class T, HCURSOR (T::*F)()> LRESULT QueryDragIcon(CCmdTarget* p, UINT, WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>((Self<T>(p)->*F)());
}
template <class T, void (T::*F)(UINT_PTR)> LRESULT Timer(CCmdTarget* p, UINT, WPARAM w, LPARAM) {
    (Self<T>(p)->*F)(UINT_PTR(w));
    return 0;
}
template <class T, BOOL (T::*F)(CWnd*, UINT, UINT)> LRESULT SetCursor(CCmdTarget* p, UINT, WPARAM w, LPARAM l) {
    return (Self<T>(p)->*F)(WndFromHandle(reinterpret_cast<HWND>(w)), LOWORD(l), HIWORD(l));
}
template <class T, int (T::*F)(LPCREATESTRUCTA)> LRESULT Create(CCmdTarget* p, UINT, WPARAM, LPARAM l) {
    return (Self<T>(p)->*F)(reinterpret_cast<LPCREATESTRUCTA>(l));
}
template <class T, void (T::*F)(UINT, int, int)> LRESULT Size(CCmdTarget* p, UINT, WPARAM w, LPARAM l) {
    (Self<T>(p)->*F)(UINT(w), LowSigned(l), HighSigned(l));
    return 0;
}
template <class T, LRESULT (T::*F)(WPARAM, LPARAM)> LRESULT Raw(CCmdTarget* p, UINT, WPARAM w, LPARAM l) {
    return (Self<T>(p)->*F)(w, l);
}
} // namespace fw

#define FW_MSG_ENTRY(msg, thunk) {msg, 0, 0, 0, thunk},

#define ON_WM_MOUSEMOVE() FW_MSG_ENTRY(WM_MOUSEMOVE, (&fw::FlagsPoint<ThisClass, &ThisClass::OnMouseMove>))
#define ON_WM_LBUTTONDOWN() FW_MSG_ENTRY(WM_LBUTTONDOWN, (&fw::FlagsPoint<ThisClass, &ThisClass::OnLButtonDown>))
#define ON_WM_LBUTTONUP() FW_MSG_ENTRY(WM_LBUTTONUP, (&fw::FlagsPoint<ThisClass, &ThisClass::OnLButtonUp>))
#define ON_WM_LBUTTONDBLCLK()                                                                              \
    FW_MSG_ENTRY(WM_LBUTTONDBLCLK, (&fw::FlagsPoint<ThisClass, &ThisClass::OnLButtonDblClk>))
#define ON_WM_ERASEBKGND() FW_MSG_ENTRY(WM_ERASEBKGND, (&fw::EraseBkgnd<ThisClass, &ThisClass::OnEraseBkgnd>))
#define ON_WM_CTLCOLOR()                                                                                   \
    FW_MSG_ENTRY(WM_CTLCOLORMSGBOX, (&fw::CtlColor<ThisClass, &ThisClass::OnCtlColor>))                     \
    FW_MSG_ENTRY(WM_CTLCOLOREDIT, (&fw::CtlColor<ThisClass, &ThisClass::OnCtlColor>))                       \
    FW_MSG_ENTRY(WM_CTLCOLORLISTBOX, (&fw::CtlColor<ThisClass, &ThisClass::OnCtlColor>))                    \
    FW_MSG_ENTRY(WM_CTLCOLORBTN, (&fw::CtlColor<ThisClass, &ThisClass::OnCtlColor>))                        \
    FW_MSG_ENTRY(WM_CTLCOLORDLG, (&fw::CtlColor<ThisClass, &ThisClass::OnCtlColor>))                        \
    FW_MSG_ENTRY(WM_CTLCOLORSCROLLBAR, (&fw::CtlColor<ThisClass, &ThisClass::OnCtlColor>))                  \
    FW_MSG_ENTRY(WM_CTLCOLORSTATIC, (&fw::CtlColor<ThisClass, &ThisClass::OnCtlColor>))
#define ON_WM_QUERYNEWPALETTE()                                                                            \
    FW_MSG_ENTRY(WM_QUERYNEWPALETTE, (&fw::Bool<ThisClass, &ThisClass::OnQueryNewPalette>))
#define ON_WM_PALETTECHANGED()                                                                             \
    FW_MSG_ENTRY(WM_PALETTECHANGED, (&fw::WndW<ThisClass, &ThisClass::OnPaletteChanged>))
#define ON_WM_CONTEXTMENU() FW_MSG_ENTRY(WM_CONTEXTMENU, (&fw::ContextMenu<ThisClass, &ThisClass::OnContextMenu>))
#define ON_WM_PAINT() FW_MSG_ENTRY(WM_PAINT, (&fw::Void<ThisClass, &ThisClass::OnPaint>))
#define ON_WM_QUERYDRAGICON()                                                                              \
    FW_MSG_ENTRY(WM_QUERYDRAGICON, (&fw::QueryDragIcon<ThisClass, &ThisClass::OnQueryDragIcon>))
#define ON_WM_TIMER() FW_MSG_ENTRY(WM_TIMER, (&fw::Timer<ThisClass, &ThisClass::OnTimer>))
#define ON_WM_CAPTURECHANGED()                                                                             \
    FW_MSG_ENTRY(WM_CAPTURECHANGED, (&fw::WndL<ThisClass, &ThisClass::OnCaptureChanged>))
#define ON_WM_SETCURSOR() FW_MSG_ENTRY(WM_SETCURSOR, (&fw::SetCursor<ThisClass, &ThisClass::OnSetCursor>))
#define ON_WM_KILLFOCUS() FW_MSG_ENTRY(WM_KILLFOCUS, (&fw::WndW<ThisClass, &ThisClass::OnKillFocus>))
#define ON_WM_SETFOCUS() FW_MSG_ENTRY(WM_SETFOCUS, (&fw::WndW<ThisClass, &ThisClass::OnSetFocus>))
#define ON_WM_CREATE() FW_MSG_ENTRY(WM_CREATE, (&fw::Create<ThisClass, &ThisClass::OnCreate>))
#define ON_WM_DESTROY() FW_MSG_ENTRY(WM_DESTROY, (&fw::Void<ThisClass, &ThisClass::OnDestroy>))
#define ON_WM_NCDESTROY() FW_MSG_ENTRY(WM_NCDESTROY, (&fw::Void<ThisClass, &ThisClass::OnNcDestroy>))
#define ON_WM_CLOSE() FW_MSG_ENTRY(WM_CLOSE, (&fw::Void<ThisClass, &ThisClass::OnClose>))
#define ON_WM_SIZE() FW_MSG_ENTRY(WM_SIZE, (&fw::Size<ThisClass, &ThisClass::OnSize>))
#define ON_MESSAGE(msg, memberFn) FW_MSG_ENTRY(msg, (&fw::Raw<ThisClass, &ThisClass::memberFn>))

// WM_COMMAND from a control or menu item. BN_CLICKED is 0, the code menus and accelerators send too.
#define ON_CONTROL(code, id, memberFn) {WM_COMMAND, UINT(code), UINT(id), UINT(id), (&fw::Void<ThisClass, &ThisClass::memberFn>)},
#define ON_COMMAND(id, memberFn) ON_CONTROL(0, id, memberFn)
#define ON_BN_CLICKED(id, memberFn) ON_CONTROL(BN_CLICKED, id, memberFn)
