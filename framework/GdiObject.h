// GDI objects that own their handle: the destructor deletes what the object holds.
#pragma once
#include "framework/Exception.h"

class CGdiObject {
public:
    CGdiObject() noexcept = default;
    virtual ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    BOOL Attach(HGDIOBJ hObject) noexcept;
    HGDIOBJ Detach() noexcept;
    // Deletes the held object (stock objects are left alone by GDI); FALSE when none was held.
    BOOL DeleteObject() noexcept;
    HGDIOBJ GetSafeHandle() const noexcept { return m_hObject; }
    int GetObject(int nCount, LPVOID lpObject) const noexcept { return ::GetObjectA(m_hObject, nCount, lpObject); }
    BOOL CreateStockObject(int nIndex) noexcept { return Attach(::GetStockObject(nIndex)); }

    HGDIOBJ m_hObject = nullptr;
};

class CPen : public CGdiObject {
public:
    CPen() noexcept = default;
    // Throws CResourceException when GDI cannot make the pen.
    CPen(int nPenStyle, int nWidth, COLORREF crColor);
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor) noexcept;
    operator HPEN() const noexcept { return static_cast<HPEN>(m_hObject); }
    static CPen* FromHandle(HPEN hPen);
};

class CBrush : public CGdiObject {
public:
    CBrush() noexcept = default;
    // Throws CResourceException when GDI cannot make the brush.
    explicit CBrush(COLORREF crColor);
    BOOL CreateSolidBrush(COLORREF crColor) noexcept;
    operator HBRUSH() const noexcept { return static_cast<HBRUSH>(m_hObject); }
    static CBrush* FromHandle(HBRUSH hBrush);
};

class CFont : public CGdiObject {
public:
    operator HFONT() const noexcept { return static_cast<HFONT>(m_hObject); }
    static CFont* FromHandle(HFONT hFont);
};

class CBitmap : public CGdiObject {
public:
    BOOL LoadBitmap(UINT nIDResource) noexcept;
    BOOL LoadBitmap(LPCSTR lpszResourceName) noexcept;
    BOOL CreateCompatibleBitmap(class CDC* pDC, int nWidth, int nHeight) noexcept;
    int GetBitmap(BITMAP* pBitMap) const noexcept { return GetObject(sizeof(BITMAP), pBitMap); }
    operator HBITMAP() const noexcept { return static_cast<HBITMAP>(m_hObject); }
    static CBitmap* FromHandle(HBITMAP hBitmap);
};

class CPalette : public CGdiObject {
public:
    BOOL CreatePalette(LPLOGPALETTE lpLogPalette) noexcept { return Attach(::CreatePalette(lpLogPalette)); }
    operator HPALETTE() const noexcept { return static_cast<HPALETTE>(m_hObject); }
    static CPalette* FromHandle(HPALETTE hPalette);
};
