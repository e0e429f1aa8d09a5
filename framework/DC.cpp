#include "framework/DC.h"
#include "framework/HandleMap.h"
#include "framework/Wnd.h"

CDC::~CDC() { DeleteDC(); }

BOOL CDC::Attach(HDC hDC) noexcept {
    if (!hDC)
        return FALSE;
    m_hDC = m_hAttribDC = hDC;
    return TRUE;
}

HDC CDC::Detach() noexcept {
    HDC h = m_hDC;
    m_hDC = m_hAttribDC = nullptr;
    return h;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) noexcept {
    return Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr));
}

BOOL CDC::DeleteDC() noexcept {
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC hDC) {
    return fw::TemporaryFor<CDC, HDC>(hDC, [](CDC& dc, HDC h) { dc.m_hDC = dc.m_hAttribDC = h; });
}

// Selecting nothing selects nothing: a failed selection hands back null, and selecting that back is
// then harmless.
CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
    if (!pObject || !pObject->m_hObject)
        return nullptr;
    // The previous object's type is unknown here; a plain wrapper serves to select it back.
    HGDIOBJ old = ::SelectObject(m_hDC, pObject->m_hObject);
    return fw::TemporaryFor<CGdiObject, HGDIOBJ>(old, [](CGdiObject& o, HGDIOBJ h) { o.m_hObject = h; });
}
CPen* CDC::SelectObject(CPen* pPen) {
    if (!pPen || !pPen->m_hObject)
        return nullptr;
    return CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, pPen->m_hObject)));
}
CBrush* CDC::SelectObject(CBrush* pBrush) {
    if (!pBrush || !pBrush->m_hObject)
        return nullptr;
    return CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, pBrush->m_hObject)));
}
CFont* CDC::SelectObject(CFont* pFont) {
    if (!pFont || !pFont->m_hObject)
        return nullptr;
    return CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, pFont->m_hObject)));
}
CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    if (!pBitmap || !pBitmap->m_hObject)
        return nullptr;
    return CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, pBitmap->m_hObject)));
}
CGdiObject* CDC::SelectStockObject(int nIndex) {
    HGDIOBJ old = ::SelectObject(m_hDC, ::GetStockObject(nIndex));
    return fw::TemporaryFor<CGdiObject, HGDIOBJ>(old, [](CGdiObject& o, HGDIOBJ h) { o.m_hObject = h; });
}
CPalette* CDC::SelectPalette(CPalette* pPalette, BOOL bForceBackground) {
    if (!pPalette || !pPalette->m_hObject)
        return nullptr;
    HPALETTE hPal = static_cast<HPALETTE>(pPalette->m_hObject);
    return CPalette::FromHandle(::SelectPalette(m_hDC, hPal, bForceBackground));
}

CPoint CDC::SetWindowOrg(int x, int y) noexcept {
    POINT old{};
    ::SetWindowOrgEx(m_hDC, x, y, &old);
    return old;
}

CPoint CDC::MoveTo(int x, int y) noexcept {
    POINT old{};
    ::MoveToEx(m_hDC, x, y, &old);
    return old;
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF cr) noexcept {
    HBRUSH brush = ::CreateSolidBrush(cr);
    if (brush) {
        ::FillRect(m_hDC, lpRect, brush);
        ::DeleteObject(brush);
    }
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) {
    if (!Attach(::BeginPaint(m_hWnd, &m_ps)))
        AfxThrowResourceException();
}
CPaintDC::~CPaintDC() {
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
    if (!Attach(::GetDC(m_hWnd)))
        AfxThrowResourceException();
}
CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
    if (!Attach(::GetWindowDC(m_hWnd)))
        AfxThrowResourceException();
}
CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }
