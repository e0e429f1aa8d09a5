// CDib with real GDI: conversion from bitmaps and resources, the palette, and drawing into a memory DC.
#include "tests/win/imaging/DibTestSupport.h"

#include "res/resource.h"

#include <gtest/gtest.h>

using namespace dibtest;

namespace {

// The screen's context, as LoadFromResource uses it.
class CScreenDC : public CClientDC {
public:
    CScreenDC() : CClientDC(CWnd::FromHandle(::GetDesktopWindow())) {}
};

int PaletteSize(CPalette* pPalette) {
    return ::GetPaletteEntries(static_cast<HPALETTE>(pPalette->m_hObject), 0, 0, nullptr);
}

// Fills a CDib from a pattern bitmap of the given depth.
void MakeFromPattern(CDib& dib, int nBits, int nWidth, int nHeight) {
    CBitmap bitmap;
    bitmap.Attach(MakePatternBitmap(nBits, nWidth, nHeight));
    CScreenDC dc;
    ASSERT_TRUE(dib.CreateFromBitmap(&dc, &bitmap));
}

TEST(DibResource, Bitmap140IsThe440By440EightBitBackground) {
    CDib dib;
    ASSERT_TRUE(dib.LoadFromResource(MAKEINTRESOURCEA(IDB_BACKGROUND)));
    EXPECT_EQ(dib.GetWidth(), 440);
    EXPECT_EQ(dib.GetHeight(), 440);
    EXPECT_EQ(dib.GetBitCount(), 8);
    EXPECT_EQ(dib.GetColorTableEntries(), 256);
    EXPECT_EQ(dib.GetNumColors(), 256u);
    EXPECT_EQ(dib.GetBitmapInfo()->bmiHeader.biSizeImage, 193600u);
    EXPECT_EQ(BlockSize(dib.GetBits()), 193600u);
    EXPECT_EQ(BlockSize(dib.GetBitmapInfo()), 40u + 1024u);
    ASSERT_NE(dib.m_pPalette, nullptr);
    EXPECT_EQ(PaletteSize(dib.m_pPalette), 256);
    EXPECT_FALSE(dib.m_bFromFile);
    EXPECT_EQ(static_cast<void*>(dib.GetColorTable()), reinterpret_cast<BYTE*>(dib.GetBitmapInfo()) + 40);
}

TEST(DibResource, AMissingResourceKeepsThePictureDrawing) {
    CDib dib;
    ASSERT_TRUE(dib.LoadFromResource(MAKEINTRESOURCEA(IDB_BACKGROUND)));
    CPixelTarget before(440, 440);
    dib.Draw(before.DC(), 0, 0);
    BITMAPINFO* pBMI = dib.GetBitmapInfo();
    BYTE* pBits = dib.GetBits();
    CDibPalette* pPalette = dib.m_pPalette;

    EXPECT_FALSE(dib.LoadFromResource(MAKEINTRESOURCEA(9999)));
    EXPECT_EQ(dib.GetBitmapInfo(), pBMI);
    EXPECT_EQ(dib.GetBits(), pBits);
    EXPECT_EQ(dib.m_pPalette, pPalette);
    CPixelTarget after(440, 440);
    dib.Draw(after.DC(), 0, 0);
    for (int y = 0; y < 440; y += 7) {
        for (int x = 0; x < 440; x += 11)
            ASSERT_EQ(after.At(x, y), before.At(x, y)) << x << "," << y;
    }
}

TEST(DibConvert, EveryBitmapDepthGivesItsBitCountTableAndBlocks) {
    struct Case {
        int nBits, nWidth, nHeight;
        WORD wBitCount;
        WORD wEntries;
        size_t nPixelBlock, nHeaderBlock;
        DWORD dwSizeImage;
        int nPaletteSize; // 0: no palette
    };
    const Case cases[] = {
        {1, 33, 10, 1, 2, 360, 48, 80, 2},
        {4, 33, 10, 4, 16, 360, 104, 200, 16},
        {8, 165, 45, 8, 256, 7560, 1064, 7560, 256},
        {16, 10, 10, 24, 0, 320, 40, 320, 0},
        {24, 10, 10, 24, 0, 320, 40, 320, 0},
        {32, 10, 10, 24, 0, 320, 40, 320, 0},
        {24, 3, 2, 24, 0, 24, 40, 24, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.nBits) + "-bit " + std::to_string(c.nWidth) + "x" +
                     std::to_string(c.nHeight));
        CDib dib;
        MakeFromPattern(dib, c.nBits, c.nWidth, c.nHeight);
        EXPECT_EQ(dib.GetBitCount(), c.wBitCount);
        EXPECT_EQ(dib.GetColorTableEntries(), c.wEntries);
        EXPECT_EQ(BlockSize(dib.GetBits()), c.nPixelBlock);
        EXPECT_EQ(BlockSize(dib.GetBitmapInfo()), c.nHeaderBlock);
        const BITMAPINFOHEADER& bih = dib.GetBitmapInfo()->bmiHeader;
        EXPECT_EQ(bih.biSize, 40u);
        EXPECT_EQ(bih.biWidth, c.nWidth);
        EXPECT_EQ(bih.biHeight, c.nHeight);
        EXPECT_EQ(bih.biPlanes, 1);
        EXPECT_EQ(bih.biCompression, DWORD(BI_RGB));
        EXPECT_EQ(bih.biSizeImage, c.dwSizeImage);
        EXPECT_EQ(bih.biClrUsed, 0u);
        EXPECT_FALSE(dib.m_bFromFile);
        if (c.nPaletteSize) {
            ASSERT_NE(dib.m_pPalette, nullptr);
            EXPECT_EQ(PaletteSize(dib.m_pPalette), c.nPaletteSize);
        } else {
            EXPECT_EQ(dib.m_pPalette, nullptr);
            EXPECT_FALSE(dib.MakePalette());
            EXPECT_EQ(dib.m_pPalette, nullptr);
        }
        // The rows hold the bitmap's pixels at the picture's own aligned row length.
        for (int y = 0; y < c.nHeight; ++y) {
            for (int x = 0; x < c.nWidth; ++x)
                ASSERT_EQ(DibPixel(dib, x, y), PatternColour(c.nBits, x, y)) << x << "," << y;
        }
    }
}

