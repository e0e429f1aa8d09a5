// Native tests of the BMP layout and validation rules (built with ASan and UBSan).
#include "imaging/BmpFormat.h"
#include "tests/host/imaging/BmpTestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

using namespace bmp;
using namespace bmptest;

namespace {

// Owns what ReadDib allocates, so that a failing check leaks nothing under ASan.
struct ReadResult {
    Status status;
    ReadBlocks blocks;
    ~ReadResult() {
        std::free(blocks.header);
        std::free(blocks.bits);
    }
};

void ReadFrom(const Bytes& file, ReadResult& r, uint64_t start = 0) {
    MemorySource source(file.data(), file.size());
    source.Seek(start);
    r.status = ReadDib(source, r.blocks);
}

// The held header block of a picture: info header and room for 256 colour entries.
Bytes MakeHeaderBlock(int32_t width, int32_t height, uint16_t bitCount, uint32_t clrUsed = 0) {
    Bytes block(kReadHeaderBlockBytes);
    InfoHeader ih;
    ih.biSize = 40;
    ih.biWidth = width;
    ih.biHeight = height;
    ih.biPlanes = 1;
    ih.biBitCount = bitCount;
    ih.biSizeImage = 12345;
    ih.biClrUsed = clrUsed;
    SerializeInfoHeader(ih, block.data());
    for (size_t i = 40; i < block.size(); ++i)
        block[i] = uint8_t(i);
    return block;
}

TEST(BmpRowBytes, PackedAndAlignedLengths) {
    struct Case {
        uint32_t bitCount, width;
        uint64_t packed, aligned;
    };
    const Case cases[] = {
        {1, 33, 5, 8},
        {4, 1, 1, 4},
        {8, 165, 165, 168},
        {24, 4, 12, 12},
        {8, 440, 440, 440},
        {1, 1, 1, 4},
        {1, 32, 4, 4},
        {24, 10, 30, 32},
        {24, 3, 9, 12},
        {32, 10, 40, 40},
        {4, 33, 17, 20},
        {16, 3, 6, 8},
        {0, 100, 0, 0},
        {8, 0, 0, 0},
        // Sizes that wrap 32-bit arithmetic stay exact.
        {32, 0xFFFFFFFFu, 0x3FFFFFFFCull, 0x3FFFFFFFCull},
        {0xFFFFFFFFu, 0xFFFFFFFFu, 0x1FFFFFFFC0000001ull, 0x1FFFFFFFC0000004ull},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bitCount) + " bits x " + std::to_string(c.width));
        EXPECT_EQ(PackedRowBytes(c.bitCount, c.width), c.packed);
        EXPECT_EQ(AlignedRowBytes(c.bitCount, c.width), c.aligned);
    }
}

TEST(BmpColors, TableEntriesColourCountAndPaletteSize) {
    struct Entries {
        uint16_t bitCount, entries;
    };
    for (const Entries& c : {Entries{1, 2}, Entries{4, 16}, Entries{8, 256}, Entries{0, 0}, Entries{2, 0},
                             Entries{16, 0}, Entries{24, 0}, Entries{32, 0}}) {
        EXPECT_EQ(ColorTableEntries(c.bitCount), c.entries) << c.bitCount << " bits";
    }

    struct Count {
        uint16_t bitCount;
        uint32_t clrUsed, colors, paletteOfFullTable;
    };
    const Count counts[] = {
        {8, 0, 256, 256},
        {8, 16, 16, 16},
        {1, 0, 2, 2},
        {4, 0, 16, 16},
        {4, 3, 3, 3},
        {24, 0, 1u << 24, 256},
        {31, 0, 1u << 31, 256},
        {32, 0, 0, 0},
        {0xFFFF, 0, 0, 0},
        {8, 300, 300, 256},
        {8, 0x12341234, 0x12341234, 256},
    };
    for (const Count& c : counts) {
        SCOPED_TRACE(std::to_string(c.bitCount) + " bits, biClrUsed " + std::to_string(c.clrUsed));
        EXPECT_EQ(NumColors(c.bitCount, c.clrUsed), c.colors);
        EXPECT_EQ(PaletteEntries(NumColors(c.bitCount, c.clrUsed), kMaxColorEntries), c.paletteOfFullTable);
    }
    // A header block made from a 1-bit bitmap holds two entries, whatever the count says.
    EXPECT_EQ(PaletteEntries(NumColors(1, 40), ColorTableEntries(1)), 2u);
}

