// Device contexts. A CDC made by CreateCompatibleDC deletes its DC; CPaintDC ends the paint and
// CClientDC/CWindowDC release theirs. Selections made through these classes are the caller's to undo.
#pragma once
#include "framework/GdiObject.h"
#include "framework/Types.h"

class CWnd;

class CDC {
public:
    CDC() noexcept = default;
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    BOOL Attach(HDC hDC) noexcept;
    HDC Detach() noexcept;
    BOOL CreateCompatibleDC(CDC* pDC) noexcept;
    BOOL DeleteDC() noexcept;
    HDC GetSafeHdc() const noexcept { return m_hDC; }
    operator HDC() const noexcept { return m_hDC; }
    BOOL IsPrinting() const noexcept { return m_bPrinting; }
    // A wrapper that lives as long as the process and never releases the handle.
    static CDC* FromHandle(HDC hDC);

    CGdiObject* SelectObject(CGdiObject* pObject);
    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);
    CGdiObject* SelectStockObject(int nIndex);
    CPalette* SelectPalette(CPalette* pPalette, BOOL bForceBackground);
    UINT RealizePalette() noexcept { return ::RealizePalette(m_hDC); }

    int SetStretchBltMode(int nMode) noexcept { return ::SetStretchBltMode(m_hDC, nMode); }
    int SetBkMode(int nMode) noexcept { return ::SetBkMode(m_hDC, nMode); }
    COLORREF SetBkColor(COLORREF cr) noexcept { return ::SetBkColor(m_hDC, cr); }
    COLORREF SetTextColor(COLORREF cr) noexcept { return ::SetTextColor(m_hDC, cr); }
    CPoint SetWindowOrg(int x, int y) noexcept;
    int GetClipBox(LPRECT lpRect) const noexcept { return ::GetClipBox(m_hDC, lpRect); }
    int GetDeviceCaps(int nIndex) const noexcept { return ::GetDeviceCaps(m_hDC, nIndex); }

    void FillRect(LPCRECT lpRect, CBrush* pBrush) noexcept { ::FillRect(m_hDC, lpRect, *pBrush); }
    void FillSolidRect(LPCRECT lpRect, COLORREF cr) noexcept;
    void FrameRect(LPCRECT lpRect, CBrush* pBrush) noexcept { ::FrameRect(m_hDC, lpRect, *pBrush); }
    CPoint MoveTo(int x, int y) noexcept;
    BOOL LineTo(int x, int y) noexcept { return ::LineTo(m_hDC, x, y); }
    int DrawText(LPCSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) noexcept {
        return ::DrawTextA(m_hDC, lpszString, nCount, lpRect, nFormat);
    }
    void DrawFocusRect(LPCRECT lpRect) noexcept { ::DrawFocusRect(m_hDC, lpRect); }
    BOOL DrawIcon(int x, int y, HICON hIcon) noexcept { return ::DrawIcon(m_hDC, x, y, hIcon); }
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) noexcept {
        return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC->m_hDC, xSrc, ySrc, dwRop);
    }
    COLORREF GetPixel(int x, int y) const noexcept { return ::GetPixel(m_hDC, x, y); }

    HDC m_hDC = nullptr;       // where output goes
    HDC m_hAttribDC = nullptr; // what attribute queries read; the same DC except while borrowing
    BOOL m_bPrinting = FALSE;
};

class CPaintDC : public CDC {
public:
    // Throws CResourceException when BeginPaint gives no DC.
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};

class CClientDC : public CDC {
public:
    // Throws CResourceException when the window's DC cannot be had.
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};

class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;

private:
    HWND m_hWnd;
};