TEST(DibConvert, PaletteEntriesAreRedGreenBlueFromTheBlueGreenRedTable) {
    CDib dib;
    MakeFromPattern(dib, 8, 4, 4);
    RGBQUAD* pTable = dib.GetColorTable();
    pTable[5] = RGBQUAD{0x10, 0x20, 0x30, 0x77}; // blue, green, red, reserved
    ASSERT_TRUE(dib.MakePalette());
    PALETTEENTRY entries[256];
    ASSERT_EQ(::GetPaletteEntries(static_cast<HPALETTE>(dib.m_pPalette->m_hObject), 0, 256, entries), 256u);
    EXPECT_EQ(entries[5].peRed, 0x30);
    EXPECT_EQ(entries[5].peGreen, 0x20);
    EXPECT_EQ(entries[5].peBlue, 0x10);
    EXPECT_EQ(entries[5].peFlags, 0);
    for (int i = 0; i < 256; ++i) {
        if (i == 5)
            continue;
        const Rgb c = TableColour(i);
        ASSERT_EQ((Rgb{entries[i].peRed, entries[i].peGreen, entries[i].peBlue}), c) << "entry " << i;
    }
}

TEST(DibConvert, ColourCountDecidesThePaletteSizeWithinTheTable) {
    struct Case {
        int nBits;
        DWORD dwClrUsed;
        int nPaletteSize;
    };
    // A header block made from a bitmap holds exactly the entries its bit count implies.
    const Case cases[] = {{8, 16, 16}, {8, 0, 256}, {8, 300, 256}, {8, 0x12341234, 256},
                          {1, 0, 2},   {1, 200, 2}, {4, 0, 16},    {4, 17, 16}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.nBits) + " bits, biClrUsed " + std::to_string(c.dwClrUsed));
        CDib dib;
        MakeFromPattern(dib, c.nBits, 4, 4);
        dib.GetBitmapInfo()->bmiHeader.biClrUsed = c.dwClrUsed;
        EXPECT_EQ(dib.GetNumColors(), c.dwClrUsed ? c.dwClrUsed : DWORD(1) << c.nBits);
        ASSERT_TRUE(dib.MakePalette());
        EXPECT_EQ(PaletteSize(dib.m_pPalette), c.nPaletteSize);
    }
}

