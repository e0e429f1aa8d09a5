// Helpers of the controls tests: a pixel canvas, an import-table recorder, queue draining and a
// parent window for controls.
#pragma once
#include "framework/Afx.h"
#include <ostream>
#include <string>

// Rectangles and points in test failures.
inline std::ostream& operator<<(std::ostream& os, const RECT& r) {
    return os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}
inline std::ostream& operator<<(std::ostream& os, const POINT& p) {
    return os << "(" << p.x << "," << p.y << ")";
}

namespace test {

// A 32-bit top-down DIB section selected into a memory DC, for reading pixels exactly.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return m_hDC; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    void Fill(COLORREF colour);
    COLORREF At(int x, int y) const;
    // The smallest rectangle holding every pixel of the colour; empty when there is none.
    CRect BoundsOf(COLORREF colour) const;
    // "" when both hold the same pixels, else where and how they first differ.
    std::string Diff(const Canvas& expected) const;

private:
    int m_width;
    int m_height;
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOldBitmap;
    DWORD* m_pBits;
};

// Points one entry of this program's import table at a replacement while the object lives, so calls
// the controls make to a system function can be recorded. original() calls the real function.
class ImportPatch {
public:
    ImportPatch(const char* pszDll, const char* pszFunction, void* pReplacement);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;
    template <class F> F original() const { return reinterpret_cast<F>(m_pOriginal); }

private:
    void** m_pSlot = nullptr;
    void* m_pOriginal = nullptr;
};

// Drops whatever is queued for this thread, the quit message included; pending paints are done.
void DrainQueue();

// A plain top-level window through the class library, borderless, at a given screen rectangle; it
// passes owner-draw requests to its controls' objects.
class HostWindow : public CWnd {
public:
    HostWindow(int x, int y, int width, int height, DWORD style = WS_POPUP | WS_VISIBLE);
    ~HostWindow() override;
};

std::string ColourText(COLORREF c);

} // namespace test
