// The icon push button and its off-screen context: pixel-exact drawing into memory DCs, the real
// owner-draw path, pointer tracking and the release of what it owns.
#include "controls/IconButton.h"
#include "controls/MemoryDC.h"
#include "ControlsTestIds.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kMarker = RGB(255, 0, 255);
// Set as the active background in the drawing tests, so that the active fill shows.
const COLORREF kActiveBack = RGB(250, 240, 200);

// The settings are fixed in the product; a test reaches them through a derived class.
class CTestIconButton : public CIconButton {
public:
    using CIconButton::m_bFlat;
    using CIconButton::m_bFlatBorder;
    using CIconButton::m_bFlatFocus;
    using CIconButton::m_bMouseOver;
    using CIconButton::m_bShowCaption;
    using CIconButton::m_crActiveBack;
    using CIconButton::m_hButtonCursor;
    using CIconButton::m_nIconAlign;
};

// A push button on a host window, bound to a CTestIconButton, with the GUI font.
struct ButtonOnHost {
    explicit ButtonOnHost(const char* caption, int width = 100, int height = 50, DWORD type = BS_PUSHBUTTON)
        : host(60, 60, 260, 160) {
        test::DrainQueue();
        hButton = ::CreateWindowExA(0, "BUTTON", caption, WS_CHILD | WS_VISIBLE | type, 10, 10, width, height,
                                    host.m_hWnd, reinterpret_cast<HMENU>(INT_PTR(1001)), nullptr, nullptr);
        ::SendMessageA(hButton, WM_SETFONT, WPARAM(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        button = std::make_unique<CTestIconButton>();
        EXPECT_TRUE(button->SubclassWindow(hButton));
    }
    ~ButtonOnHost() {
        ::ReleaseCapture();
        button.reset();
        host.DestroyWindow();
        test::DrainQueue();
    }

    // Paints the button into the canvas as its parent's WM_DRAWITEM would; the item fills the canvas
    // unless given.
    void Paint(test::Canvas& canvas, UINT state, CRect item = CRect()) {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_BUTTON;
        dis.CtlID = 1001;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = state;
        dis.hwndItem = hButton;
        dis.hDC = canvas.dc();
        dis.rcItem = item.IsRectEmpty() ? CRect(0, 0, canvas.width(), canvas.height()) : item;
        button->DrawItem(&dis);
    }

    test::HostWindow host;
    HWND hButton = nullptr;
    std::unique_ptr<CTestIconButton> button;
};

// The expected picture, painted from the border table with plain pixels.
class Expected : public test::Canvas {
public:
    Expected(int w, int h, COLORREF fill) : Canvas(w, h, fill) {}
    void Fill(const CRect& rc, COLORREF c) {
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                ::SetPixelV(dc(), x, y, c);
    }
    void Frame(const CRect& rc, COLORREF c) {
        Line(c, {rc.left, rc.top}, {rc.right, rc.top});
        Line(c, {rc.left, rc.bottom - 1}, {rc.right, rc.bottom - 1});
        Line(c, {rc.left, rc.top}, {rc.left, rc.bottom});
        Line(c, {rc.right - 1, rc.top}, {rc.right - 1, rc.bottom});
    }
    // Axis-aligned: includes the start point, excludes the end point.
    void Line(COLORREF c, POINT from, POINT to) {
        const int dx = (to.x > from.x) - (to.x < from.x);
        const int dy = (to.y > from.y) - (to.y < from.y);
        for (POINT p = from; p.x != to.x || p.y != to.y; p.x += dx, p.y += dy)
            ::SetPixelV(dc(), p.x, p.y, c);
    }
    void Polyline(int nSysColor, POINT a, POINT b, POINT c) {
        Line(::GetSysColor(nSysColor), a, b);
        Line(::GetSysColor(nSysColor), b, c);
    }
    void Focus(const CRect& rc) { ::DrawFocusRect(dc(), &rc); }
};

TEST(IconButtonDrawing, BordersFillAndFocusFollowTheStateTable) {
    const int W = 60, H = 40;
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    // The table can only be checked if its colours can be told apart.
    for (int c : {COLOR_BTNHIGHLIGHT, COLOR_3DLIGHT, COLOR_BTNSHADOW, COLOR_3DDKSHADOW})
        ASSERT_NE(::GetSysColor(c), face) << c;

    auto thinRaised = [](Expected& e, CRect r) {
        e.Polyline(COLOR_BTNHIGHLIGHT, {r.left, r.bottom - 1}, {r.left, r.top}, {r.right, r.top});
        e.Polyline(COLOR_BTNSHADOW, {r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1},
                   {r.right - 1, r.top - 1});
    };
    auto thinSunken = [](Expected& e, CRect r) {
        e.Polyline(COLOR_BTNSHADOW, {r.left, r.bottom - 1}, {r.left, r.top}, {r.right, r.top});
        e.Polyline(COLOR_BTNHIGHLIGHT, {r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1},
                   {r.right - 1, r.top - 1});
    };
    auto raised3d = [](Expected& e, CRect r) {
        const int L = r.left, T = r.top, R = r.right, B = r.bottom;
        e.Polyline(COLOR_BTNHIGHLIGHT, {L, B - 1}, {L, T}, {R, T});
        e.Polyline(COLOR_3DLIGHT, {L + 1, B - 1}, {L + 1, T + 1}, {R, T + 1});
        e.Polyline(COLOR_3DDKSHADOW, {L, B - 1}, {R - 1, B - 1}, {R - 1, T - 1});
        e.Polyline(COLOR_BTNSHADOW, {L + 1, B - 2}, {R - 2, B - 2}, {R - 2, T});
    };
    const CRect I(0, 0, W, H);
    const CRect inner(1, 1, W - 1, H - 1);

    struct Case {
        const char* name;
        UINT state;
        BOOL mouseOver, flat, flatBorder, flatFocus;
        std::function<void(Expected&)> paint;
    } cases[] = {
        {"flat at rest: face colour, no border", 0, FALSE, TRUE, TRUE, FALSE,
         [&](Expected& e) { e.Fill(I, face); }},
        {"flat hovered: active fill, thin raised", 0, TRUE, TRUE, TRUE, FALSE,
         [&](Expected& e) {
             e.Fill(I, kActiveBack);
             thinRaised(e, I);
         }},
        {"flat pressed, pointer elsewhere: thin sunken", ODS_SELECTED, FALSE, TRUE, TRUE, FALSE,
         [&](Expected& e) {
             e.Fill(I, kActiveBack);
             thinSunken(e, I);
         }},
        {"flat pressed and hovered: thin sunken", ODS_SELECTED, TRUE, TRUE, TRUE, FALSE,
         [&](Expected& e) {
             e.Fill(I, kActiveBack);
             thinSunken(e, I);
         }},
        {"flat pressed without flat border: none", ODS_SELECTED, FALSE, TRUE, FALSE, FALSE,
         [&](Expected& e) { e.Fill(I, kActiveBack); }},
        {"flat hovered without flat border: none", 0, TRUE, TRUE, FALSE, FALSE,
         [&](Expected& e) { e.Fill(I, kActiveBack); }},
        {"flat focused: no focus rectangle by default", ODS_FOCUS, FALSE, TRUE, TRUE, FALSE,
         [&](Expected& e) { e.Fill(I, face); }},
        {"flat focused with flat focus: rectangle 3 inside", ODS_FOCUS, FALSE, TRUE, TRUE, TRUE,
         [&](Expected& e) {
             e.Fill(I, face);
             e.Focus(CRect(3, 3, W - 3, H - 3));
         }},
        {"flat hovered and focused with flat focus", ODS_FOCUS, TRUE, TRUE, TRUE, TRUE,
         [&](Expected& e) {
             e.Fill(I, kActiveBack);
             thinRaised(e, I);
             e.Focus(CRect(3, 3, W - 3, H - 3));
         }},
        {"3-D at rest: four-line raised border", 0, FALSE, FALSE, TRUE, FALSE,
         [&](Expected& e) {
             e.Fill(I, face);
             raised3d(e, I);
         }},
        {"3-D pressed: shadow frame", ODS_SELECTED, FALSE, FALSE, TRUE, FALSE,
         [&](Expected& e) {
             e.Fill(I, kActiveBack);
             e.Frame(I, ::GetSysColor(COLOR_BTNSHADOW));
         }},
        {"3-D focused: black frame, raised border inside it, focus 4 inside", ODS_FOCUS, FALSE, FALSE, TRUE,
         FALSE,
         [&](Expected& e) {
             e.Frame(I, RGB(0, 0, 0));
             e.Fill(inner, face);
             raised3d(e, inner);
             e.Focus(CRect(4, 4, W - 4, H - 4));
         }},
        {"3-D pressed and focused", ODS_SELECTED | ODS_FOCUS, FALSE, FALSE, TRUE, FALSE,
         [&](Expected& e) {
             e.Frame(I, RGB(0, 0, 0));
             e.Fill(inner, kActiveBack);
             e.Frame(inner, ::GetSysColor(COLOR_BTNSHADOW));
             e.Focus(CRect(4, 4, W - 4, H - 4));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ButtonOnHost b("");
        b.button->m_crActiveBack = kActiveBack;
        b.button->m_bMouseOver = c.mouseOver;
        b.button->m_bFlat = c.flat;
        b.button->m_bFlatBorder = c.flatBorder;
        b.button->m_bFlatFocus = c.flatFocus;
        test::Canvas actual(W, H, kMarker);
        b.Paint(actual, c.state);
        Expected expected(W, H, kMarker);
        c.paint(expected);
        EXPECT_EQ(actual.Diff(expected), "");
    }
}

TEST(IconButtonDrawing, IconPlacementByAlignmentCaptionAndState) {
    struct Case {
        const char* name;
        int alignment;
        const char* caption;
        BOOL showCaption;
        UINT state;
        int width, height;
        CRect icon;           // where the 32 x 32 icon lands, clipped to the item
        CRect item = CRect(); // the whole canvas if empty
    };
    // clang-format off
    const Case cases[] = {
        {"left with caption: 3 from the left, centred vertically",
         alignLeft, "Go", TRUE, 0, 100, 50, {3, 9, 35, 41}},
        {"left without caption: centred",
         alignLeft, "", TRUE, 0, 100, 50, {34, 9, 66, 41}},
        {"left with a hidden caption: centred",
         alignLeft, "Go", FALSE, 0, 100, 50, {34, 9, 66, 41}},
        {"halves truncate",
         alignLeft, "", TRUE, 0, 101, 51, {34, 9, 66, 41}},
        // (21 - 32) / 2 is -5, not -6; the icon may reach beyond a small item.
        {"a narrow item truncates toward zero",
         alignLeft, "", TRUE, 0, 60, 60, {5, 14, 37, 46}, {10, 10, 31, 50}},
        {"above with caption: centred at the top",
         alignAbove, "Go", TRUE, 0, 100, 50, {34, 0, 66, 32}},
        {"above without caption: centred",
         alignAbove, "", TRUE, 0, 100, 50, {34, 9, 66, 41}},
        {"other alignment: top-left corner",
         7, "Go", TRUE, 0, 100, 50, {0, 0, 32, 32}},
        {"pressed moves one right and down",
         alignLeft, "Go", TRUE, ODS_SELECTED, 100, 50, {4, 10, 36, 42}},
        {"pressed, centred",
         alignAbove, "", TRUE, ODS_SELECTED, 100, 50, {35, 10, 67, 42}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ButtonOnHost b(c.caption, c.width, c.height);
        b.button->m_nIconAlign = IconAlign(c.alignment);
        b.button->m_bShowCaption = c.showCaption;
        b.button->SetIcon(IDI_TEST_RED, 0, 32, 32);
        test::Canvas canvas(c.width, c.height, kMarker);
        b.Paint(canvas, c.state, c.item);
        EXPECT_EQ(canvas.BoundsOf(kRed), c.icon);
    }
}

TEST(IconButtonDrawing, ActiveIconWhileHoveredOrPressedNormalIconAtRest) {
    struct Case {
        BOOL mouseOver;
        UINT state;
        COLORREF shown;
    } cases[] = {{FALSE, 0, kBlue}, {TRUE, 0, kRed}, {FALSE, ODS_SELECTED, kRed}, {FALSE, ODS_FOCUS, kBlue}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.mouseOver << "/" << c.state);
        ButtonOnHost b("");
        b.button->SetIcon(IDI_TEST_RED, IDI_TEST_BLUE, 32, 32);
        b.button->m_bMouseOver = c.mouseOver;
        test::Canvas canvas(100, 50, kMarker);
        b.Paint(canvas, c.state);
        EXPECT_EQ(canvas.BoundsOf(c.shown).Width(), 32);
        EXPECT_TRUE(canvas.BoundsOf(c.shown == kRed ? kBlue : kRed).IsRectEmpty());
    }
}

// What the caption should look like: the face colour, the icon if any, and the text at (x, y).
void PaintCaptionReference(test::Canvas& canvas, HWND hButton, const char* text, int x, int y,
                           CRect icon = CRect()) {
    canvas.Fill(::GetSysColor(COLOR_BTNFACE));
    if (!icon.IsRectEmpty()) {
        HBRUSH red = ::CreateSolidBrush(kRed);
        ::FillRect(canvas.dc(), &icon, red);
        ::DeleteObject(red);
    }
    HGDIOBJ old =
        ::SelectObject(canvas.dc(), reinterpret_cast<HGDIOBJ>(::SendMessageA(hButton, WM_GETFONT, 0, 0)));
    ::SetTextColor(canvas.dc(), ::GetSysColor(COLOR_BTNTEXT));
    ::SetBkColor(canvas.dc(), ::GetSysColor(COLOR_BTNFACE));
    CRect size;
    ::DrawTextA(canvas.dc(), text, -1, &size, DT_SINGLELINE | DT_CALCRECT);
    ::DrawStateA(canvas.dc(), nullptr, nullptr, LPARAM(text), 0, x, y, size.Width(), size.Height(),
                 DST_PREFIXTEXT);
    ::SelectObject(canvas.dc(), old);
}

CSize TextSize(HWND hButton, const char* text) {
    test::Canvas scratch(1, 1, 0);
    HGDIOBJ old =
        ::SelectObject(scratch.dc(), reinterpret_cast<HGDIOBJ>(::SendMessageA(hButton, WM_GETFONT, 0, 0)));
    CRect size;
    ::DrawTextA(scratch.dc(), text, -1, &size, DT_SINGLELINE | DT_CALCRECT);
    ::SelectObject(scratch.dc(), old);
    return size.Size();
}

TEST(IconButtonDrawing, CaptionIsCentredInWhatTheIconLeaves) {
    const char* text = "&Installeren";
    {
        SCOPED_TRACE("a caption 3 pixels too wide moves 1 pixel left, not 2");
        ButtonOnHost probe(text);
        const CSize ts = TextSize(probe.hButton, text);
        ButtonOnHost b(text, ts.cx - 3, ts.cy + 10);
        test::Canvas actual(ts.cx - 3, ts.cy + 10, kMarker);
        b.Paint(actual, 0);
        test::Canvas expected(ts.cx - 3, ts.cy + 10, kMarker);
        PaintCaptionReference(expected, b.hButton, text, -1, 5);
        EXPECT_EQ(actual.Diff(expected), "");
    }
    {
        SCOPED_TRACE("left alignment: the caption area starts at the icon's right edge");
        ButtonOnHost b(text, 160, 41);
        b.button->SetIcon(IDI_TEST_RED, 0, 32, 32);
        const CSize ts = TextSize(b.hButton, text);
        test::Canvas actual(160, 41, kMarker);
        b.Paint(actual, 0);
        test::Canvas expected(160, 41, kMarker);
        const int areaLeft = 3 + 32;
        PaintCaptionReference(expected, b.hButton, text, areaLeft + (160 - areaLeft - ts.cx) / 2,
                              (41 - ts.cy) / 2, CRect(3, 4, 35, 36));
        EXPECT_EQ(actual.Diff(expected), "");
    }
    {
        SCOPED_TRACE("above alignment: the caption is centred below the icon");
        ButtonOnHost b(text, 120, 70);
        b.button->m_nIconAlign = alignAbove;
        b.button->SetIcon(IDI_TEST_RED, 0, 32, 32);
        const CSize ts = TextSize(b.hButton, text);
        test::Canvas actual(120, 70, kMarker);
        b.Paint(actual, 0);
        test::Canvas expected(120, 70, kMarker);
        PaintCaptionReference(expected, b.hButton, text, (120 - ts.cx) / 2, 32 + (70 - 32 - ts.cy) / 2,
                              CRect(44, 0, 76, 32));
        EXPECT_EQ(actual.Diff(expected), "");
    }
}

TEST(IconButtonDrawing, PressedShiftsIconAndCaptionOnePixel) {
    ButtonOnHost b("Shift", 120, 44);
    b.button->SetIcon(IDI_TEST_RED, 0, 32, 32);
    // Without the flat border a pressed button differs from a resting one only by the shift.
    b.button->m_bFlatBorder = FALSE;
    test::Canvas rest(120, 44, kMarker);
    test::Canvas pressed(120, 44, kMarker);
    b.Paint(rest, 0);
    b.Paint(pressed, ODS_SELECTED);
    int differences = 0;
    for (int y = 1; y < 44; ++y)
        for (int x = 1; x < 120; ++x)
            differences += pressed.At(x, y) != rest.At(x - 1, y - 1);
    EXPECT_EQ(differences, 0);
    EXPECT_NE(rest.Diff(pressed), "") << "something is drawn";
}

TEST(IconButtonDrawing, DisabledDrawsIconAndCaptionEmbossed) {
    ButtonOnHost b("Off", 120, 44);
    b.button->SetIcon(IDI_TEST_RED, 0, 32, 32);
    test::Canvas enabled(120, 44, kMarker);
    test::Canvas disabled(120, 44, kMarker);
    b.Paint(enabled, 0);
    b.Paint(disabled, ODS_DISABLED);
    EXPECT_EQ(enabled.BoundsOf(kRed).Width(), 32);
    EXPECT_TRUE(disabled.BoundsOf(kRed).IsRectEmpty()) << "the icon is not drawn in its own colours";
    EXPECT_FALSE(enabled.BoundsOf(::GetSysColor(COLOR_BTNTEXT)).IsRectEmpty());
    EXPECT_TRUE(disabled.BoundsOf(::GetSysColor(COLOR_BTNTEXT)).IsRectEmpty())
        << "the caption is not drawn in the text colour";
    EXPECT_FALSE(disabled.BoundsOf(::GetSysColor(COLOR_BTNSHADOW)).IsRectEmpty()) << "but it is drawn";
}

// Which drawing calls reached which device context during a paint. The recorders pass each call on
// to the real function.
std::vector<std::pair<std::string, HDC>> g_drawCalls;
test::ImportPatch* g_bitBlt = nullptr;
test::ImportPatch* g_fillRect = nullptr;
test::ImportPatch* g_lineTo = nullptr;
test::ImportPatch* g_drawState = nullptr;

BOOL WINAPI RecordBitBlt(HDC hdc, int x, int y, int cx, int cy, HDC src, int x1, int y1, DWORD rop) {
    g_drawCalls.emplace_back("BitBlt", hdc);
    return g_bitBlt->original<decltype(&::BitBlt)>()(hdc, x, y, cx, cy, src, x1, y1, rop);
}
int WINAPI RecordFillRect(HDC hdc, const RECT* rc, HBRUSH br) {
    g_drawCalls.emplace_back("FillRect", hdc);
    return g_fillRect->original<decltype(&::FillRect)>()(hdc, rc, br);
}
BOOL WINAPI RecordLineTo(HDC hdc, int x, int y) {
    g_drawCalls.emplace_back("LineTo", hdc);
    return g_lineTo->original<decltype(&::LineTo)>()(hdc, x, y);
}
BOOL WINAPI RecordDrawStateA(HDC hdc, HBRUSH br, DRAWSTATEPROC fn, LPARAM l, WPARAM w, int x, int y, int cx,
                             int cy, UINT flags) {
    g_drawCalls.emplace_back("DrawStateA", hdc);
    return g_drawState->original<decltype(&::DrawStateA)>()(hdc, br, fn, l, w, x, y, cx, cy, flags);
}

TEST(IconButtonDrawing, EveryPaintReachesTheTargetInOneCopy) {
    ButtonOnHost b("Copy", 100, 40);
    b.button->SetIcon(IDI_TEST_RED, 0, 32, 32);
    b.button->m_bMouseOver = TRUE;
    test::Canvas target(100, 40, kMarker);
    g_drawCalls.clear();
    {
        test::ImportPatch bitBlt("gdi32.dll", "BitBlt", reinterpret_cast<void*>(&RecordBitBlt));
        test::ImportPatch fillRect("user32.dll", "FillRect", reinterpret_cast<void*>(&RecordFillRect));
        test::ImportPatch lineTo("gdi32.dll", "LineTo", reinterpret_cast<void*>(&RecordLineTo));
        test::ImportPatch drawState("user32.dll", "DrawStateA", reinterpret_cast<void*>(&RecordDrawStateA));
        g_bitBlt = &bitBlt;
        g_fillRect = &fillRect;
        g_lineTo = &lineTo;
        g_drawState = &drawState;
        b.Paint(target, ODS_FOCUS);
    }
    std::vector<std::string> onTarget;
    size_t offscreen = 0;
    for (const auto& call : g_drawCalls) {
        if (call.second == target.dc())
            onTarget.push_back(call.first);
        else
            ++offscreen;
    }
    EXPECT_EQ(onTarget, std::vector<std::string>{"BitBlt"});
    EXPECT_GE(offscreen, 4u) << "fill, border lines, icon and caption went to the off-screen context";
    EXPECT_EQ(target.BoundsOf(kRed).Width(), 32);
}

TEST(MemoryDC, DrawsInTargetCoordinatesAndCopiesOnlyTheClipBox) {
    test::Canvas target(80, 60, kMarker);
    ::IntersectClipRect(target.dc(), 10, 5, 50, 45);
    {
        CMemoryDC dc(CDC::FromHandle(target.dc()));
        CBrush blue(kBlue);
        CRect all(0, 0, 80, 60);
        dc.FillRect(&all, &blue);
        ::SetPixelV(dc, 10, 5, kRed);
        ::SetPixelV(dc, 49, 44, kGreen);
        EXPECT_EQ(target.At(20, 20), kMarker) << "nothing reaches the target before the end";
    }
    ::SelectClipRgn(target.dc(), nullptr);
    EXPECT_EQ(target.At(10, 5), kRed);
    EXPECT_EQ(target.At(49, 44), kGreen);
    EXPECT_EQ(target.At(30, 30), kBlue);
    const CRect clip(10, 5, 50, 45);
    int wrong = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x)
            wrong += clip.PtInRect(CPoint(x, y)) == (target.At(x, y) == kMarker);
    EXPECT_EQ(wrong, 0) << "exactly the clip box is copied";
}

TEST(IconButtonWindow, BecomesOwnerDrawnAndPaintsTheIconAtItsOwnSize) {
    for (DWORD type : {DWORD(BS_PUSHBUTTON), DWORD(BS_DEFPUSHBUTTON)}) {
        SCOPED_TRACE(type);
        ButtonOnHost b("Install", 120, 40, type);
        EXPECT_EQ(::GetWindowLongA(b.hButton, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
        // Drawn through the parent's WM_DRAWITEM before SetIcon returns.
        b.button->SetIcon(IDI_TEST_GREEN20, 0, 20, 20);
        test::Canvas screen(120, 40, kMarker);
        HDC hdc = ::GetDC(b.hButton);
        ::BitBlt(screen.dc(), 0, 0, 120, 40, hdc, 0, 0, SRCCOPY);
        ::ReleaseDC(b.hButton, hdc);
        EXPECT_EQ(screen.BoundsOf(kGreen), CRect(3, 10, 23, 30));
    }
}

struct TrackingStep {
    bool inside;
    UINT flags;
};

TEST(IconButtonTracking, PointerMovesTakeAndReleaseTheCapture) {
    struct Case {
        const char* name;
        BOOL flat;
        std::vector<TrackingStep> steps;
        bool captured;
        BOOL mouseOver;
    };
    // clang-format off
    const Case cases[] = {
        {"entering takes the capture", TRUE, {{true, 0}}, true, TRUE},
        {"moving inside keeps it", TRUE, {{true, 0}, {true, 0}}, true, TRUE},
        {"leaving releases it", TRUE, {{true, 0}, {false, 0}}, false, FALSE},
        {"arriving with the left button held starts nothing", TRUE, {{true, MK_LBUTTON}}, false, FALSE},
        {"dragging out ends the look but keeps the capture",
         TRUE, {{true, 0}, {false, MK_LBUTTON}}, true, FALSE},
        {"dragging back in while held starts nothing",
         TRUE, {{true, 0}, {false, MK_LBUTTON}, {true, MK_LBUTTON}}, true, FALSE},
        {"the 3-D look does not track", FALSE, {{true, 0}}, false, FALSE},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ButtonOnHost b("Track", 100, 40);
        b.button->m_bFlat = c.flat;
        for (const TrackingStep& s : c.steps)
            ::SendMessageA(b.hButton, WM_MOUSEMOVE, s.flags,
                           s.inside ? MAKELPARAM(50, 20) : MAKELPARAM(150, 20));
        EXPECT_EQ(::GetCapture() == b.hButton, c.captured);
        EXPECT_EQ(b.button->m_bMouseOver, c.mouseOver);
    }
}

bool HasUpdateRegion(HWND h) {
    return ::GetUpdateRect(h, nullptr, FALSE) != FALSE;
}

TEST(IconButtonTracking, FocusLossEndsTheHoverLookAndKeepsTheCapture) {
    ButtonOnHost b("Focus", 100, 40);
    HWND other = ::CreateWindowExA(0, "BUTTON", "other", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 80, 60,
                                   20, b.host.m_hWnd, nullptr, nullptr, nullptr);
    ::SetFocus(b.hButton);
    ::SendMessageA(b.hButton, WM_MOUSEMOVE, 0, MAKELPARAM(50, 20));
    ASSERT_TRUE(b.button->m_bMouseOver);
    ::ValidateRect(b.hButton, nullptr);
    ::SetFocus(other);
    EXPECT_FALSE(b.button->m_bMouseOver);
    EXPECT_EQ(::GetCapture(), b.hButton);
    EXPECT_TRUE(HasUpdateRegion(b.hButton)) << "repainted in the resting look";
}

TEST(IconButtonTracking, CaptureLossKeepsTheHoverLookAndReleases) {
    ButtonOnHost b("Capture", 100, 40);
    ::SendMessageA(b.hButton, WM_MOUSEMOVE, 0, MAKELPARAM(50, 20));
    ASSERT_EQ(::GetCapture(), b.hButton);
    ::ValidateRect(b.hButton, nullptr);
    ::SetCapture(b.host.m_hWnd);
    EXPECT_TRUE(b.button->m_bMouseOver);
    EXPECT_TRUE(HasUpdateRegion(b.hButton));
    // The button's ReleaseCapture runs after the host has taken the capture, so it ends the host's.
    EXPECT_EQ(::GetCapture(), nullptr);
}

HCURSOR g_destroyedCursor = nullptr;
std::vector<HICON> g_destroyedIcons;
test::ImportPatch* g_destroyIconPatch = nullptr;
test::ImportPatch* g_destroyCursorPatch = nullptr;

BOOL WINAPI RecordDestroyIcon(HICON h) {
    g_destroyedIcons.push_back(h);
    return g_destroyIconPatch->original<decltype(&::DestroyIcon)>()(h);
}
BOOL WINAPI RecordDestroyCursor(HCURSOR h) {
    g_destroyedCursor = h;
    return g_destroyCursorPatch->original<decltype(&::DestroyCursor)>()(h);
}

// A cursor of the test's own, which the button may destroy.
HCURSOR HandCursorCopy() {
    return reinterpret_cast<HCURSOR>(
        ::CopyIcon(reinterpret_cast<HICON>(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649))))); // IDC_HAND
}

TEST(IconButtonLifetime, DestructorReleasesEachIconOnceAndTheCursor) {
    test::ImportPatch destroyIcon("user32.dll", "DestroyIcon", reinterpret_cast<void*>(&RecordDestroyIcon));
    test::ImportPatch destroyCursor("user32.dll", "DestroyCursor",
                                    reinterpret_cast<void*>(&RecordDestroyCursor));
    g_destroyIconPatch = &destroyIcon;
    g_destroyCursorPatch = &destroyCursor;
    struct Case {
        const char* name;
        UINT normal;
        size_t released;
    } cases[] = {{"one icon for both states is released once", 0, 1},
                 {"two icons, each once", IDI_TEST_BLUE, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_destroyedIcons.clear();
        g_destroyedCursor = nullptr;
        HCURSOR cursor = HandCursorCopy();
        {
            ButtonOnHost b("Own");
            b.button->SetIcon(IDI_TEST_RED, c.normal, 32, 32);
            b.button->m_hButtonCursor = cursor;
            ASSERT_TRUE(g_destroyedIcons.empty());
        }
        ASSERT_EQ(g_destroyedIcons.size(), c.released);
        if (c.released == 2) {
            EXPECT_NE(g_destroyedIcons[0], g_destroyedIcons[1]);
        }
        for (HICON h : g_destroyedIcons) {
            ICONINFO info{};
            EXPECT_FALSE(::GetIconInfo(h, &info)) << "the handle is gone";
        }
        EXPECT_EQ(g_destroyedCursor, cursor);
    }
    g_destroyedIcons.clear();
    {
        ButtonOnHost b("Twice");
        b.button->SetIcon(IDI_TEST_RED, IDI_TEST_BLUE, 32, 32);
        b.button->SetIcon(IDI_TEST_RED, 0, 32, 32);
        EXPECT_EQ(g_destroyedIcons.size(), 2u) << "a second SetIcon releases the icons of the first";
    }
    EXPECT_EQ(g_destroyedIcons.size(), 3u);
    g_destroyIconPatch = g_destroyCursorPatch = nullptr;
}

TEST(IconButtonWindow, OwnCursorIsShownOverTheButton) {
    ButtonOnHost b("Cursor");
    const LPARAM hit = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    HCURSOR arrow = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    ::SetCursor(nullptr);
    ::SendMessageA(b.hButton, WM_SETCURSOR, WPARAM(b.hButton), hit);
    EXPECT_EQ(::GetCursor(), arrow) << "without a cursor of its own the control's processing decides";

    HCURSOR hand = HandCursorCopy();
    b.button->m_hButtonCursor = hand;
    EXPECT_EQ(::SendMessageA(b.hButton, WM_SETCURSOR, WPARAM(b.hButton), hit), TRUE);
    EXPECT_EQ(::GetCursor(), hand);
}

} // namespace
