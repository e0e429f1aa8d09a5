// The bitmap-backed dialog made from test templates: erase into memory DCs, control colours,
// palette messages and the context menu.
#include "controls/BitmapDialog.h"
#include "ControlsTestIds.h"
#include "TestSupport.h"
#include "res/resource.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

namespace {

// The quadrant colours of the 440 x 440 test picture.
const COLORREF kTopLeft = RGB(200, 30, 30);
const COLORREF kTopRight = RGB(30, 200, 30);
const COLORREF kBottomLeft = RGB(30, 30, 200);
const COLORREF kBottomRight = RGB(220, 220, 40);
const COLORREF kMarker = RGB(255, 0, 255);

class CTestBitmapDialog : public CBitmapDialog {
public:
    using Script = std::function<void(CTestBitmapDialog&)>;
    CTestBitmapDialog(Script script, UINT nIDTemplate = IDD_TEST_POPUP, CWnd* pParent = nullptr)
        : CBitmapDialog(nIDTemplate, pParent), m_script(std::move(script)) {}

    using CBitmapDialog::m_dib;
    using CBitmapDialog::m_nBackgroundMode;

    // Makes the client area (the whole borderless window) this large, at this screen position.
    void Place(int x, int y, int cw, int ch) {
        ::SetWindowPos(m_hWnd, nullptr, x, y, cw, ch, SWP_NOZORDER | SWP_NOACTIVATE);
        CRect rc;
        GetClientRect(&rc);
        EXPECT_EQ(rc, CRect(0, 0, cw, ch));
    }

protected:
    BOOL OnInitDialog() override {
        CBitmapDialog::OnInitDialog();
        if (m_script)
            m_script(*this);
        EndDialog(IDOK);
        return TRUE;
    }

private:
    Script m_script;
};

// Runs the script inside the dialog's initialisation, then ends the dialog.
void WithDialog(CTestBitmapDialog::Script script, UINT nIDTemplate = IDD_TEST_POPUP,
                CWnd* pParent = nullptr) {
    // The test template holds a trackbar.
    static const bool s_commonControls = [] {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
        return ::InitCommonControlsEx(&icc) != FALSE;
    }();
    ASSERT_TRUE(s_commonControls);
    test::DrainQueue();
    bool ran = false;
    CTestBitmapDialog dlg(
        [&](CTestBitmapDialog& d) {
            ran = true;
            script(d);
        },
        nIDTemplate, pParent);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(ran);
    test::DrainQueue();
}

struct Draw {
    int x, y, cx, cy;
    bool operator==(const Draw& o) const { return x == o.x && y == o.y && cx == o.cx && cy == o.cy; }
};
std::ostream& operator<<(std::ostream& os, const Draw& d) {
    return os << "(" << d.x << "," << d.y << " " << d.cx << "x" << d.cy << ")";
}

// Every picture copy the dialog's CDib makes, in order; the copies still happen.
std::vector<Draw> g_draws;
test::ImportPatch* g_stretchPatch = nullptr;
int WINAPI RecordStretchDIBits(HDC hdc, int x, int y, int cx, int cy, int xs, int ys, int ws, int hs,
                               const void* bits, const BITMAPINFO* bmi, UINT usage, DWORD rop) {
    // The whole picture is copied every time.
    EXPECT_EQ(xs, 0);
    EXPECT_EQ(ys, 0);
    EXPECT_EQ(ws, bmi->bmiHeader.biWidth);
    EXPECT_EQ(hs, bmi->bmiHeader.biHeight);
    g_draws.push_back({x, y, cx, cy});
    return g_stretchPatch->original<decltype(&::StretchDIBits)>()(hdc, x, y, cx, cy, xs, ys, ws, hs, bits,
                                                                  bmi, usage, rop);
}

class RecordDraws {
public:
    RecordDraws() : m_patch("gdi32.dll", "StretchDIBits", reinterpret_cast<void*>(&RecordStretchDIBits)) {
        g_draws.clear();
        g_stretchPatch = &m_patch;
    }
    ~RecordDraws() { g_stretchPatch = nullptr; }

private:
    test::ImportPatch m_patch;
};

struct Pixel {
    int x, y;
    COLORREF colour;
};

TEST(BitmapDialogErase, LaysThePictureOutByMode) {
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const std::vector<Draw> tiles1000x500 = {{0, 0, 440, 440},   {440, 0, 440, 440},   {880, 0, 440, 440},
                                             {0, 440, 440, 440}, {440, 440, 440, 440}, {880, 440, 440, 440}};
    // The program's 440 x 440 background where draws are recorded; the test picture of the same size,
    // whose quadrants show orientation, where pixels are checked.
    struct Case {
        const char* name;
        UINT picture;
        int mode;
        int cw, ch;
        std::vector<Draw> draws;
        std::vector<Pixel> pixels;
    };
    // clang-format off
    const Case cases[] = {
        {"stretch: one draw over the whole client area",
         IDB_BACKGROUND, BackgroundStretch, 300, 200, {{0, 0, 300, 200}}, {}},
        {"stretch, whatever the size",
         IDB_BACKGROUND, BackgroundStretch, 501, 501, {{0, 0, 501, 501}}, {}},
        {"stretch: the picture the right way up",
         IDB_TEST_BACKGROUND, BackgroundStretch, 300, 200, {{0, 0, 300, 200}},
         {{0, 0, kTopLeft}, {299, 0, kTopRight}, {0, 199, kBottomLeft}, {299, 199, kBottomRight}}},
        {"centre in 300 x 200: negative origin",
         IDB_BACKGROUND, BackgroundCenter, 300, 200, {{-70, -120, 440, 440}}, {}},
        {"centre in 501 x 501",
         IDB_BACKGROUND, BackgroundCenter, 501, 501, {{30, 30, 440, 440}}, {}},
        {"centre: halves truncate toward zero",
         IDB_BACKGROUND, BackgroundCenter, 301, 201, {{-69, -119, 440, 440}}, {}},
        {"centre in 300 x 200: the picture's middle shows",
         IDB_TEST_BACKGROUND, BackgroundCenter, 300, 200, {{-70, -120, 440, 440}},
         {{149, 99, kTopLeft}, {150, 99, kTopRight}, {149, 100, kBottomLeft}, {150, 100, kBottomRight}}},
        {"centre in 501 x 501: the dialog's erase around it",
         IDB_TEST_BACKGROUND, BackgroundCenter, 501, 501, {{30, 30, 440, 440}},
         {{29, 29, face}, {30, 30, kTopLeft}, {469, 469, kBottomRight}, {470, 470, face}, {500, 0, face}}},
        {"tile 1000 x 500: row by row",
         IDB_BACKGROUND, BackgroundTile, 1000, 500, tiles1000x500, {}},
        {"tile: every copy at natural size",
         IDB_TEST_BACKGROUND, BackgroundTile, 1000, 500, tiles1000x500,
         {{0, 0, kTopLeft}, {439, 439, kBottomRight}, {440, 0, kTopLeft}, {999, 499, kTopLeft}}},
        {"any other mode tiles",
         IDB_BACKGROUND, 7, 1000, 500, tiles1000x500, {}},
        {"tile in an area smaller than the picture",
         IDB_BACKGROUND, BackgroundTile, 100, 50, {{0, 0, 440, 440}}, {}},
        {"tile with no height: nothing drawn",
         IDB_BACKGROUND, BackgroundTile, 100, 0, {}, {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WithDialog([&](CTestBitmapDialog& d) {
            ASSERT_TRUE(d.SetBitmap(c.picture, c.mode));
            d.Place(0, 0, c.cw, c.ch);
            test::Canvas canvas(std::max(c.cw, 1), std::max(c.ch, 1), kMarker);
            RecordDraws record;
            EXPECT_TRUE(::SendMessageA(d.m_hWnd, WM_ERASEBKGND, WPARAM(canvas.dc()), 0));
            EXPECT_EQ(g_draws, c.draws);
            for (const Pixel& p : c.pixels)
                EXPECT_EQ(test::ColourText(canvas.At(p.x, p.y)), test::ColourText(p.colour))
                    << p.x << "," << p.y;
        });
    }
}

TEST(BitmapDialogErase, WithoutAUsablePictureTheDialogErasesAsUsual) {
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    struct Case {
        const char* name;
        int mode;
        std::function<void(CTestBitmapDialog&)> prepare;
    } cases[] = {
        {"never loaded, tile", BackgroundTile, [](CTestBitmapDialog&) {}},
        {"never loaded, stretch", BackgroundStretch, [](CTestBitmapDialog&) {}},
        {"never loaded, centre", BackgroundCenter, [](CTestBitmapDialog&) {}},
        {"missing resource", BackgroundStretch,
         [](CTestBitmapDialog& d) { EXPECT_FALSE(d.SetBitmap(9999, BackgroundStretch)); }},
        // Tiling would never advance over a picture without extent.
        {"tiling a picture of width 0", BackgroundTile,
         [](CTestBitmapDialog& d) {
             ASSERT_TRUE(d.SetBitmap(IDB_TEST_BACKGROUND, BackgroundTile));
             d.m_dib.m_pBMI->bmiHeader.biWidth = 0;
         }},
        {"tiling a picture of negative height", 7,
         [](CTestBitmapDialog& d) {
             ASSERT_TRUE(d.SetBitmap(IDB_TEST_BACKGROUND, 7));
             d.m_dib.m_pBMI->bmiHeader.biHeight = -440;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WithDialog([&](CTestBitmapDialog& d) {
            d.m_nBackgroundMode = c.mode;
            c.prepare(d);
            d.Place(0, 0, 200, 100);
            test::Canvas canvas(200, 100, kMarker);
            RecordDraws record;
            EXPECT_TRUE(::SendMessageA(d.m_hWnd, WM_ERASEBKGND, WPARAM(canvas.dc()), 0));
            EXPECT_TRUE(g_draws.empty());
            EXPECT_EQ(test::ColourText(canvas.At(0, 0)), test::ColourText(face));
            EXPECT_EQ(test::ColourText(canvas.At(199, 99)), test::ColourText(face));
        });
    }
}

TEST(BitmapDialogErase, ModeIsStoredEvenWhenLoadingFails) {
    WithDialog([](CTestBitmapDialog& d) {
        ASSERT_TRUE(d.SetBitmap(IDB_TEST_BACKGROUND, BackgroundStretch));
        EXPECT_FALSE(d.SetBitmap(9999, BackgroundCenter));
        d.Place(0, 0, 500, 480);
        test::Canvas canvas(500, 480, kMarker);
        RecordDraws record;
        ::SendMessageA(d.m_hWnd, WM_ERASEBKGND, WPARAM(canvas.dc()), 0);
        // The earlier picture, centred.
        EXPECT_EQ(g_draws, (std::vector<Draw>{{30, 20, 440, 440}}));
    });
}

TEST(BitmapDialogErase, RealPaintShowsThePicture) {
    WithDialog([](CTestBitmapDialog& d) {
        ASSERT_TRUE(d.SetBitmap(IDB_TEST_BACKGROUND, BackgroundStretch));
        d.Place(100, 100, 220, 110);
        d.ShowWindow(SW_SHOWNA);
        ::RedrawWindow(d.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        test::Canvas screen(220, 110, kMarker);
        HDC hdc = ::GetDC(d.m_hWnd);
        ::BitBlt(screen.dc(), 0, 0, 220, 110, hdc, 0, 0, SRCCOPY);
        ::ReleaseDC(d.m_hWnd, hdc);
        EXPECT_EQ(test::ColourText(screen.At(2, 2)), test::ColourText(kTopLeft));
        EXPECT_EQ(test::ColourText(screen.At(217, 107)), test::ColourText(kBottomRight));
    });
}

struct ColourResult {
    HBRUSH brush;
    int bkMode;
};

ColourResult AskColours(CTestBitmapDialog& d, UINT message, HWND hControl) {
    test::Canvas canvas(4, 4, kMarker);
    ::SetBkMode(canvas.dc(), OPAQUE);
    auto brush =
        reinterpret_cast<HBRUSH>(::SendMessageA(d.m_hWnd, message, WPARAM(canvas.dc()), LPARAM(hControl)));
    return {brush, ::GetBkMode(canvas.dc())};
}

TEST(BitmapDialogColours, ButtonsAndStaticsAreTransparentOverThePicture) {
    WithDialog([](CTestBitmapDialog& d) {
        struct Case {
            const char* name;
            UINT message;
            HWND control;
            bool transparent;
        } cases[] = {
            {"push button", WM_CTLCOLORBTN, ::GetDlgItem(d.m_hWnd, IDC_TEST_BUTTON), true},
            {"static", WM_CTLCOLORSTATIC, ::GetDlgItem(d.m_hWnd, IDC_TEST_STATIC), true},
            {"trackbar", WM_CTLCOLORSTATIC, ::GetDlgItem(d.m_hWnd, IDC_TEST_TRACKBAR), false},
            {"edit", WM_CTLCOLOREDIT, ::GetDlgItem(d.m_hWnd, IDC_TEST_EDIT), false},
            {"the dialog itself", WM_CTLCOLORDLG, d.m_hWnd, false},
        };
        char trackbarClass[64] = "";
        ::GetClassNameA(cases[2].control, trackbarClass, sizeof trackbarClass);
        ASSERT_STREQ(trackbarClass, "msctls_trackbar32");

        std::vector<ColourResult> defaults;
        for (const Case& c : cases)
            defaults.push_back(AskColours(d, c.message, c.control));
        ASSERT_TRUE(d.SetBitmap(IDB_TEST_BACKGROUND, BackgroundStretch));
        for (size_t i = 0; i < std::size(cases); ++i) {
            SCOPED_TRACE(cases[i].name);
            EXPECT_NE(defaults[i].brush, nullptr);
            EXPECT_EQ(defaults[i].bkMode, OPAQUE) << "without a picture the colours are the dialog's";
            const ColourResult r = AskColours(d, cases[i].message, cases[i].control);
            if (cases[i].transparent) {
                EXPECT_EQ(r.brush, ::GetStockObject(NULL_BRUSH));
                EXPECT_EQ(r.bkMode, TRANSPARENT);
            } else {
                EXPECT_EQ(r.brush, defaults[i].brush);
                EXPECT_EQ(r.bkMode, OPAQUE);
            }
        }
    });
}

bool IsPaletteDisplay() {
    HDC screen = ::GetDC(nullptr);
    const bool palette = (::GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
    ::ReleaseDC(nullptr, screen);
    return palette;
}

// Another top-level window with a palette of its own, whose colours depend on the seed.
class PaletteRival {
public:
    explicit PaletteRival(int seed) {
        m_hWnd = ::CreateWindowExA(0, "STATIC", "rival", WS_POPUP, 700, 0, 40, 40, nullptr, nullptr, nullptr,
                                   nullptr);
        std::vector<BYTE> buffer(sizeof(LOGPALETTE) + 200 * sizeof(PALETTEENTRY));
        auto* lp = reinterpret_cast<LOGPALETTE*>(buffer.data());
        lp->palVersion = 0x300;
        lp->palNumEntries = 200;
        for (int i = 0; i < 200; ++i)
            lp->palPalEntry[i] = {BYTE(i + seed), BYTE(i / 2 + seed), BYTE(255 - i), 0};
        m_hPalette = ::CreatePalette(lp);
    }
    ~PaletteRival() {
        ::DestroyWindow(m_hWnd);
        ::DeleteObject(m_hPalette);
    }
    // Comes to the front and realises its palette there, taking entries of the system palette.
    UINT TakeOver() {
        ::ShowWindow(m_hWnd, SW_SHOW);
        ::SetForegroundWindow(m_hWnd);
        HDC dc = ::GetDC(m_hWnd);
        HPALETTE old = ::SelectPalette(dc, m_hPalette, FALSE);
        const UINT n = ::RealizePalette(dc);
        ::SelectPalette(dc, old, TRUE);
        ::ReleaseDC(m_hWnd, dc);
        return n;
    }
    HWND m_hWnd;

private:
    HPALETTE m_hPalette;
};

CRect UpdateRect(HWND h) {
    CRect rc;
    ::GetUpdateRect(h, &rc, FALSE);
    return rc;
}

// Shows the dialog in front, then loads the picture: a palette that was never realised yet.
void BringToFrontWithPicture(CTestBitmapDialog& d, int cw, int ch) {
    d.Place(0, 0, cw, ch);
    d.ShowWindow(SW_SHOW);
    ::SetForegroundWindow(d.m_hWnd);
    ASSERT_TRUE(d.SetBitmap(IDB_TEST_BACKGROUND, BackgroundStretch));
    ASSERT_NE(d.m_dib.m_pPalette, nullptr);
    ::ValidateRect(d.m_hWnd, nullptr);
}

TEST(BitmapDialogPalette, WithoutAPictureTheMessagesGoToTheDefaultProcessing) {
    WithDialog([&](CTestBitmapDialog& d) {
        d.Place(0, 0, 200, 100);
        d.ShowWindow(SW_SHOW);
        ::ValidateRect(d.m_hWnd, nullptr);
        EXPECT_EQ(::SendMessageA(d.m_hWnd, WM_QUERYNEWPALETTE, 0, 0), 0);
        PaletteRival rival(7);
        rival.TakeOver();
        ::SendMessageA(d.m_hWnd, WM_PALETTECHANGED, WPARAM(rival.m_hWnd), 0);
        EXPECT_TRUE(UpdateRect(d.m_hWnd).IsRectEmpty());
    });
}

TEST(BitmapDialogPalette, ActivationRepaintsOnlyWhenTheRealisationChangedColours) {
    WithDialog([&](CTestBitmapDialog& d) {
        BringToFrontWithPicture(d, 200, 100);
        const LRESULT first = ::SendMessageA(d.m_hWnd, WM_QUERYNEWPALETTE, 0, 0);
        if (IsPaletteDisplay()) {
            EXPECT_EQ(first, TRUE);
            EXPECT_EQ(UpdateRect(d.m_hWnd), CRect(0, 0, 200, 100)) << "the whole window is erased again";
        } else {
            // Without a palette device the realisation changes nothing.
            EXPECT_EQ(first, FALSE);
            EXPECT_TRUE(UpdateRect(d.m_hWnd).IsRectEmpty());
        }
        ::ValidateRect(d.m_hWnd, nullptr);
        EXPECT_EQ(::SendMessageA(d.m_hWnd, WM_QUERYNEWPALETTE, 0, 0), FALSE) << "already realised";
        EXPECT_TRUE(UpdateRect(d.m_hWnd).IsRectEmpty());
    });
}

TEST(BitmapDialogPalette, AnotherWindowTakingTheSystemPaletteRepaintsTheDialog) {
    if (!IsPaletteDisplay())
        GTEST_SKIP() << "needs an 8-bit display (the controls_palette test)";
    WithDialog([&](CTestBitmapDialog& d) {
        BringToFrontWithPicture(d, 200, 100);
        ASSERT_EQ(::SendMessageA(d.m_hWnd, WM_QUERYNEWPALETTE, 0, 0), TRUE);
        ::ValidateRect(d.m_hWnd, nullptr);
        // The platform tells every top-level window, the dialog included.
        PaletteRival rival(3);
        ASSERT_NE(rival.TakeOver(), 0u);
        EXPECT_EQ(UpdateRect(d.m_hWnd), CRect(0, 0, 200, 100));
    });
}

TEST(BitmapDialogPalette, ChangesByTheDialogOrItsControlsAreNotAnswered) {
    if (!IsPaletteDisplay())
        GTEST_SKIP() << "needs an 8-bit display (the controls_palette test)";
    enum Source { Self, Child, Nobody };
    struct Case {
        const char* name;
        Source source;
        bool repainted;
    } cases[] = {
        {"by the dialog itself", Self, false},
        {"by one of its controls", Child, false},
        {"by no window: realised, as for any other window", Nobody, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WithDialog([&](CTestBitmapDialog& d) {
            BringToFrontWithPicture(d, 200, 100);
            PaletteRival rival(int(c.source) * 5 + 11);
            rival.TakeOver();
            // A picture whose palette was never realised: realising it now would change entries.
            ASSERT_TRUE(d.SetBitmap(IDB_TEST_BACKGROUND, BackgroundStretch));
            ::ValidateRect(d.m_hWnd, nullptr);
            const HWND by[] = {d.m_hWnd, ::GetDlgItem(d.m_hWnd, IDC_TEST_BUTTON), nullptr};
            ::SendMessageA(d.m_hWnd, WM_PALETTECHANGED, WPARAM(by[c.source]), 0);
            if (c.repainted) {
                EXPECT_EQ(UpdateRect(d.m_hWnd), CRect(0, 0, 200, 100));
                return;
            }
            EXPECT_TRUE(UpdateRect(d.m_hWnd).IsRectEmpty());
            // The same change reported by another window is answered: the realisation was due.
            ::SendMessageA(d.m_hWnd, WM_PALETTECHANGED, WPARAM(rival.m_hWnd), 0);
            EXPECT_EQ(UpdateRect(d.m_hWnd), CRect(0, 0, 200, 100));
        });
    }
}

// The context menu as the menu window shows it: where it opened, then closed from a timer.
CRect g_menuRect;
bool g_menuSeen = false;
ULONGLONG g_menuDeadline = 0;

void CALLBACK WatchForMenu(HWND, UINT, UINT_PTR id, DWORD) {
    HWND menu = ::FindWindowA("#32768", nullptr);
    if (menu && ::IsWindowVisible(menu)) {
        ::GetWindowRect(menu, &g_menuRect);
        g_menuSeen = true;
    }
    if (g_menuSeen || ::GetTickCount64() > g_menuDeadline) {
        ::KillTimer(nullptr, id);
        ::EndMenu();
    }
}

// Sends WM_CONTEXTMENU and returns where the menu opened; the menu is closed again at once.
bool ShowContextMenu(HWND hDlg, LPARAM point, CRect* pRect) {
    g_menuSeen = false;
    g_menuDeadline = ::GetTickCount64() + 5000;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, &WatchForMenu);
    ::SendMessageA(hDlg, WM_CONTEXTMENU, WPARAM(hDlg), point);
    ::KillTimer(nullptr, timer);
    *pRect = g_menuRect;
    return g_menuSeen;
}

TEST(BitmapDialogMenu, OpensAtTheClickOrInsideTheClientAreaForTheKeyboard) {
    WithDialog([](CTestBitmapDialog& d) {
        d.Place(100, 200, 300, 200);
        d.ShowWindow(SW_SHOWNA);
        struct Case {
            const char* name;
            LPARAM point;
            POINT expected;
        } cases[] = {
            {"right click", MAKELPARAM(300, 400), {300, 400}},
            {"menu key", MAKELPARAM(-1, -1), {105, 205}},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            CRect rc;
            ASSERT_TRUE(ShowContextMenu(d.m_hWnd, c.point, &rc));
            EXPECT_EQ(rc.TopLeft(), c.expected);
        }
    });
}

// Records the menu notifications that reach the window.
class CMenuOwnerWnd : public CWnd {
public:
    int initMenuPopups = 0;
    LRESULT OnInitMenuPopup(WPARAM, LPARAM) {
        ++initMenuPopups;
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMenuOwnerWnd, CWnd)
ON_MESSAGE(WM_INITMENUPOPUP, OnInitMenuPopup)
END_MESSAGE_MAP()

TEST(BitmapDialogMenu, TheFirstNonChildWindowUpTheChainOwnsTheMenu) {
    test::DrainQueue();
    CMenuOwnerWnd top;
    ASSERT_TRUE(top.CreateEx(0, nullptr, "top", WS_POPUP | WS_VISIBLE, 50, 50, 400, 300, nullptr, nullptr));
    CMenuOwnerWnd middle;
    ASSERT_TRUE(
        middle.CreateEx(0, nullptr, "middle", WS_CHILD | WS_VISIBLE, 10, 10, 300, 200, top.m_hWnd, nullptr));
    WithDialog(
        [&](CTestBitmapDialog& d) {
            // A dialog that is a child of a child of a top-level window.
            ::SetParent(d.m_hWnd, middle.m_hWnd);
            ASSERT_EQ(::GetParent(d.m_hWnd), middle.m_hWnd);
            ASSERT_TRUE(d.GetStyle() & WS_CHILD);
            d.ShowWindow(SW_SHOWNA);
            CRect rc;
            ASSERT_TRUE(ShowContextMenu(d.m_hWnd, MAKELPARAM(120, 130), &rc));
        },
        IDD_TEST_CHILD, &middle);
    EXPECT_EQ(top.initMenuPopups, 1);
    EXPECT_EQ(middle.initMenuPopups, 0);
    middle.DestroyWindow();
    top.DestroyWindow();
}

} // namespace
