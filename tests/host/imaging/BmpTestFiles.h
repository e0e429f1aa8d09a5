// Well-formed BMP files built in memory, for the native and the Windows tests alike.
#pragma once
#include "imaging/BmpFormat.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace bmptest {

using Bytes = std::vector<uint8_t>;

// Byte offsets of fields in a whole file (file header, then info header at 14).
constexpr size_t kAtType = 0, kAtSize = 2, kAtReserved1 = 6, kAtOffBits = 10;
constexpr size_t kAtInfoSize = 14, kAtWidth = 18, kAtHeight = 22, kAtPlanes = 26, kAtBitCount = 28,
                 kAtCompression = 30, kAtSizeImage = 34, kAtClrUsed = 46;
constexpr size_t kAtColorTable = 54;

struct Picture {
    int32_t width = 5;
    int32_t height = 3;
    uint16_t bitCount = 8;
    int tableEntries = -1; // -1: the entries the bit count implies
    uint32_t clrUsed = 0;
};

inline uint8_t PixelByte(size_t i) {
    return uint8_t(i * 7 + 1);
}

// Colour-table entry i of the files below: blue i, green i + 1, red i + 2.
inline void TableEntry(uint32_t i, uint8_t* e) {
    e[0] = uint8_t(i);
    e[1] = uint8_t(i + 1);
    e[2] = uint8_t(i + 2);
    e[3] = 0;
}

// Headers, colour table, then the rows filled with PixelByte(offset in the pixel array).
inline Bytes MakeBmpFile(const Picture& p) {
    const uint32_t entries =
        p.tableEntries < 0 ? bmp::ColorTableEntries(p.bitCount) : uint32_t(p.tableEntries);
    const uint64_t rows = bmp::AlignedRowBytes(p.bitCount, uint32_t(p.width)) * uint32_t(p.height);
    const uint32_t offBits = 54 + 4 * entries;
    Bytes file(size_t(offBits + rows));
    bmp::FileHeader fh;
    fh.bfType = bmp::kFileType;
    fh.bfSize = uint32_t(file.size());
    fh.bfOffBits = offBits;
    bmp::SerializeFileHeader(fh, file.data());
    bmp::InfoHeader ih;
    ih.biSize = 40;
    ih.biWidth = p.width;
    ih.biHeight = p.height;
    ih.biPlanes = 1;
    ih.biBitCount = p.bitCount;
    ih.biSizeImage = uint32_t(rows);
    ih.biClrUsed = p.clrUsed;
    bmp::SerializeInfoHeader(ih, file.data() + 14);
    for (uint32_t i = 0; i < entries; ++i)
        TableEntry(i, file.data() + kAtColorTable + 4 * i);
    for (size_t i = 0; i < rows; ++i)
        file[offBits + i] = PixelByte(i);
    return file;
}

inline void Put32(Bytes& b, size_t at, uint32_t v) {
    bmp::StoreLE32(b.data() + at, v);
}
inline void Put16(Bytes& b, size_t at, uint16_t v) {
    bmp::StoreLE16(b.data() + at, v);
}

} // namespace bmptest
