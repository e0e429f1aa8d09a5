#include "framework/GdiObject.h"
#include "framework/App.h"
#include "framework/DC.h"
#include "framework/HandleMap.h"

BOOL CGdiObject::Attach(HGDIOBJ hObject) noexcept {
    if (!hObject)
        return FALSE;
    if (m_hObject && m_hObject != hObject)
        DeleteObject();
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() noexcept {
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject() noexcept {
    if (!m_hObject)
        return FALSE;
    HGDIOBJ h = Detach();
    return ::DeleteObject(h);
}

namespace {
template <class T, class H> T* Temporary(H h) {
    return fw::TemporaryFor<T, H>(h, [](T& obj, H handle) { obj.m_hObject = handle; });
}
} // namespace

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) {
    if (!CreatePen(nPenStyle, nWidth, crColor))
        AfxThrowResourceException();
}
BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) noexcept {
    return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}
CPen* CPen::FromHandle(HPEN h) { return Temporary<CPen>(h); }

CBrush::CBrush(COLORREF crColor) {
    if (!CreateSolidBrush(crColor))
        AfxThrowResourceException();
}
BOOL CBrush::CreateSolidBrush(COLORREF crColor) noexcept { return Attach(::CreateSolidBrush(crColor)); }
CBrush* CBrush::FromHandle(HBRUSH h) { return Temporary<CBrush>(h); }

CFont* CFont::FromHandle(HFONT h) { return Temporary<CFont>(h); }

BOOL CBitmap::LoadBitmap(UINT nIDResource) noexcept {
    return LoadBitmap(MAKEINTRESOURCEA(nIDResource));
}
BOOL CBitmap::LoadBitmap(LPCSTR lpszResourceName) noexcept {
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), lpszResourceName));
}
BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) noexcept {
    return Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}
CBitmap* CBitmap::FromHandle(HBITMAP h) { return Temporary<CBitmap>(h); }

CPalette* CPalette::FromHandle(HPALETTE h) { return Temporary<CPalette>(h); }
