// Helpers of the CDib tests: pattern bitmaps of every depth, a drawing target whose pixels can be
// read back, decoding of the rows a CDib holds, and temporary files.
#pragma once
#include "imaging/Dib.h"

#include <malloc.h>

#include <cstdint>
#include <string>
#include <vector>

// The folder of the ImageMagick files (empty when the program was started without it).
extern std::string g_strMagickDir;

namespace dibtest {

using Bytes = std::vector<uint8_t>;

struct Rgb {
    BYTE r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};
std::string ToString(const Rgb& c);

// Size of a block that CDib allocated with malloc.
inline size_t BlockSize(const void* p) {
    return _msize(const_cast<void*>(p));
}

// Colour-table entry i of the pattern bitmaps; distinct for every i below 256.
Rgb TableColour(int i);
// The colour of pixel (x, y), counted from the top, in the pattern bitmap of a bit depth.
Rgb PatternColour(int nBits, int x, int y);
// A DIB section of 1, 4, 8, 16, 24 or 32 bits per pixel filled with the pattern.
HBITMAP MakePatternBitmap(int nBits, int nWidth, int nHeight);

// Pixel (x, y), counted from the top, of the picture a CDib holds, through its colour table for 8 or
// fewer bits per pixel.
Rgb DibPixel(const CDib& dib, int x, int y);

// A 32-bit top-down DIB section selected into a memory DC, filled with one colour: whatever GDI draws
// into it can be read back exactly.
class CPixelTarget {
public:
    CPixelTarget(int nWidth, int nHeight, Rgb fill = Rgb{0x12, 0x34, 0x56});
    ~CPixelTarget();
    CPixelTarget(const CPixelTarget&) = delete;
    CPixelTarget& operator=(const CPixelTarget&) = delete;

    Rgb At(int x, int y) const;
    CDC* DC() { return &m_dc; }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    Rgb Fill() const { return m_fill; }

private:
    CDC m_dc;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
    uint32_t* m_pPixels = nullptr;
    int m_nWidth, m_nHeight;
    Rgb m_fill;
};

// A fresh, empty folder under the temporary folder, removed with its files at the end of the test.
class CTempFolder {
public:
    CTempFolder();
    ~CTempFolder();
    std::string Path(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

void WriteBytes(const std::string& path, const Bytes& bytes);
Bytes ReadBytes(const std::string& path);

uint32_t LE32(const Bytes& b, size_t at);
uint16_t LE16(const Bytes& b, size_t at);

} // namespace dibtest
