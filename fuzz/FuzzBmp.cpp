// Reads arbitrary bytes as a BMP file, then touches everything that drawing and writing the picture
// would read, writes it and reads the written file back. Any read past a block is an ASan finding;
// a broken promise of the reader is a trap.
#include "imaging/BmpFormat.h"

#include <cstdlib>
#include <cstring>

using namespace bmp;

namespace {

void Require(bool condition) {
    if (!condition)
        __builtin_trap();
}

uint8_t Sum(const uint8_t* p, uint64_t n) {
    uint8_t sum = 0;
    for (uint64_t i = 0; i < n; ++i)
        sum = uint8_t(sum + p[i]);
    return sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemorySource source(data, size);
    ReadBlocks blocks;
    const Status status = ReadDib(source, blocks);
    if (status != Status::Ok) {
        Require(blocks.header == nullptr && blocks.bits == nullptr && StatusText(status) != nullptr);
        return 0;
    }

    const InfoHeader info = ParseInfoHeader(blocks.header);
    Require(info.biSize == kInfoHeaderBytes && info.biWidth > 0 && info.biHeight > 0);
    Require(uint64_t(info.biWidth) * uint64_t(info.biHeight) <= kMaxPixels);
    const uint64_t rows = AlignedRowBytes(info.biBitCount, uint32_t(info.biWidth)) * uint32_t(info.biHeight);
    Require(rows <= blocks.bitsBytes);

    // What the platform reads when drawing: every row, and the palette's entries.
    volatile uint8_t sink = Sum(blocks.bits, rows);
    const uint32_t entries = PaletteEntries(NumColors(info.biBitCount, info.biClrUsed), kMaxColorEntries);
    sink = uint8_t(sink + Sum(blocks.header + kInfoHeaderBytes, uint64_t(entries) * kColorEntryBytes));
    (void)sink;

    MemorySink file;
    Require(WriteDib(file, blocks.header, blocks.bits) == Status::Ok);
    WriteLayout layout;
    Require(PlanWrite(ParseInfoHeader(blocks.header), layout) == Status::Ok);
    Require(file.bytes.size() == layout.fileSize && layout.pixelBytes == rows);

    MemorySource again(file.bytes.data(), file.bytes.size());
    ReadBlocks reread;
    Require(ReadDib(again, reread) == Status::Ok);
    Require(reread.bitsBytes == rows && std::memcmp(reread.bits, blocks.bits, size_t(rows)) == 0);
    Require(std::memcmp(reread.header + kInfoHeaderBytes, blocks.header + kInfoHeaderBytes,
                        layout.colorEntries * kColorEntryBytes) == 0);

    std::free(reread.header);
    std::free(reread.bits);
    std::free(blocks.header);
    std::free(blocks.bits);
    return 0;
}
