// CDib reading and writing BMP files through CFile, including files made to break the reader.
#include "tests/win/imaging/DibTestSupport.h"

#include "res/resource.h"
#include "tests/host/imaging/BmpTestFiles.h"

#include <gtest/gtest.h>

#include <functional>

using namespace dibtest;
using namespace bmptest;

namespace {

void MakeFromPattern(CDib& dib, int nBits, int nWidth, int nHeight) {
    CBitmap bitmap;
    bitmap.Attach(MakePatternBitmap(nBits, nWidth, nHeight));
    CClientDC dc(CWnd::FromHandle(::GetDesktopWindow()));
    ASSERT_TRUE(dib.CreateFromBitmap(&dc, &bitmap));
}

int PaletteSize(CPalette* pPalette) {
    return ::GetPaletteEntries(static_cast<HPALETTE>(pPalette->m_hObject), 0, 0, nullptr);
}

class DibFile : public ::testing::Test {
public:
    std::string Path(const std::string& name) const { return m_folder.Path(name); }
    std::string Put(const std::string& name, const Bytes& bytes) {
        WriteBytes(Path(name), bytes);
        return Path(name);
    }

private:
    CTempFolder m_folder;
};

TEST_F(DibFile, WrittenFilesHaveTheSizesAndFieldsOfTheirPictures) {
    struct Case {
        const char* name;
        std::function<void(CDib&)> fill;
        DWORD dwOffBits, dwRowBytes, dwFileSize;
    };
    DibFile* self = this;
    const Case cases[] = {
        {"bitmap 140", [](CDib& d) { ASSERT_TRUE(d.LoadFromResource(MAKEINTRESOURCEA(IDB_BACKGROUND))); },
         1078, 440, 194678},
        {"8-bit 165 x 45 read from a file",
         [self](CDib& d) {
             ASSERT_TRUE(d.Load(self->Put("in.bmp", MakeBmpFile(Picture{165, 45, 8})).c_str()));
         },
         1078, 168, 8638},
        {"8-bit 165 x 45 from a bitmap", [](CDib& d) { MakeFromPattern(d, 8, 165, 45); }, 1078, 168, 8638},
        {"24-bit 10 x 10", [](CDib& d) { MakeFromPattern(d, 24, 10, 10); }, 54, 32, 374},
        {"1-bit 33 x 10", [](CDib& d) { MakeFromPattern(d, 1, 33, 10); }, 62, 8, 142},
        {"4-bit 3 x 5", [](CDib& d) { MakeFromPattern(d, 4, 3, 5); }, 118, 4, 138},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDib dib;
        c.fill(dib);
        ASSERT_NE(dib.GetBits(), nullptr);
        const BITMAPINFOHEADER held = dib.GetBitmapInfo()->bmiHeader;
        const WORD wEntries = dib.GetColorTableEntries();
        const Bytes heldTable(reinterpret_cast<BYTE*>(dib.GetColorTable()),
                              reinterpret_cast<BYTE*>(dib.GetColorTable()) + 4 * wEntries);
        const Bytes heldRows(dib.GetBits(), dib.GetBits() + c.dwRowBytes * held.biHeight);

        ASSERT_TRUE(dib.Save(Path("out.bmp").c_str()));
        const Bytes f = ReadBytes(Path("out.bmp"));
        ASSERT_EQ(f.size(), c.dwFileSize);
        EXPECT_EQ(LE16(f, kAtType), 0x4D42);
        EXPECT_EQ(LE32(f, kAtSize), c.dwFileSize);
        EXPECT_EQ(LE32(f, kAtReserved1), 0u);
        EXPECT_EQ(LE32(f, kAtOffBits), c.dwOffBits);
        EXPECT_EQ(LE32(f, kAtInfoSize), 40u);
        EXPECT_EQ(int32_t(LE32(f, kAtWidth)), held.biWidth);
        EXPECT_EQ(int32_t(LE32(f, kAtHeight)), held.biHeight);
        EXPECT_EQ(LE16(f, kAtBitCount), held.biBitCount);
        EXPECT_EQ(LE32(f, kAtSizeImage), 0u);
        EXPECT_EQ(LE32(f, kAtClrUsed), held.biClrUsed);
        EXPECT_EQ(dib.GetBitmapInfo()->bmiHeader.biSizeImage, 0u);
        EXPECT_TRUE(std::equal(heldTable.begin(), heldTable.end(), f.begin() + 54));
        // The rows go out exactly as held: none is moved, whatever the picture came from.
        EXPECT_TRUE(std::equal(heldRows.begin(), heldRows.end(), f.begin() + c.dwOffBits));
        EXPECT_TRUE(std::equal(heldRows.begin(), heldRows.end(), dib.GetBits()));

        // Written twice, the file is the same.
        ASSERT_TRUE(dib.Save(Path("again.bmp").c_str()));
        EXPECT_EQ(ReadBytes(Path("again.bmp")), f);
    }
}

TEST_F(DibFile, APictureFromABitmapReadsBackWithTheSamePixels) {
    for (int nBits : {1, 4, 8, 24}) {
        SCOPED_TRACE(std::to_string(nBits) + " bits");
        CDib made;
        MakeFromPattern(made, nBits, 33, 7);
        ASSERT_TRUE(made.Save(Path("made.bmp").c_str()));
        CDib read;
        ASSERT_TRUE(read.Load(Path("made.bmp").c_str()));
        for (int y = 0; y < 7; ++y) {
            for (int x = 0; x < 33; ++x)
                ASSERT_EQ(DibPixel(read, x, y), PatternColour(nBits, x, y)) << x << "," << y;
        }
    }
}

TEST_F(DibFile, ASuccessfulReadLeavesTheWholeHeaderAreaThePixelArrayAndAPalette) {
    const Bytes file = MakeBmpFile(Picture{5, 3, 8});
    CDib dib;
    MakeFromPattern(dib, 24, 2, 2); // a previous picture without a palette
    ASSERT_TRUE(dib.Load(Put("a.bmp", file).c_str()));
    EXPECT_TRUE(dib.m_bFromFile);
    EXPECT_EQ(BlockSize(dib.GetBitmapInfo()), 1064u);
    EXPECT_EQ(BlockSize(dib.GetBits()), 24u);
    EXPECT_TRUE(
        std::equal(file.begin() + 14, file.begin() + 1078, reinterpret_cast<BYTE*>(dib.GetBitmapInfo())));
    EXPECT_TRUE(std::equal(file.begin() + 1078, file.end(), dib.GetBits()));
    ASSERT_NE(dib.m_pPalette, nullptr);
    EXPECT_EQ(PaletteSize(dib.m_pPalette), 256);
    // Rows read from a file are not moved.
    const Bytes rows(dib.GetBits(), dib.GetBits() + 24);
    EXPECT_TRUE(dib.AlignRows());
    EXPECT_TRUE(std::equal(rows.begin(), rows.end(), dib.GetBits()));
}

TEST_F(DibFile, SixteenColoursInUse) {
    const Bytes file = MakeBmpFile(Picture{165, 45, 8, 16, 16});
    CDib dib;
    ASSERT_TRUE(dib.Load(Put("16.bmp", file).c_str()));
    ASSERT_NE(dib.m_pPalette, nullptr);
    EXPECT_EQ(PaletteSize(dib.m_pPalette), 16);
    // The table area holds the 16 entries and the 1,008 bytes after them (here the pixel array's start).
    EXPECT_TRUE(
        std::equal(file.begin() + 54, file.begin() + 1078, reinterpret_cast<BYTE*>(dib.GetColorTable())));

    ASSERT_TRUE(dib.Save(Path("out.bmp").c_str()));
    const Bytes out = ReadBytes(Path("out.bmp"));
    EXPECT_EQ(LE32(out, kAtOffBits), 1078u);
    EXPECT_EQ(LE32(out, kAtClrUsed), 16u);
    EXPECT_EQ(out.size(), 8638u);
    EXPECT_TRUE(std::equal(file.begin() + 54, file.begin() + 1078, out.begin() + 54));
}

TEST_F(DibFile, ColourCountAboveTheTableTakesAtMostTheEntriesHeld) {
    struct Case {
        uint16_t bitCount;
        uint32_t clrUsed;
        int nPaletteSize;
    };
    // A read holds room for 256 entries whatever the bit count.
    for (const Case& c :
         {Case{8, 0x12341234, 256}, Case{8, 257, 256}, Case{1, 300, 256}, Case{4, 100, 100}}) {
        SCOPED_TRACE(std::to_string(c.bitCount) + " bits, biClrUsed " + std::to_string(c.clrUsed));
        Bytes file = MakeBmpFile(Picture{5, 3, c.bitCount});
        Put32(file, kAtClrUsed, c.clrUsed);
        CDib dib;
        ASSERT_TRUE(dib.Load(Put("c.bmp", file).c_str()));
        EXPECT_EQ(dib.GetNumColors(), c.clrUsed);
        ASSERT_NE(dib.m_pPalette, nullptr);
        EXPECT_EQ(PaletteSize(dib.m_pPalette), c.nPaletteSize);
        CPixelTarget target(8, 8);
        dib.Draw(target.DC(), 0, 0);
    }
}

TEST_F(DibFile, ColourTableAreaIsZeroWhereTheFileEndsFirst) {
    const Bytes file = MakeBmpFile(Picture{3, 2, 24}); // 78 bytes: the area gets 24 bytes of pixels
    CDib dib;
    ASSERT_TRUE(dib.Load(Put("short.bmp", file).c_str()));
    const BYTE* pArea = reinterpret_cast<BYTE*>(dib.GetColorTable());
    EXPECT_TRUE(std::equal(file.begin() + 54, file.end(), pArea));
    for (size_t i = file.size() - 54; i < 1024; ++i)
        ASSERT_EQ(pArea[i], 0) << "area byte " << i;
}

TEST_F(DibFile, ABmpInsideALargerFileIsReadFromThePosition) {
    const Bytes bmpFile = MakeBmpFile(Picture{3, 2, 24});
    Bytes container(1000, 0xEE);
    container.insert(container.end(), bmpFile.begin(), bmpFile.end());
    container.insert(container.end(), 300, 0xDD);
    Put("container.bin", container);

    CFile file;
    ASSERT_TRUE(file.Open(Path("container.bin").c_str(), CFile::modeRead));
    file.Seek(1000, CFile::begin);
    CDib dib;
    ASSERT_TRUE(dib.Read(&file));
    EXPECT_EQ(dib.GetWidth(), 3);
    EXPECT_EQ(BlockSize(dib.GetBits()), 24u);
    EXPECT_TRUE(std::equal(bmpFile.begin() + 54, bmpFile.end(), dib.GetBits()));
}

TEST_F(DibFile, MissingFileLeavesTheCDibUnchanged) {
    CDib dib;
    MakeFromPattern(dib, 8, 4, 4);
    BITMAPINFO* pBMI = dib.GetBitmapInfo();
    BYTE* pBits = dib.GetBits();
    CDibPalette* pPalette = dib.m_pPalette;
    EXPECT_FALSE(dib.Load(Path("no such file.bmp").c_str()));
    EXPECT_EQ(dib.GetBitmapInfo(), pBMI);
    EXPECT_EQ(dib.GetBits(), pBits);
    EXPECT_EQ(dib.m_pPalette, pPalette);
    EXPECT_FALSE(dib.m_bFromFile);
    EXPECT_FALSE(dib.Save(Path("no such folder\\out.bmp").c_str()));
}

TEST_F(DibFile, WritingWithoutAPictureFails) {
    CDib dib;
    EXPECT_FALSE(dib.Save(Path("empty.bmp").c_str()));
    // A failed save leaves an existing file as it was.
    Put("kept.bmp", MakeBmpFile(Picture{5, 3, 8}));
    const ULONGLONG keptLength = CFile(Path("kept.bmp").c_str(), CFile::modeRead).GetLength();
    EXPECT_FALSE(dib.Save(Path("kept.bmp").c_str()));
    EXPECT_EQ(CFile(Path("kept.bmp").c_str(), CFile::modeRead).GetLength(), keptLength);
    CFile file;
    ASSERT_TRUE(file.Open(Path("empty2.bmp").c_str(), CFile::modeCreate | CFile::modeWrite));
    EXPECT_FALSE(dib.Write(&file));
    EXPECT_EQ(file.GetLength(), 0u);
}

TEST_F(DibFile, AFileErrorPassesToTheCaller) {
    Put("a.bmp", MakeBmpFile(Picture{5, 3, 8}));
    CFile file;
    ASSERT_TRUE(file.Open(Path("a.bmp").c_str(), CFile::modeWrite)); // reading it fails
    CDib dib;
    MakeFromPattern(dib, 8, 4, 4);
    EXPECT_THROW(dib.Read(&file), CFileException);
    EXPECT_EQ(dib.GetBits(), nullptr);
    EXPECT_EQ(dib.GetBitmapInfo(), nullptr);
}

TEST_F(DibFile, AlignRowsSpreadsPackedRowsToWordSpacing) {
    // 3 rows, 8 bits, 5 pixels wide, held packed as bytes 0-4, 5-9, 10-14.
    CDib dib;
    MakeFromPattern(dib, 8, 5, 3);
    for (int i = 0; i < 15; ++i)
        dib.GetBits()[i] = BYTE(i);
    ASSERT_TRUE(dib.AlignRows());
    const BYTE* p = dib.GetBits();
    EXPECT_EQ(Bytes(p, p + 5), (Bytes{0, 1, 2, 3, 4}));
    EXPECT_EQ(Bytes(p + 8, p + 13), (Bytes{5, 6, 7, 8, 9}));
    EXPECT_EQ(Bytes(p + 16, p + 21), (Bytes{10, 11, 12, 13, 14}));
    EXPECT_FALSE(dib.m_bFromFile);
}

// Files made to break the reader. Each must be refused: FALSE, no picture, nothing drawn, and the
// CDib safe to draw with, to write and to destroy.
TEST_F(DibFile, HostileFilesAreRefused) {
    struct Case {
        std::string name;
        Bytes file;
    };
    std::vector<Case> cases;
    const Bytes good = MakeBmpFile(Picture{5, 3, 8});
    auto spoiled = [&](const char* name, const std::function<void(Bytes&)>& spoil) {
        Bytes b = good;
        spoil(b);
        cases.push_back({name, b});
    };
    spoiled("no BM", [](Bytes& f) { f[0] = 'X'; });
    spoiled("12-byte header", [](Bytes& f) { Put32(f, kAtInfoSize, 12); });
    spoiled("108-byte header", [](Bytes& f) { Put32(f, kAtInfoSize, 108); });
    spoiled("bfSize below bfOffBits", [](Bytes& f) { Put32(f, kAtSize, 1000); });
    spoiled("bfOffBits beyond everything", [](Bytes& f) { Put32(f, kAtOffBits, 0xFFFFFF00); });
    spoiled("width zero", [](Bytes& f) { Put32(f, kAtWidth, 0); });
    spoiled("width negative", [](Bytes& f) { Put32(f, kAtWidth, uint32_t(-5)); });
    spoiled("height zero", [](Bytes& f) { Put32(f, kAtHeight, 0); });
    spoiled("height negative", [](Bytes& f) { Put32(f, kAtHeight, uint32_t(-3)); });
    spoiled("rows overflow 32 bits", [](Bytes& f) {
        Put32(f, kAtWidth, 0x40000000);
        Put32(f, kAtHeight, 4);
    });
    spoiled("100 megapixels", [](Bytes& f) {
        Put32(f, kAtWidth, 10000);
        Put32(f, kAtHeight, 10000);
    });
    spoiled("pixel array shorter than the rows", [](Bytes& f) { Put32(f, kAtHeight, 40); });
    spoiled("bit count 32 on 8-bit data", [](Bytes& f) { Put16(f, kAtBitCount, 32); });
    spoiled("RLE data longer than the pixel array", [](Bytes& f) {
        Put32(f, kAtCompression, BI_RLE8);
        Put32(f, kAtSizeImage, 100000);
    });
    spoiled("bfSize beyond the file", [](Bytes& f) { Put32(f, kAtSize, 0x7FFFFFFF); });
    for (size_t cut : {0, 1, 2, 6, 10, 13, 14, 18, 22, 26, 30, 34, 38, 42, 46, 50, 53, 54, 1077, 1078, 1101})
        cases.push_back(
            {"cut to " + std::to_string(cut) + " bytes", Bytes(good.begin(), good.begin() + cut)});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto dib = std::make_unique<CDib>();
        MakeFromPattern(*dib, 8, 4, 4);
        CDibPalette* pPalette = dib->m_pPalette;
        EXPECT_FALSE(dib->Load(Put("hostile.bmp", c.file).c_str()));
        EXPECT_EQ(dib->GetBitmapInfo(), nullptr);
        EXPECT_EQ(dib->GetBits(), nullptr);
        EXPECT_EQ(dib->m_pPalette, pPalette);
        EXPECT_FALSE(dib->m_bFromFile);
        CPixelTarget target(8, 8);
        const CRect rect(0, 0, 8, 8);
        EXPECT_EQ(dib->Paint(target.DC(), &rect, &rect), 0);
        dib->Stretch(target.DC(), 0, 0, 8, 8);
        dib->Draw(target.DC(), 0, 0);
        EXPECT_EQ(target.At(0, 0), target.Fill());
        EXPECT_FALSE(dib->Save(Path("hostile-out.bmp").c_str()));
        dib.reset();
    }
}

TEST_F(DibFile, AFailedReadAfterAReadKeepsFromFile) {
    CDib dib;
    ASSERT_TRUE(dib.Load(Put("good.bmp", MakeBmpFile(Picture{5, 3, 8})).c_str()));
    CDibPalette* pPalette = dib.m_pPalette;
    Bytes bad = MakeBmpFile(Picture{5, 3, 8});
    bad[1] = 'X';
    EXPECT_FALSE(dib.Load(Put("bad.bmp", bad).c_str()));
    EXPECT_EQ(dib.GetBits(), nullptr);
    EXPECT_TRUE(dib.m_bFromFile);
    EXPECT_EQ(dib.m_pPalette, pPalette);
}

} // namespace