TEST(BmpHeaders, FieldsAreLittleEndianWhateverTheHost) {
    const uint8_t fileBytes[14] = {0x42, 0x4D, 0x36, 0xF8, 0x02, 0x00, 0x34,
                                   0x12, 0x78, 0x56, 0x36, 0x04, 0x00, 0x00};
    const FileHeader fh = ParseFileHeader(fileBytes);
    EXPECT_EQ(fh.bfType, 0x4D42);
    EXPECT_EQ(fh.bfSize, 194614u);
    EXPECT_EQ(fh.bfReserved1, 0x1234);
    EXPECT_EQ(fh.bfReserved2, 0x5678);
    EXPECT_EQ(fh.bfOffBits, 1078u);
    uint8_t back[14];
    SerializeFileHeader(fh, back);
    EXPECT_EQ(0, std::memcmp(back, fileBytes, 14));

    uint8_t infoBytes[40];
    for (int i = 0; i < 40; ++i)
        infoBytes[i] = uint8_t(0x80 + i);
    const InfoHeader ih = ParseInfoHeader(infoBytes);
    EXPECT_EQ(ih.biSize, 0x83828180u);
    EXPECT_EQ(ih.biWidth, int32_t(0x87868584u)); // negative: the sign comes from the top byte
    EXPECT_EQ(ih.biHeight, int32_t(0x8B8A8988u));
    EXPECT_EQ(ih.biPlanes, 0x8D8C);
    EXPECT_EQ(ih.biBitCount, 0x8F8E);
    EXPECT_EQ(ih.biCompression, 0x93929190u);
    EXPECT_EQ(ih.biSizeImage, 0x97969594u);
    EXPECT_EQ(ih.biXPelsPerMeter, int32_t(0x9B9A9998u));
    EXPECT_EQ(ih.biYPelsPerMeter, int32_t(0x9F9E9D9Cu));
    EXPECT_EQ(ih.biClrUsed, 0xA3A2A1A0u);
    EXPECT_EQ(ih.biClrImportant, 0xA7A6A5A4u);
    uint8_t infoBack[40];
    SerializeInfoHeader(ih, infoBack);
    EXPECT_EQ(0, std::memcmp(infoBack, infoBytes, 40));
}

TEST(BmpWrite, WrittenFilesHaveTheExpectedFields) {
    struct Case {
        int32_t width, height;
        uint16_t bitCount;
        uint32_t entries, rowBytes, offBits, fileSize;
    };
    const Case cases[] = {
        {440, 440, 8, 256, 440, 1078, 194678},
        {165, 45, 8, 256, 168, 1078, 8638},
        {10, 10, 24, 0, 32, 54, 374},
        {33, 10, 1, 2, 8, 62, 142},
        {1, 1, 4, 16, 4, 118, 122},
        {10, 10, 32, 0, 40, 54, 454},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + "x" +
                     std::to_string(c.bitCount));
        Bytes block = MakeHeaderBlock(c.width, c.height, c.bitCount);
        const Bytes heldInfo(block.begin(), block.begin() + 40);
        Bytes bits(size_t(c.rowBytes) * c.height);
        for (size_t i = 0; i < bits.size(); ++i)
            bits[i] = PixelByte(i);

        WriteLayout layout;
        ASSERT_EQ(PlanWrite(ParseInfoHeader(block.data()), layout), Status::Ok);
        EXPECT_EQ(layout.colorEntries, c.entries);
        EXPECT_EQ(layout.rowBytes, c.rowBytes);
        EXPECT_EQ(layout.offBits, c.offBits);
        EXPECT_EQ(layout.fileSize, c.fileSize);

        MemorySink sink;
        ASSERT_EQ(WriteDib(sink, block.data(), bits.data()), Status::Ok);
        const Bytes& f = sink.bytes;
        ASSERT_EQ(f.size(), c.fileSize);
        EXPECT_EQ(LoadLE16(&f[kAtType]), 0x4D42);
        EXPECT_EQ(LoadLE32(&f[kAtSize]), c.fileSize);
        EXPECT_EQ(LoadLE32(&f[kAtReserved1]), 0u); // both reserved fields
        EXPECT_EQ(LoadLE32(&f[kAtOffBits]), c.offBits);
        // The held header goes out unchanged but for biSizeImage, which is 0 in file and block alike.
        EXPECT_EQ(LoadLE32(&f[kAtSizeImage]), 0u);
        EXPECT_EQ(LoadLE32(&block[kInfoOffsetSizeImage]), 0u);
        for (size_t i = 0; i < 40; ++i) {
            if (i < 20 || i >= 24)
                EXPECT_EQ(f[14 + i], heldInfo[i]) << "info byte " << i;
        }
        EXPECT_TRUE(std::equal(f.begin() + 54, f.begin() + c.offBits, block.begin() + 40));
        EXPECT_TRUE(std::equal(f.begin() + c.offBits, f.end(), bits.begin()));
    }
}

