// BMP files exchanged with ImageMagick. magick_interop.py writes ImageMagick's files and their pixels
// (raw RGB, top row first) into <folder>/in before this program runs; this program reads them, and
// writes its own files with their expected pixels into <folder>/out, which the script then has
// ImageMagick read back. Without --magick-dir these tests are skipped.
#include "tests/win/imaging/DibTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace dibtest;

namespace {

const int kBitDepths[] = {1, 4, 8, 24};
const int kWidths[] = {1, 3, 33, 165};
const int kHeight = 20; // as the script makes them

std::string Name(const char* prefix, int nBits, int nWidth) {
    return std::string(prefix) + "_" + std::to_string(nBits) + "_" + std::to_string(nWidth);
}

class DibMagick : public ::testing::Test {
protected:
    void SetUp() override {
        if (g_strMagickDir.empty())
            GTEST_SKIP() << "no --magick-dir given";
        ::CreateDirectoryA(Out("").c_str(), nullptr);
    }
    static std::string In(const std::string& file) { return g_strMagickDir + "/in/" + file; }
    static std::string Out(const std::string& file) { return g_strMagickDir + "/out/" + file; }

    // Records a written file and its expected pixels for the script.
    static void Expect(const std::string& stem, const Bytes& rgb) {
        WriteBytes(Out(stem + ".rgb"), rgb);
        std::ofstream list(Out("written.txt"), std::ios::app);
        list << stem << ".bmp\n";
    }
};

Bytes Pixels(const CDib& dib) {
    Bytes rgb;
    for (int y = 0; y < dib.GetHeight(); ++y) {
        for (int x = 0; x < dib.GetWidth(); ++x) {
            const Rgb c = DibPixel(dib, x, y);
            rgb.insert(rgb.end(), {c.r, c.g, c.b});
        }
    }
    return rgb;
}

TEST_F(DibMagick, ImageMagickFilesReadWithTheirPixels) {
    for (int nBits : kBitDepths) {
        for (int nWidth : kWidths) {
            const std::string stem = Name("im", nBits, nWidth);
            SCOPED_TRACE(stem);
            const Bytes expected = ReadBytes(In(stem + ".rgb"));
            CDib dib;
            ASSERT_TRUE(dib.Load(In(stem + ".bmp").c_str()));
            EXPECT_EQ(dib.GetBitCount(), nBits);
            ASSERT_EQ(dib.GetWidth(), nWidth);
            ASSERT_EQ(dib.GetHeight(), kHeight);
            EXPECT_EQ(Pixels(dib), expected);

            // GDI draws the same pixels from what the CDib holds.
            CPixelTarget target(nWidth, kHeight);
            dib.Draw(target.DC(), 0, 0);
            for (int y = 0; y < kHeight; ++y) {
                for (int x = 0; x < nWidth; ++x) {
                    const BYTE* p = &expected[3 * size_t(y * nWidth + x)];
                    ASSERT_EQ(target.At(x, y), (Rgb{p[0], p[1], p[2]})) << x << "," << y;
                }
            }

            // Written again, for ImageMagick to read back.
            const std::string resaved = Name("resaved", nBits, nWidth);
            ASSERT_TRUE(dib.Save(Out(resaved + ".bmp").c_str()));
            Expect(resaved, expected);
        }
    }
}

TEST_F(DibMagick, PicturesMadeFromBitmapsAreWrittenForImageMagick) {
    // 32-bit bitmaps become 24-bit pictures.
    for (int nBits : {1, 4, 8, 24, 32}) {
        for (int nWidth : kWidths) {
            const std::string stem = Name("made", nBits, nWidth);
            SCOPED_TRACE(stem);
            CBitmap bitmap;
            bitmap.Attach(MakePatternBitmap(nBits, nWidth, kHeight));
            CClientDC dc(CWnd::FromHandle(::GetDesktopWindow()));
            CDib dib;
            ASSERT_TRUE(dib.CreateFromBitmap(&dc, &bitmap));
            Bytes expected;
            for (int y = 0; y < kHeight; ++y) {
                for (int x = 0; x < nWidth; ++x) {
                    const Rgb c = PatternColour(nBits, x, y);
                    expected.insert(expected.end(), {c.r, c.g, c.b});
                }
            }
            ASSERT_TRUE(dib.Save(Out(stem + ".bmp").c_str()));
            Expect(stem, expected);
        }
    }
}

} // namespace