TEST(DibConvert, AFailedConversionEmptiesThePictureButKeepsThePalette) {
    CDib dib;
    MakeFromPattern(dib, 8, 4, 4);
    CDibPalette* pPalette = dib.m_pPalette;
    ASSERT_NE(pPalette, nullptr);

    CBitmap notABitmap; // no handle: GetDIBits copies nothing
    CScreenDC dc;
    EXPECT_FALSE(dib.CreateFromBitmap(&dc, &notABitmap));
    EXPECT_EQ(dib.GetBitmapInfo(), nullptr);
    EXPECT_EQ(dib.GetBits(), nullptr);
    EXPECT_EQ(dib.GetColorTable(), nullptr);
    EXPECT_EQ(dib.m_pPalette, pPalette);
    EXPECT_FALSE(dib.m_bFromFile);

    // Without a picture nothing is drawn, though the surviving palette is still selected and realised.
    CPixelTarget target(8, 8);
    dib.Stretch(target.DC(), 0, 0, 8, 8);
    const CRect rect(0, 0, 8, 8);
    EXPECT_EQ(dib.Paint(target.DC(), &rect, &rect), 0);
    EXPECT_EQ(target.At(0, 0), target.Fill());
    EXPECT_EQ(target.At(7, 7), target.Fill());
    EXPECT_EQ(::GetStretchBltMode(target.DC()->GetSafeHdc()), COLORONCOLOR);
}

TEST(DibConvert, EmptyCDibHasNoTableNoBitsAndNoPalette) {
    CDib dib;
    EXPECT_EQ(dib.GetBitmapInfo(), nullptr);
    EXPECT_EQ(dib.GetColorTable(), nullptr);
    EXPECT_EQ(dib.GetBits(), nullptr);
    EXPECT_EQ(dib.m_pPalette, nullptr);
    EXPECT_FALSE(dib.m_bFromFile);
    EXPECT_FALSE(dib.MakePalette());
    EXPECT_FALSE(dib.AlignRows());
    CPixelTarget target(4, 4);
    const CRect rect(0, 0, 4, 4);
    EXPECT_EQ(dib.Paint(target.DC(), &rect, &rect), 0);
    dib.Stretch(target.DC(), 0, 0, 4, 4);
    dib.Draw(target.DC(), 0, 0);
    EXPECT_EQ(target.At(0, 0), target.Fill());
}

// A 24-bit picture 120 wide and 440 high whose every pixel tells its own place.
class DibPaint : public ::testing::Test {
protected:
    void SetUp() override { MakeFromPattern(m_dib, 24, 120, 440); }
    CDib m_dib;
};

TEST_F(DibPaint, SourceRectangleBottomEdgeIsTheSourceOrigin) {
    struct Case {
        const char* name;
        CRect dest, src;
        int srcX, srcTopY; // picture pixel (top-down) that lands at dest's top-left corner
    };
    const Case cases[] = {
        // Origin y 0: the bottom 100 rows of the picture.
        {"whole picture as source", CRect(0, 0, 100, 100), CRect(0, 0, 440, 440), 0, 340},
        // Origin y 340: rows 0 to 99.
        {"top-left 100 x 100", CRect(0, 0, 100, 100), CRect(0, 0, 100, 100), 0, 0},
        // Origin x 10, y 320.
        {"offset source", CRect(0, 0, 100, 100), CRect(10, 20, 110, 120), 10, 20},
        {"offset destination", CRect(7, 3, 107, 103), CRect(10, 20, 110, 120), 10, 20},
        // The copy is as large as the destination: 50 x 30 from origin y 320 reaches up to row 90.
        {"destination smaller than source", CRect(5, 5, 55, 35), CRect(10, 20, 110, 120), 10, 90},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPixelTarget target(130, 130);
        EXPECT_GT(m_dib.Paint(target.DC(), &c.dest, &c.src), 0);
        for (int dy = 0; dy < c.dest.Height(); dy += 9) {
            for (int dx = 0; dx < c.dest.Width(); dx += 7) {
                ASSERT_EQ(target.At(c.dest.left + dx, c.dest.top + dy),
                          PatternColour(24, c.srcX + dx, c.srcTopY + dy))
                    << "destination offset " << dx << "," << dy;
            }
        }
        const int right = c.dest.right, bottom = c.dest.bottom;
        EXPECT_EQ(target.At(right - 1, bottom - 1),
                  PatternColour(24, c.srcX + c.dest.Width() - 1, c.srcTopY + c.dest.Height() - 1));
        EXPECT_EQ(target.At(right, c.dest.top), target.Fill());
        EXPECT_EQ(target.At(c.dest.left, bottom), target.Fill());
    }
}