TEST(BmpWrite, RefusesWhatNoValidFileDescribes) {
    struct Case {
        const char* name;
        int32_t width, height;
        uint32_t biSize;
        Status expected;
    };
    const Case cases[] = {
        {"top-down rows", 10, -10, 40, Status::BadDimensions},
        {"no rows", 10, 0, 40, Status::BadDimensions},
        {"negative width", -10, 10, 40, Status::BadDimensions},
        {"other header size", 10, 10, 108, Status::UnsupportedHeader},
        {"bfSize cannot hold it", 0x7FFFFFFF, 0x7FFFFFFF, 40, Status::TooLarge},
        {"rows of exactly 4 GiB", 0x40000000, 4, 40, Status::TooLarge},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes block = MakeHeaderBlock(c.width, c.height, 8);
        StoreLE32(block.data(), c.biSize);
        WriteLayout layout;
        EXPECT_EQ(PlanWrite(ParseInfoHeader(block.data()), layout), c.expected);
        const Bytes before = block;
        MemorySink sink;
        const uint8_t pixel = 0;
        EXPECT_EQ(WriteDib(sink, block.data(), &pixel), c.expected);
        EXPECT_TRUE(sink.bytes.empty());
        EXPECT_EQ(block, before);
    }
    MemorySink sink;
    Bytes block = MakeHeaderBlock(1, 1, 8);
    EXPECT_EQ(WriteDib(sink, nullptr, nullptr), Status::NoPicture);
    EXPECT_EQ(WriteDib(sink, block.data(), nullptr), Status::NoPicture);
    EXPECT_TRUE(sink.bytes.empty());
}

