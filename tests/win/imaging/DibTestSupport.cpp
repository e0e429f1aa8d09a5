#include "tests/win/imaging/DibTestSupport.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

std::string g_strMagickDir;

namespace dibtest {

std::string ToString(const Rgb& c) {
    char text[32];
    std::snprintf(text, sizeof(text), "rgb(%u,%u,%u)", c.r, c.g, c.b);
    return text;
}

Rgb TableColour(int i) {
    return Rgb{BYTE(i * 37 + 11), BYTE(i * 91 + 3), BYTE(i * 53 + 200)};
}

namespace {

int PatternIndex(int x, int y, int nEntries) {
    return (x * 7 + y * 13) % nEntries;
}

// 5-bit channels of the 16-bit pattern.
void Pattern555(int x, int y, int& r, int& g, int& b) {
    r = (x * 3 + y) % 32;
    g = (x + y * 5) % 32;
    b = (x * 7 + y * 3) % 32;
}

Rgb Pattern888(int x, int y, int nSeed) {
    return Rgb{BYTE(x * 5 + y * 11 + nSeed), BYTE(x * 17 + y * 3), BYTE(x + y * 29 + nSeed * 3)};
}

int Entries(int nBits) {
    return nBits <= 8 ? 1 << nBits : 0;
}

} // namespace

Rgb PatternColour(int nBits, int x, int y) {
    switch (nBits) {
    case 1:
    case 4:
    case 8:
        return TableColour(PatternIndex(x, y, Entries(nBits)));
    case 16: {
        // GDI widens a 5-bit channel v to 8 bits as (v << 3) | (v >> 2).
        int r, g, b;
        Pattern555(x, y, r, g, b);
        return Rgb{BYTE(r << 3 | r >> 2), BYTE(g << 3 | g >> 2), BYTE(b << 3 | b >> 2)};
    }
    case 24:
        return Pattern888(x, y, 0);
    default:
        return Pattern888(x, y, 40);
    }
}

HBITMAP MakePatternBitmap(int nBits, int nWidth, int nHeight) {
    const int nEntries = Entries(nBits);
    std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* pbmi = reinterpret_cast<BITMAPINFO*>(info.data());
    pbmi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    pbmi->bmiHeader.biWidth = nWidth;
    pbmi->bmiHeader.biHeight = nHeight;
    pbmi->bmiHeader.biPlanes = 1;
    pbmi->bmiHeader.biBitCount = WORD(nBits);
    pbmi->bmiHeader.biCompression = BI_RGB;
    for (int i = 0; i < nEntries; ++i) {
        const Rgb c = TableColour(i);
        pbmi->bmiColors[i] = RGBQUAD{c.b, c.g, c.r, 0};
    }
    void* pvBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, pbmi, DIB_RGB_COLORS, &pvBits, nullptr, 0);
    if (!hBitmap)
        throw std::runtime_error("CreateDIBSection failed");
    const size_t nStride = size_t(CDib::AlignedRowBytes(UINT(nBits), UINT(nWidth)));
    auto* pBits = static_cast<BYTE*>(pvBits);
    std::memset(pBits, 0, nStride * size_t(nHeight));
    for (int y = 0; y < nHeight; ++y) {
        BYTE* row = pBits + size_t(nHeight - 1 - y) * nStride;
        for (int x = 0; x < nWidth; ++x) {
            switch (nBits) {
            case 1:
                row[x / 8] |= BYTE(PatternIndex(x, y, 2) << (7 - x % 8));
                break;
            case 4:
                row[x / 2] |= BYTE(PatternIndex(x, y, 16) << (x % 2 ? 0 : 4));
                break;
            case 8:
                row[x] = BYTE(PatternIndex(x, y, 256));
                break;
            case 16: {
                int r, g, b;
                Pattern555(x, y, r, g, b);
                const WORD w = WORD(r << 10 | g << 5 | b);
                row[2 * x] = BYTE(w);
                row[2 * x + 1] = BYTE(w >> 8);
                break;
            }
            default: {
                const Rgb c = PatternColour(nBits, x, y);
                BYTE* p = row + size_t(x) * (nBits / 8);
                p[0] = c.b;
                p[1] = c.g;
                p[2] = c.r;
                break;
            }
            }
        }
    }
    ::GdiFlush();
    return hBitmap;
}

