#include "imaging/BmpFormat.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

namespace bmp {

uint16_t LoadLE16(const uint8_t* p) noexcept {
    return uint16_t(p[0] | (p[1] << 8));
}

uint32_t LoadLE32(const uint8_t* p) noexcept {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

void StoreLE16(uint8_t* p, uint16_t value) noexcept {
    p[0] = uint8_t(value);
    p[1] = uint8_t(value >> 8);
}

void StoreLE32(uint8_t* p, uint32_t value) noexcept {
    p[0] = uint8_t(value);
    p[1] = uint8_t(value >> 8);
    p[2] = uint8_t(value >> 16);
    p[3] = uint8_t(value >> 24);
}

FileHeader ParseFileHeader(const uint8_t* p) noexcept {
    FileHeader h;
    h.bfType = LoadLE16(p);
    h.bfSize = LoadLE32(p + 2);
    h.bfReserved1 = LoadLE16(p + 6);
    h.bfReserved2 = LoadLE16(p + 8);
    h.bfOffBits = LoadLE32(p + 10);
    return h;
}

void SerializeFileHeader(const FileHeader& h, uint8_t* p) noexcept {
    StoreLE16(p, h.bfType);
    StoreLE32(p + 2, h.bfSize);
    StoreLE16(p + 6, h.bfReserved1);
    StoreLE16(p + 8, h.bfReserved2);
    StoreLE32(p + 10, h.bfOffBits);
}

InfoHeader ParseInfoHeader(const uint8_t* p) noexcept {
    InfoHeader h;
    h.biSize = LoadLE32(p);
    h.biWidth = int32_t(LoadLE32(p + 4));
    h.biHeight = int32_t(LoadLE32(p + 8));
    h.biPlanes = LoadLE16(p + 12);
    h.biBitCount = LoadLE16(p + 14);
    h.biCompression = LoadLE32(p + 16);
    h.biSizeImage = LoadLE32(p + kInfoOffsetSizeImage);
    h.biXPelsPerMeter = int32_t(LoadLE32(p + 24));
    h.biYPelsPerMeter = int32_t(LoadLE32(p + 28));
    h.biClrUsed = LoadLE32(p + 32);
    h.biClrImportant = LoadLE32(p + 36);
    return h;
}

void SerializeInfoHeader(const InfoHeader& h, uint8_t* p) noexcept {
    StoreLE32(p, h.biSize);
    StoreLE32(p + 4, uint32_t(h.biWidth));
    StoreLE32(p + 8, uint32_t(h.biHeight));
    StoreLE16(p + 12, h.biPlanes);
    StoreLE16(p + 14, h.biBitCount);
    StoreLE32(p + 16, h.biCompression);
    StoreLE32(p + kInfoOffsetSizeImage, h.biSizeImage);
    StoreLE32(p + 24, uint32_t(h.biXPelsPerMeter));
    StoreLE32(p + 28, uint32_t(h.biYPelsPerMeter));
    StoreLE32(p + 32, h.biClrUsed);
    StoreLE32(p + 36, h.biClrImportant);
}

uint64_t PackedRowBytes(uint32_t bitCount, uint32_t width) noexcept {
    return (uint64_t(bitCount) * width + 7) / 8;
}

uint64_t AlignedRowBytes(uint32_t bitCount, uint32_t width) noexcept {
    return ((uint64_t(bitCount) * width + 31) & ~uint64_t(31)) / 8;
}

uint16_t ColorTableEntries(uint16_t bitCount) noexcept {
    switch (bitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

uint32_t NumColors(uint16_t bitCount, uint32_t clrUsed) noexcept {
    if (clrUsed != 0)
        return clrUsed;
    return bitCount < 32 ? uint32_t(1) << bitCount : 0;
}

uint32_t PaletteEntries(uint32_t numColors, uint32_t tableCapacity) noexcept {
    return std::min(numColors, tableCapacity);
}

const char* StatusText(Status status) noexcept {
    switch (status) {
    case Status::Ok:
        return nullptr;
    case Status::NotBmp:
        return "Error:Unexpected file type, not a DIB\n";
    case Status::UnsupportedHeader:
        return "Error:OS2 PM BMP Format not supported\n";
    case Status::Truncated:
        return "Error:File shorter than its headers say\n";
    case Status::BadOffsets:
        return "Error:Pixel array starts beyond the end of the file\n";
    case Status::BadDimensions:
        return "Error:Picture width or height not positive\n";
    case Status::TooLarge:
        return "Error:Picture too large\n";
    case Status::PixelsShort:
        return "Error:Pixel array shorter than the picture's rows\n";
    case Status::OutOfMemory:
        return "Error:could not allocate picture storage\n";
    case Status::NoPicture:
        return "Error:No picture to write\n";
    }
    return "Error:Unknown\n";
}

namespace {

struct FreeBlock {
    void operator()(uint8_t* p) const noexcept { std::free(p); }
};
using BlockPtr = std::unique_ptr<uint8_t, FreeBlock>;

// Compressed pixel data is read by length (biSizeImage) rather than by rows.
bool ReadByRows(uint32_t compression) {
    return compression == kCompressionRgb || compression == kCompressionBitfields ||
           compression == kCompressionAlphaBitfields;
}

} // namespace

Status ValidateHeaders(const FileHeader& file, const InfoHeader& info, uint64_t start,
                       uint64_t length) noexcept {
    if (file.bfType != kFileType)
        return Status::NotBmp;
    if (info.biSize != kInfoHeaderBytes)
        return Status::UnsupportedHeader;
    if (file.bfSize < file.bfOffBits)
        return Status::BadOffsets;
    if (info.biWidth <= 0 || info.biHeight <= 0)
        return Status::BadDimensions;
    // Both factors are below 2^31, so neither product below can wrap.
    const uint64_t width = uint64_t(info.biWidth);
    const uint64_t height = uint64_t(info.biHeight);
    if (width * height > kMaxPixels)
        return Status::TooLarge;
    const uint64_t rowsBytes = AlignedRowBytes(info.biBitCount, uint32_t(width)) * height;
    const uint64_t pixelBytes = uint64_t(file.bfSize) - file.bfOffBits;
    if (rowsBytes > pixelBytes)
        return Status::PixelsShort;
    if (!ReadByRows(info.biCompression) && info.biSizeImage > pixelBytes)
        return Status::PixelsShort;
    // The pixel array ends bfSize bytes after the file header's first byte.
    if (start > length || file.bfSize > length - start)
        return Status::Truncated;
    return Status::Ok;
}

uint32_t MemorySource::Read(void* buffer, uint32_t count) {
    if (m_pos >= m_size)
        return 0;
    const uint64_t n = std::min<uint64_t>(count, m_size - m_pos);
    std::memcpy(buffer, m_data + m_pos, size_t(n));
    m_pos += n;
    return uint32_t(n);
}

void MemorySink::Write(const void* buffer, uint32_t count) {
    const auto* p = static_cast<const uint8_t*>(buffer);
    bytes.insert(bytes.end(), p, p + count);
}

Status ReadDib(ByteSource& source, ReadBlocks& out) {
    out = ReadBlocks{};
    const uint64_t start = source.Position();

    uint8_t fileBytes[kFileHeaderBytes] = {};
    const uint32_t fileGot = source.Read(fileBytes, kFileHeaderBytes);
    if (fileGot >= 2 && LoadLE16(fileBytes) != kFileType)
        return Status::NotBmp;
    if (fileGot < kFileHeaderBytes)
        return Status::Truncated;
    const FileHeader file = ParseFileHeader(fileBytes);

    uint8_t infoBytes[kInfoHeaderBytes] = {};
    const uint32_t infoGot = source.Read(infoBytes, kInfoHeaderBytes);
    if (infoGot >= 4 && LoadLE32(infoBytes) != kInfoHeaderBytes)
        return Status::UnsupportedHeader;
    if (infoGot < kInfoHeaderBytes)
        return Status::Truncated;
    const InfoHeader info = ParseInfoHeader(infoBytes);

    const Status status = ValidateHeaders(file, info, start, source.Length());
    if (status != Status::Ok)
        return status;

    // Held until the end: a source that throws (a file error) leaves nothing allocated.
    BlockPtr header(static_cast<uint8_t*>(std::malloc(kReadHeaderBlockBytes)));
    if (!header)
        return Status::OutOfMemory;
    std::memcpy(header.get(), infoBytes, kInfoHeaderBytes);
    // For pictures with a shorter colour table these bytes come from the pixel array; a file that
    // ends first leaves the rest zero.
    const uint32_t tableGot =
        std::min(source.Read(header.get() + kInfoHeaderBytes, kColorTableReadBytes), kColorTableReadBytes);
    std::memset(header.get() + kInfoHeaderBytes + tableGot, 0, kColorTableReadBytes - tableGot);

    const uint32_t pixelBytes = file.bfSize - file.bfOffBits;
    BlockPtr bits(static_cast<uint8_t*>(std::malloc(std::max<uint32_t>(pixelBytes, 1))));
    if (!bits)
        return Status::OutOfMemory;
    source.Seek(start + file.bfOffBits);
    // The length was checked above; a source that still delivers less is treated as truncated.
    if (source.Read(bits.get(), pixelBytes) != pixelBytes)
        return Status::Truncated;
    out.header = header.release();
    out.bits = bits.release();
    out.bitsBytes = pixelBytes;
    return Status::Ok;
}

Status PlanWrite(const InfoHeader& info, WriteLayout& layout) noexcept {
    layout = WriteLayout{};
    if (info.biSize != kInfoHeaderBytes)
        return Status::UnsupportedHeader;
    if (info.biWidth <= 0 || info.biHeight <= 0)
        return Status::BadDimensions;
    const uint32_t entries = ColorTableEntries(info.biBitCount);
    const uint32_t offBits = kFileHeaderBytes + info.biSize + kColorEntryBytes * entries;
    const uint64_t rowBytes = AlignedRowBytes(info.biBitCount, uint32_t(info.biWidth));
    const uint64_t height = uint64_t(info.biHeight);
    // bfSize is a 32-bit field: the whole file must fit it.
    if (rowBytes > (std::numeric_limits<uint32_t>::max() - offBits) / height)
        return Status::TooLarge;
    layout.colorEntries = entries;
    layout.rowBytes = rowBytes;
    layout.pixelBytes = uint32_t(rowBytes * height);
    layout.offBits = offBits;
    layout.fileSize = offBits + layout.pixelBytes;
    return Status::Ok;
}

Status WriteDib(ByteSink& sink, uint8_t* headerBlock, const uint8_t* bits) {
    if (!headerBlock || !bits)
        return Status::NoPicture;
    WriteLayout layout;
    const Status status = PlanWrite(ParseInfoHeader(headerBlock), layout);
    if (status != Status::Ok)
        return status;

    StoreLE32(headerBlock + kInfoOffsetSizeImage, 0);

    FileHeader file;
    file.bfType = kFileType;
    file.bfSize = layout.fileSize;
    file.bfOffBits = layout.offBits;
    uint8_t fileBytes[kFileHeaderBytes];
    SerializeFileHeader(file, fileBytes);
    sink.Write(fileBytes, kFileHeaderBytes);
    sink.Write(headerBlock, kInfoHeaderBytes + kColorEntryBytes * layout.colorEntries);
    sink.Write(bits, layout.pixelBytes);
    return Status::Ok;
}

} // namespace bmp