TEST(BmpRead, MalformedFilesAreRefusedBeforeAnythingIsAllocated) {
    struct Case {
        const char* name;
        Picture picture;
        std::function<void(Bytes&)> spoil;
        Status expected;
    };
    const Picture small{5, 3, 8};
    const Case cases[] = {
        {"well formed", small, [](Bytes&) {}, Status::Ok},
        {"no BM", small, [](Bytes& f) { f[1] = 'A'; }, Status::NotBmp},
        {"BM byte-swapped", small, [](Bytes& f) { Put16(f, kAtType, 0x424D); }, Status::NotBmp},
        {"12-byte header", small, [](Bytes& f) { Put32(f, kAtInfoSize, 12); }, Status::UnsupportedHeader},
        {"108-byte header", small, [](Bytes& f) { Put32(f, kAtInfoSize, 108); }, Status::UnsupportedHeader},
        {"bfSize below bfOffBits", small, [](Bytes& f) { Put32(f, kAtSize, 1077); }, Status::BadOffsets},
        {"bfSize zero", small, [](Bytes& f) { Put32(f, kAtSize, 0); }, Status::BadOffsets},
        {"bfOffBits huge", small, [](Bytes& f) { Put32(f, kAtOffBits, 0xFFFFFFF0); }, Status::BadOffsets},
        {"width zero", small, [](Bytes& f) { Put32(f, kAtWidth, 0); }, Status::BadDimensions},
        {"width negative", small, [](Bytes& f) { Put32(f, kAtWidth, uint32_t(-5)); }, Status::BadDimensions},
        {"height zero", small, [](Bytes& f) { Put32(f, kAtHeight, 0); }, Status::BadDimensions},
        {"height negative (top-down)", small, [](Bytes& f) { Put32(f, kAtHeight, uint32_t(-3)); },
         Status::BadDimensions},
        {"height INT_MIN", small, [](Bytes& f) { Put32(f, kAtHeight, 0x80000000u); }, Status::BadDimensions},
        {"row size times height wraps 32 bits", small,
         [](Bytes& f) {
             Put32(f, kAtWidth, 0x40000000);
             Put32(f, kAtHeight, 4);
         },
         Status::TooLarge},
        {"over 64 megapixels", small,
         [](Bytes& f) {
             Put32(f, kAtWidth, 8193);
             Put32(f, kAtHeight, 8192);
         },
         Status::TooLarge},
        {"huge both ways", small,
         [](Bytes& f) {
             Put32(f, kAtWidth, 0x7FFFFFFF);
             Put32(f, kAtHeight, 0x7FFFFFFF);
         },
         Status::TooLarge},
        {"pixel array one byte short of the rows", small,
         [](Bytes& f) { Put32(f, kAtSize, LoadLE32(&f[kAtSize]) - 1); }, Status::PixelsShort},
        {"more rows than the pixel array holds", small, [](Bytes& f) { Put32(f, kAtHeight, 4); },
         Status::PixelsShort},
        {"wider rows than the pixel array holds", small, [](Bytes& f) { Put32(f, kAtWidth, 9); },
         Status::PixelsShort},
        {"bit count raised", small, [](Bytes& f) { Put16(f, kAtBitCount, 32); }, Status::PixelsShort},
        {"bit count 65535", small, [](Bytes& f) { Put16(f, kAtBitCount, 0xFFFF); }, Status::PixelsShort},
        {"compressed data longer than the pixel array", small,
         [](Bytes& f) {
             Put32(f, kAtCompression, 1);
             Put32(f, kAtSizeImage, 25);
         },
         Status::PixelsShort},
        {"compressed data within the pixel array", small,
         [](Bytes& f) {
             Put32(f, kAtCompression, 1);
             Put32(f, kAtSizeImage, 24);
         },
         Status::Ok},
        {"uncompressed with a wrong biSizeImage", small, [](Bytes& f) { Put32(f, kAtSizeImage, 0xFFFFFFFF); },
         Status::Ok},
        {"bfSize beyond the end of the file", small,
         [](Bytes& f) { Put32(f, kAtSize, LoadLE32(&f[kAtSize]) + 1); }, Status::Truncated},
        {"bfSize 4 GiB", small, [](Bytes& f) { Put32(f, kAtSize, 0xFFFFFFFF); }, Status::Truncated},
        {"last pixel byte missing", small, [](Bytes& f) { f.pop_back(); }, Status::Truncated},
        {"colour count beyond the table", small, [](Bytes& f) { Put32(f, kAtClrUsed, 0x12341234); },
         Status::Ok},
        {"planes and reserved fields ignored", small,
         [](Bytes& f) {
             Put16(f, kAtPlanes, 7);
             Put32(f, kAtReserved1, 0xFFFFFFFF);
         },
         Status::Ok},
        {"padding after the pixel array", small,
         [](Bytes& f) {
             f.resize(f.size() + 10);
             Put32(f, kAtSize, uint32_t(f.size()));
         },
         Status::Ok},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes file = MakeBmpFile(c.picture);
        c.spoil(file);
        FileHeader fh = ParseFileHeader(file.data());
        InfoHeader ih = ParseInfoHeader(file.data() + 14);
        EXPECT_EQ(ValidateHeaders(fh, ih, 0, file.size()), c.expected);
        ReadResult r;
        ReadFrom(file, r);
        EXPECT_EQ(r.status, c.expected);
        if (c.expected == Status::Ok) {
            ASSERT_NE(r.blocks.header, nullptr);
            ASSERT_NE(r.blocks.bits, nullptr);
            EXPECT_EQ(r.blocks.bitsBytes, fh.bfSize - fh.bfOffBits);
        } else {
            EXPECT_EQ(r.blocks.header, nullptr);
            EXPECT_EQ(r.blocks.bits, nullptr);
            EXPECT_EQ(r.blocks.bitsBytes, 0u);
            EXPECT_NE(StatusText(r.status), nullptr);
        }
    }
}