Rgb DibPixel(const CDib& dib, int x, int y) {
    const BITMAPINFOHEADER& bih = dib.GetBitmapInfo()->bmiHeader;
    const size_t nStride = size_t(CDib::AlignedRowBytes(bih.biBitCount, UINT(bih.biWidth)));
    const BYTE* row = dib.GetBits() + size_t(bih.biHeight - 1 - y) * nStride;
    int index;
    switch (bih.biBitCount) {
    case 1:
        index = (row[x / 8] >> (7 - x % 8)) & 1;
        break;
    case 4:
        index = (row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF;
        break;
    case 8:
        index = row[x];
        break;
    case 24:
        return Rgb{row[3 * x + 2], row[3 * x + 1], row[3 * x]};
    case 32:
        return Rgb{row[4 * x + 2], row[4 * x + 1], row[4 * x]};
    default:
        throw std::runtime_error("no decoder for this bit count");
    }
    const RGBQUAD& q = dib.GetColorTable()[index];
    return Rgb{q.rgbRed, q.rgbGreen, q.rgbBlue};
}

CPixelTarget::CPixelTarget(int nWidth, int nHeight, Rgb fill)
    : m_nWidth(nWidth), m_nHeight(nHeight), m_fill(fill) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = nWidth;
    bmi.bmiHeader.biHeight = -nHeight; // top-down: row y at y * width
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pvBits = nullptr;
    m_hBitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pvBits, nullptr, 0);
    if (!m_hBitmap || !m_dc.CreateCompatibleDC(nullptr))
        throw std::runtime_error("cannot make the drawing target");
    m_pPixels = static_cast<uint32_t*>(pvBits);
    for (int i = 0; i < nWidth * nHeight; ++i)
        m_pPixels[i] = uint32_t(fill.r) << 16 | uint32_t(fill.g) << 8 | fill.b;
    m_hOld = ::SelectObject(m_dc.GetSafeHdc(), m_hBitmap);
}

CPixelTarget::~CPixelTarget() {
    ::SelectObject(m_dc.GetSafeHdc(), m_hOld);
    ::DeleteObject(m_hBitmap);
}

Rgb CPixelTarget::At(int x, int y) const {
    ::GdiFlush();
    const uint32_t v = m_pPixels[size_t(y) * size_t(m_nWidth) + size_t(x)];
    return Rgb{BYTE(v >> 16), BYTE(v >> 8), BYTE(v)};
}

CTempFolder::CTempFolder() {
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    static int s_nCounter = 0;
    for (;;) {
        char name[MAX_PATH + 64];
        std::snprintf(name, sizeof(name), "%sdibtest-%lu-%d", base, ::GetCurrentProcessId(), ++s_nCounter);
        if (::CreateDirectoryA(name, nullptr)) {
            m_path = name;
            return;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot make a temporary folder");
    }
}

CTempFolder::~CTempFolder() {
    WIN32_FIND_DATAA fd;
    HANDLE hFind = ::FindFirstFileA((m_path + "\\*").c_str(), &fd);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ::DeleteFileA(Path(fd.cFileName).c_str());
        } while (::FindNextFileA(hFind, &fd));
        ::FindClose(hFind);
    }
    ::RemoveDirectoryA(m_path.c_str());
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t LE32(const Bytes& b, size_t at) {
    return uint32_t(b.at(at)) | uint32_t(b.at(at + 1)) << 8 | uint32_t(b.at(at + 2)) << 16 |
           uint32_t(b.at(at + 3)) << 24;
}

uint16_t LE16(const Bytes& b, size_t at) {
    return uint16_t(b.at(at) | b.at(at + 1) << 8);
}

} // namespace dibtest
