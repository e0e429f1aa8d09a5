// Point, size and rectangle types over the Win32 structures, usable wherever the API takes them.
#pragma once
#include <windows.h>

class CSize : public SIZE {
public:
    CSize() noexcept { cx = cy = 0; }
    CSize(int x, int y) noexcept { cx = x; cy = y; }
    CSize(const SIZE& s) noexcept { cx = s.cx; cy = s.cy; }
    bool operator==(const SIZE& s) const noexcept { return cx == s.cx && cy == s.cy; }
    bool operator!=(const SIZE& s) const noexcept { return !(*this == s); }
};

class CPoint : public POINT {
public:
    CPoint() noexcept { x = y = 0; }
    CPoint(int ix, int iy) noexcept { x = ix; y = iy; }
    CPoint(const POINT& p) noexcept { x = p.x; y = p.y; }
    void Offset(int dx, int dy) noexcept { x += dx; y += dy; }
    bool operator==(const POINT& p) const noexcept { return x == p.x && y == p.y; }
    bool operator!=(const POINT& p) const noexcept { return !(*this == p); }
};

class CRect : public RECT {
public:
    CRect() noexcept { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) noexcept { left = l; top = t; right = r; bottom = b; }
    CRect(const RECT& r) noexcept { left = r.left; top = r.top; right = r.right; bottom = r.bottom; }
    CRect(POINT topLeft, SIZE size) noexcept
        : CRect(topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy) {}

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    CSize Size() const noexcept { return CSize(Width(), Height()); }
    CPoint TopLeft() const noexcept { return CPoint(left, top); }
    CPoint BottomRight() const noexcept { return CPoint(right, bottom); }
    CPoint CenterPoint() const noexcept { return CPoint((left + right) / 2, (top + bottom) / 2); }
    bool IsRectEmpty() const noexcept { return ::IsRectEmpty(this) != FALSE; }
    bool PtInRect(POINT p) const noexcept { return ::PtInRect(this, p) != FALSE; }
    void SetRect(int l, int t, int r, int b) noexcept { left = l; top = t; right = r; bottom = b; }
    void OffsetRect(int dx, int dy) noexcept { ::OffsetRect(this, dx, dy); }
    void InflateRect(int dx, int dy) noexcept { ::InflateRect(this, dx, dy); }
    void DeflateRect(int dx, int dy) noexcept { ::InflateRect(this, -dx, -dy); }
    bool operator==(const RECT& r) const noexcept { return ::EqualRect(this, &r) != FALSE; }
    bool operator!=(const RECT& r) const noexcept { return !(*this == r); }
    operator LPRECT() noexcept { return this; }
    operator LPCRECT() const noexcept { return this; }
};