TEST(DibDraw, DrawPutsThePictureAtNaturalSizeAndStretchScalesIt) {
    CDib dib;
    MakeFromPattern(dib, 8, 5, 3);
    CPixelTarget target(40, 40);
    dib.Draw(target.DC(), 10, 20);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(target.At(10 + x, 20 + y), PatternColour(8, x, y)) << x << "," << y;
    }
    EXPECT_EQ(target.At(9, 20), target.Fill());
    EXPECT_EQ(target.At(15, 20), target.Fill());
    EXPECT_EQ(target.At(10, 19), target.Fill());
    EXPECT_EQ(target.At(10, 23), target.Fill());

    CPixelTarget doubled(40, 40);
    dib.Stretch(doubled.DC(), 1, 2, 10, 6);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(doubled.At(1 + x, 2 + y), PatternColour(8, x / 2, y / 2)) << x << "," << y;
    }
    EXPECT_EQ(doubled.At(11, 2), doubled.Fill());
    EXPECT_EQ(doubled.At(1, 8), doubled.Fill());
    EXPECT_EQ(::GetStretchBltMode(doubled.DC()->GetSafeHdc()), COLORONCOLOR);
}

TEST(DibDraw, DrawingLeavesThePreviousPaletteSelected) {
    CDib dib;
    MakeFromPattern(dib, 8, 4, 4);
    CPixelTarget target(8, 8);
    HDC hdc = target.DC()->GetSafeHdc();
    HPALETTE hBefore = static_cast<HPALETTE>(::GetCurrentObject(hdc, OBJ_PAL));
    dib.Draw(target.DC(), 0, 0);
    EXPECT_EQ(::GetCurrentObject(hdc, OBJ_PAL), hBefore);
    const CRect rect(0, 0, 4, 4);
    dib.Paint(target.DC(), &rect, &rect);
    EXPECT_EQ(::GetCurrentObject(hdc, OBJ_PAL), hBefore);
}

TEST(DibDraw, DerivedOperationsAreCalledThroughTheVirtualTable) {
    class CRecordingDib : public CDib {
    public:
        void Stretch(CDC*, int x, int y, int cx, int cy) override {
            m_calls += "Stretch(" + Args(x, y, cx, cy) + ")";
        }
        BOOL Read(CFile*) override {
            m_calls += "Read";
            return TRUE;
        }
        BOOL Write(CFile*) override {
            m_calls += "Write";
            return TRUE;
        }
        static std::string Args(int a, int b, int c, int d) {
            return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + "," +
                   std::to_string(d);
        }
        std::string m_calls;
    };
    CTempFolder folder;
    WriteBytes(folder.Path("any.bmp"), Bytes{1, 2, 3});
    CRecordingDib dib;
    MakeFromPattern(dib, 24, 6, 4);
    CPixelTarget target(8, 8);
    dib.Draw(target.DC(), 1, 2);
    EXPECT_TRUE(dib.Load(folder.Path("any.bmp").c_str()));
    EXPECT_TRUE(dib.Save(folder.Path("out.bmp").c_str()));
    EXPECT_EQ(dib.m_calls, "Stretch(1,2,6,4)ReadWrite");
}

} // namespace
