#include "TestSupport.h"
#include <gtest/gtest.h>
#include <cstdio>

namespace test {

Canvas::Canvas(int width, int height, COLORREF fill) : m_width(width), m_height(height) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    m_hDC = ::CreateCompatibleDC(screen);
    m_hBitmap = ::CreateDIBSection(screen, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ::ReleaseDC(nullptr, screen);
    m_pBits = static_cast<DWORD*>(bits);
    m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
    Fill(fill);
}

Canvas::~Canvas() {
    ::SelectObject(m_hDC, m_hOldBitmap);
    ::DeleteObject(m_hBitmap);
    ::DeleteDC(m_hDC);
}

void Canvas::Fill(COLORREF colour) {
    HBRUSH brush = ::CreateSolidBrush(colour);
    RECT rc = {0, 0, m_width, m_height};
    ::FillRect(m_hDC, &rc, brush);
    ::DeleteObject(brush);
}

COLORREF Canvas::At(int x, int y) const {
    ::GdiFlush();
    const DWORD p = m_pBits[y * m_width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

CRect Canvas::BoundsOf(COLORREF colour) const {
    CRect bounds(m_width, m_height, 0, 0);
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            if (At(x, y) == colour) {
                bounds.left = std::min<LONG>(bounds.left, x);
                bounds.top = std::min<LONG>(bounds.top, y);
                bounds.right = std::max<LONG>(bounds.right, x + 1);
                bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
            }
    return bounds.left < bounds.right ? bounds : CRect();
}

std::string Canvas::Diff(const Canvas& expected) const {
    int count = 0;
    std::string first;
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            if (At(x, y) != expected.At(x, y)) {
                if (count++ == 0)
                    first = "(" + std::to_string(x) + "," + std::to_string(y) + ") is " +
                            ColourText(At(x, y)) + ", expected " + ColourText(expected.At(x, y));
            }
    return count ? std::to_string(count) + " pixels differ, first " + first : "";
}

std::string ColourText(COLORREF c) {
    char text[32];
    std::snprintf(text, sizeof text, "RGB(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

ImportPatch::ImportPatch(const char* pszDll, const char* pszFunction, void* pReplacement) {
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* desc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); desc->Name;
         ++desc) {
        if (::lstrcmpiA(reinterpret_cast<const char*>(base + desc->Name), pszDll) != 0)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (::lstrcmpA(reinterpret_cast<const char*>(byName->Name), pszFunction) != 0)
                continue;
            m_pSlot = reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    if (!m_pSlot) {
        ADD_FAILURE() << pszDll << "!" << pszFunction << " is not imported";
        return;
    }
    DWORD oldProtect = 0;
    ::VirtualProtect(m_pSlot, sizeof(void*), PAGE_READWRITE, &oldProtect);
    m_pOriginal = *m_pSlot;
    *m_pSlot = pReplacement;
    ::VirtualProtect(m_pSlot, sizeof(void*), oldProtect, &oldProtect);
}

ImportPatch::~ImportPatch() {
    if (!m_pSlot)
        return;
    DWORD oldProtect = 0;
    ::VirtualProtect(m_pSlot, sizeof(void*), PAGE_READWRITE, &oldProtect);
    *m_pSlot = m_pOriginal;
    ::VirtualProtect(m_pSlot, sizeof(void*), oldProtect, &oldProtect);
}

void DrainQueue() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        // Paint requests stay queued until the window is painted: let them through.
        if (msg.message == WM_PAINT)
            ::DispatchMessageA(&msg);
    }
}

HostWindow::HostWindow(int x, int y, int width, int height, DWORD style) {
    EXPECT_TRUE(CreateEx(0, nullptr, "host", style, x, y, width, height, nullptr, nullptr));
}

HostWindow::~HostWindow() {
    if (m_hWnd)
        DestroyWindow();
}

} // namespace test