TEST(BmpRead, TruncatedAtEveryHeaderBoundaryIsRefused) {
    // 8-bit 5 x 3: colour table 54..1077, pixel array 1078..1101.
    const Bytes whole = MakeBmpFile(Picture{5, 3, 8});
    const size_t cuts[] = {0,  1,  2,  6,  8,  10, 13, 14, 15, 18,   22,   26,   28,
                           30, 34, 38, 42, 46, 50, 53, 54, 58, 1077, 1078, 1079, 1101};
    for (size_t cut : cuts) {
        SCOPED_TRACE("file cut to " + std::to_string(cut) + " bytes");
        const Bytes file(whole.begin(), whole.begin() + cut);
        ReadResult r;
        ReadFrom(file, r);
        EXPECT_EQ(r.status, Status::Truncated);
        EXPECT_EQ(r.blocks.header, nullptr);
        EXPECT_EQ(r.blocks.bits, nullptr);
    }
}

TEST(BmpRead, HeaderBlockTakesTheInfoHeaderAndTheNext1024Bytes) {
    struct Case {
        const char* name;
        Picture picture;
    };
    const Case cases[] = {
        {"8-bit 165 x 45, full table", {165, 45, 8}},
        {"24-bit 10 x 10, no table: pixels fill the area", {10, 10, 24}},
        {"1-bit 33 x 10: file ends inside the area", {33, 10, 1}},
        {"8-bit, 16 entries in use", {7, 2, 8, 16, 16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes file = MakeBmpFile(c.picture);
        ReadResult r;
        ReadFrom(file, r);
        ASSERT_EQ(r.status, Status::Ok);
        EXPECT_EQ(0, std::memcmp(r.blocks.header, file.data() + 14, 40));
        for (size_t i = 0; i < kColorTableReadBytes; ++i) {
            const size_t at = 54 + i;
            const uint8_t expected = at < file.size() ? file[at] : 0;
            ASSERT_EQ(r.blocks.header[40 + i], expected) << "table byte " << i;
        }
        const uint32_t offBits = LoadLE32(&file[kAtOffBits]);
        ASSERT_EQ(r.blocks.bitsBytes, file.size() - offBits);
        EXPECT_EQ(0, std::memcmp(r.blocks.bits, file.data() + offBits, r.blocks.bitsBytes));
    }
}

TEST(BmpRead, FileInsideALargerFileIsReadFromItsStart) {
    const Bytes bmpFile = MakeBmpFile(Picture{3, 2, 24});
    Bytes container(1000, 0xEE);
    container.insert(container.end(), bmpFile.begin(), bmpFile.end());
    container.insert(container.end(), 500, 0xDD);

    ReadResult r;
    ReadFrom(container, r, 1000);
    ASSERT_EQ(r.status, Status::Ok);
    ASSERT_EQ(r.blocks.bitsBytes, 24u);
    EXPECT_EQ(0, std::memcmp(r.blocks.bits, bmpFile.data() + 54, 24));

    // The same bytes, their length checked from the start of the embedded file: one byte cut off the end
    // of the container is still fine, one byte cut off the picture is not.
    const Bytes cut(container.begin(), container.begin() + 1000 + bmpFile.size() - 1);
    ReadResult shortRead;
    ReadFrom(cut, shortRead, 1000);
    EXPECT_EQ(shortRead.status, Status::Truncated);

    ReadResult beyond;
    ReadFrom(bmpFile, beyond, 5000);
    EXPECT_EQ(beyond.status, Status::Truncated);
}

TEST(BmpRead, AFileErrorPassesThroughAndLeavesNothingAllocated) {
    // Throws on its n-th read: file header, info header, colour table, pixel array. A block left
    // allocated shows as a leak when the program ends (LeakSanitizer).
    class FailingSource : public MemorySource {
    public:
        FailingSource(const Bytes& file, int failAt)
            : MemorySource(file.data(), file.size()), m_failAt(failAt) {}
        uint32_t Read(void* buffer, uint32_t count) override {
            if (++m_calls == m_failAt)
                throw std::runtime_error("read error");
            return MemorySource::Read(buffer, count);
        }

    private:
        int m_failAt;
        int m_calls = 0;
    };
    const Bytes file = MakeBmpFile(Picture{5, 3, 8});
    for (int failAt = 1; failAt <= 4; ++failAt) {
        SCOPED_TRACE("failing read " + std::to_string(failAt));
        FailingSource source(file, failAt);
        ReadBlocks blocks;
        EXPECT_THROW(ReadDib(source, blocks), std::runtime_error);
        EXPECT_EQ(blocks.header, nullptr);
        EXPECT_EQ(blocks.bits, nullptr);
    }
}

TEST(BmpRoundTrip, WrittenFilesReadBackWithTheSameRowsAndTable) {
    for (const Picture& p : {Picture{1, 1, 1}, Picture{33, 10, 1}, Picture{3, 5, 4}, Picture{165, 45, 8},
                             Picture{7, 2, 8, 16, 16}, Picture{3, 3, 24}, Picture{2, 2, 32}}) {
        SCOPED_TRACE(std::to_string(p.width) + "x" + std::to_string(p.height) + "x" +
                     std::to_string(p.bitCount));
        const Bytes original = MakeBmpFile(p);
        ReadResult first;
        ReadFrom(original, first);
        ASSERT_EQ(first.status, Status::Ok);

        MemorySink sink;
        ASSERT_EQ(WriteDib(sink, first.blocks.header, first.blocks.bits), Status::Ok);
        ReadResult second;
        ReadFrom(sink.bytes, second);
        ASSERT_EQ(second.status, Status::Ok);

        const uint64_t rows = AlignedRowBytes(p.bitCount, uint32_t(p.width)) * uint32_t(p.height);
        ASSERT_EQ(second.blocks.bitsBytes, rows);
        EXPECT_EQ(0, std::memcmp(second.blocks.bits, first.blocks.bits, size_t(rows)));
        const uint32_t tableBytes = 4u * ColorTableEntries(p.bitCount);
        EXPECT_EQ(0, std::memcmp(second.blocks.header + 40, first.blocks.header + 40, tableBytes));
        // biClrUsed survives; biSizeImage is written as 0.
        EXPECT_EQ(LoadLE32(second.blocks.header + 32), p.clrUsed);
        EXPECT_EQ(LoadLE32(second.blocks.header + kInfoOffsetSizeImage), 0u);
    }
}

TEST(BmpRoundTrip, SixteenColoursInUseStillWriteTheWholeTable) {
    // 16 real entries, then 1,008 bytes read after them (here pixel bytes), written back as 256 entries.
    const Bytes original = MakeBmpFile(Picture{165, 45, 8, 16, 16});
    ReadResult r;
    ReadFrom(original, r);
    ASSERT_EQ(r.status, Status::Ok);
    EXPECT_EQ(PaletteEntries(NumColors(8, LoadLE32(r.blocks.header + 32)), kMaxColorEntries), 16u);
    MemorySink sink;
    ASSERT_EQ(WriteDib(sink, r.blocks.header, r.blocks.bits), Status::Ok);
    EXPECT_EQ(LoadLE32(&sink.bytes[kAtOffBits]), 1078u);
    EXPECT_EQ(LoadLE32(&sink.bytes[kAtClrUsed]), 16u);
    EXPECT_EQ(0, std::memcmp(&sink.bytes[54], original.data() + 54, 1024));
}

} // namespace
