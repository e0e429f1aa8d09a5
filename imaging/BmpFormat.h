// Layout and validation rules of Windows BMP files with a 40-byte info header, in plain C++ so that
// the same code runs inside CDib, in the native tests and under the fuzzer. Every field is read and
// written little-endian byte by byte, whatever the host's byte order.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace bmp {

constexpr uint16_t kFileType = 0x4D42; // the bytes "BM"
constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kColorEntryBytes = 4; // blue, green, red, reserved
constexpr uint32_t kMaxColorEntries = 256;
// A read always takes this many bytes after the info header into the colour-table area.
constexpr uint32_t kColorTableReadBytes = kMaxColorEntries * kColorEntryBytes;
constexpr uint32_t kReadHeaderBlockBytes = kInfoHeaderBytes + kColorTableReadBytes;
// Larger pictures are refused as absurd before anything is allocated for them.
constexpr uint64_t kMaxPixels = 64ull * 1024 * 1024;

// biCompression values that decide how much pixel data the platform reads.
constexpr uint32_t kCompressionRgb = 0;
constexpr uint32_t kCompressionBitfields = 3;
constexpr uint32_t kCompressionAlphaBitfields = 6;

struct FileHeader {
    uint16_t bfType = 0;
    uint32_t bfSize = 0;
    uint16_t bfReserved1 = 0;
    uint16_t bfReserved2 = 0;
    uint32_t bfOffBits = 0;
};

struct InfoHeader {
    uint32_t biSize = 0;
    int32_t biWidth = 0;
    int32_t biHeight = 0;
    uint16_t biPlanes = 0;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};

// Byte offsets of the info header fields that are patched in place.
constexpr size_t kInfoOffsetSizeImage = 20;

uint16_t LoadLE16(const uint8_t* p) noexcept;
uint32_t LoadLE32(const uint8_t* p) noexcept;
void StoreLE16(uint8_t* p, uint16_t value) noexcept;
void StoreLE32(uint8_t* p, uint32_t value) noexcept;

FileHeader ParseFileHeader(const uint8_t* p) noexcept; // kFileHeaderBytes bytes
void SerializeFileHeader(const FileHeader& h, uint8_t* p) noexcept;
InfoHeader ParseInfoHeader(const uint8_t* p) noexcept; // kInfoHeaderBytes bytes
void SerializeInfoHeader(const InfoHeader& h, uint8_t* p) noexcept;

// A row rounded up to whole bytes: ceil(bitCount * width / 8). Computed in 64 bits, so no width wraps.
uint64_t PackedRowBytes(uint32_t bitCount, uint32_t width) noexcept;
// A row rounded up to whole 32-bit words: 4 * ceil(bitCount * width / 32).
uint64_t AlignedRowBytes(uint32_t bitCount, uint32_t width) noexcept;
// Colour-table entries implied by a bit count: 1 -> 2, 4 -> 16, 8 -> 256, anything else -> 0.
uint16_t ColorTableEntries(uint16_t bitCount) noexcept;
// biClrUsed when set, else 1 << bitCount. A bit count of 32 or more has no 32-bit answer and gives 0
// (2^32 and beyond, reduced modulo 2^32) instead of an undefined shift.
uint32_t NumColors(uint16_t bitCount, uint32_t clrUsed) noexcept;
// Palette entries taken from a colour table: the colour count, but never more than the table holds.
uint32_t PaletteEntries(uint32_t numColors, uint32_t tableCapacity) noexcept;

enum class Status {
    Ok,
    NotBmp,            // no "BM" at the start
    UnsupportedHeader, // info header size other than 40
    Truncated,         // the file ends before its headers or pixel array do
    BadOffsets,        // bfSize below bfOffBits
    BadDimensions,     // width or height zero or negative
    TooLarge,          // more pixels than kMaxPixels, or sizes that do not fit the fields
    PixelsShort,       // pixel array shorter than the rows (or compressed data) the header describes
    OutOfMemory,
    NoPicture, // nothing to write
};

// The text raised for a failure (Ok gives null).
const char* StatusText(Status status) noexcept;

// Checks the two headers of a file whose file header starts at `start` in a source `length` bytes long.
// On Ok, the pixel array (bfSize - bfOffBits bytes at start + bfOffBits) lies inside the source and holds
// at least every row the info header describes, so drawing or writing the picture stays inside it.
Status ValidateHeaders(const FileHeader& file, const InfoHeader& info, uint64_t start,
                       uint64_t length) noexcept;

// Where bytes come from: a CFile on Windows, a memory buffer natively.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t Position() = 0;
    virtual uint64_t Length() = 0;
    virtual void Seek(uint64_t offset) = 0; // from the beginning
    // Reads up to count bytes; returns how many arrived (fewer only at the end).
    virtual uint32_t Read(void* buffer, uint32_t count) = 0;
};

class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Write(const void* buffer, uint32_t count) = 0;
};

class MemorySource : public ByteSource {
public:
    MemorySource(const uint8_t* data, size_t size) noexcept : m_data(data), m_size(size) {}
    uint64_t Position() override { return m_pos; }
    uint64_t Length() override { return m_size; }
    void Seek(uint64_t offset) override { m_pos = offset; }
    uint32_t Read(void* buffer, uint32_t count) override;

private:
    const uint8_t* m_data;
    size_t m_size;
    uint64_t m_pos = 0;
};

class MemorySink : public ByteSink {
public:
    void Write(const void* buffer, uint32_t count) override;
    std::vector<uint8_t> bytes;
};

// The two heap blocks of a picture read from a file, allocated with std::malloc: the header block
// (kReadHeaderBlockBytes: info header, then the 1,024 bytes that follow it, zero where the source ended
// first) and the pixel array (bitsBytes = bfSize - bfOffBits bytes, at least one byte allocated).
struct ReadBlocks {
    uint8_t* header = nullptr;
    uint8_t* bits = nullptr;
    uint32_t bitsBytes = 0;
};

// Reads a BMP file from the source's current position. Nothing is allocated before the headers have
// been validated against the source's length. On failure nothing is left allocated in `out`.
Status ReadDib(ByteSource& source, ReadBlocks& out);

struct WriteLayout {
    uint32_t colorEntries = 0; // E, from the bit count
    uint64_t rowBytes = 0;     // aligned row length
    uint32_t pixelBytes = 0;   // rowBytes * height
    uint32_t offBits = 0;      // 14 + biSize + 4 * E
    uint32_t fileSize = 0;     // offBits + pixelBytes
};

// The layout of the file written for a held header; fails for a header that no valid file describes.
Status PlanWrite(const InfoHeader& info, WriteLayout& layout) noexcept;

// Writes the picture held in a header block (info header and at least E colour-table entries) and
// its aligned pixel rows. Sets biSizeImage of the held header to 0 before writing it.
Status WriteDib(ByteSink& sink, uint8_t* headerBlock, const uint8_t* bits);

} // namespace bmp
