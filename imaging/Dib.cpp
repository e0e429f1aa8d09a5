#include "imaging/Dib.h"

#include "imaging/BmpFormat.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Texts of the failing steps of CreateFromBitmap; raised and caught inside it.
const char kNoDataStorage[] = "could not allocate data storage\n";
const char kNoBitmapInfo[] = "could not allocate BITMAPINFO struct\n";
const char kShortGetDIBits[] = "call to GetDIBits did not return full number of requested scan lines\n";

// The reader's view of an open CFile. File errors pass through as CFileException.
class CFileByteSource : public bmp::ByteSource {
public:
    explicit CFileByteSource(CFile& file) noexcept : m_file(file) {}
    uint64_t Position() override { return m_file.GetPosition(); }
    uint64_t Length() override { return m_file.GetLength(); }
    void Seek(uint64_t offset) override { m_file.Seek(LONGLONG(offset), CFile::begin); }
    uint32_t Read(void* buffer, uint32_t count) override { return m_file.Read(buffer, count); }

private:
    CFile& m_file;
};

class CFileByteSink : public bmp::ByteSink {
public:
    explicit CFileByteSink(CFile& file) noexcept : m_file(file) {}
    void Write(const void* buffer, uint32_t count) override { m_file.Write(buffer, count); }

private:
    CFile& m_file;
};

// malloc for a size computed in 64 bits: a size the address space cannot hold gives no block.
void* AllocateBlock(uint64_t size) noexcept {
    if (size > SIZE_MAX)
        return nullptr;
    return std::malloc(size_t(size));
}

} // namespace

CDibPalette::CDibPalette(CDib* pDib) {
    // The colour count comes from the header, but only entries the header block holds are taken.
    const DWORD nEntries = bmp::PaletteEntries(pDib->GetNumColors(), pDib->GetColorTableCapacity());
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + nEntries * sizeof(PALETTEENTRY));
    auto* pLogPal = reinterpret_cast<LOGPALETTE*>(buffer.data());
    pLogPal->palVersion = 0x300;
    pLogPal->palNumEntries = WORD(nEntries);
    const RGBQUAD* pTable = pDib->GetColorTable();
    for (DWORD i = 0; i < nEntries; ++i) {
        pLogPal->palPalEntry[i].peRed = pTable[i].rgbRed;
        pLogPal->palPalEntry[i].peGreen = pTable[i].rgbGreen;
        pLogPal->palPalEntry[i].peBlue = pTable[i].rgbBlue;
        pLogPal->palPalEntry[i].peFlags = 0;
    }
    // A palette GDI cannot make leaves the object without a handle.
    CreatePalette(pLogPal);
}

CDib::CDib() noexcept : m_pBMI(nullptr), m_pBits(nullptr), m_pPalette(nullptr), m_bFromFile(FALSE) {}

CDib::~CDib() {
    std::free(m_pBMI);
    std::free(m_pBits);
    delete m_pPalette;
}

void CDib::FreePicture() noexcept {
    std::free(m_pBMI);
    m_pBMI = nullptr;
    std::free(m_pBits);
    m_pBits = nullptr;
}

RGBQUAD* CDib::GetColorTable() const noexcept {
    if (!m_pBMI)
        return nullptr;
    return reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(m_pBMI) + bmp::kInfoHeaderBytes);
}

WORD CDib::GetColorTableEntries() const noexcept {
    return bmp::ColorTableEntries(GetBitCount());
}

DWORD CDib::NumColors(const BITMAPINFOHEADER* pBIH) noexcept {
    return bmp::NumColors(pBIH->biBitCount, pBIH->biClrUsed);
}

ULONGLONG CDib::PackedRowBytes(UINT nBitCount, UINT nWidth) noexcept {
    return bmp::PackedRowBytes(nBitCount, nWidth);
}

ULONGLONG CDib::AlignedRowBytes(UINT nBitCount, UINT nWidth) noexcept {
    return bmp::AlignedRowBytes(nBitCount, nWidth);
}

DWORD CDib::GetColorTableCapacity() const noexcept {
    // A read makes a header block with room for 256 entries; a conversion makes one with exactly
    // the entries its bit count implies. Read and CreateFromBitmap set m_bFromFile before they build
    // the palette, so the flag always describes the block held.
    return m_bFromFile ? bmp::kMaxColorEntries : GetColorTableEntries();
}

BOOL CDib::CreateFromBitmap(CDC* pDC, CBitmap* pBitmap) {
    BITMAP bm{};
    ::GetObjectA(pBitmap->m_hObject, sizeof(bm), &bm);
    try {
        std::free(m_pBits);
        m_pBits = nullptr;
        // The pixel block is sized for 8 or 24 bits per pixel; 1- and 4-bit rows take less of it.
        const WORD nBlockBits = bm.bmBitsPixel <= 8 ? 8 : 24;
        if (bm.bmWidth < 0 || bm.bmHeight < 0)
            throw kNoDataStorage;
        m_pBits = static_cast<BYTE*>(
            AllocateBlock(AlignedRowBytes(nBlockBits, UINT(bm.bmWidth)) * uint64_t(bm.bmHeight)));
        if (!m_pBits)
            throw kNoDataStorage;

        const WORD nEntries = bmp::ColorTableEntries(bm.bmBitsPixel);
        std::free(m_pBMI);
        m_pBMI =
            static_cast<BITMAPINFO*>(std::malloc(bmp::kInfoHeaderBytes + bmp::kColorEntryBytes * nEntries));
        if (!m_pBMI)
            throw kNoBitmapInfo;

        BITMAPINFOHEADER& bih = m_pBMI->bmiHeader;
        bih.biSize = bmp::kInfoHeaderBytes;
        bih.biWidth = bm.bmWidth;
        bih.biHeight = bm.bmHeight;
        bih.biPlanes = bm.bmPlanes;
        bih.biBitCount = bm.bmBitsPixel <= 8 ? bm.bmBitsPixel : 24;
        bih.biCompression = BI_RGB;
        bih.biSizeImage = DWORD(AlignedRowBytes(bih.biBitCount, UINT(bm.bmWidth)) * uint64_t(bm.bmHeight));
        bih.biXPelsPerMeter = 0;
        bih.biYPelsPerMeter = 0;
        bih.biClrUsed = 0;
        bih.biClrImportant = 0;

        // GetDIBits returns 0 when it fails, which a bitmap without rows would otherwise pass for.
        const int nLines = ::GetDIBits(pDC->GetSafeHdc(), static_cast<HBITMAP>(pBitmap->m_hObject), 0,
                                       UINT(WORD(bm.bmHeight)), m_pBits, m_pBMI, DIB_RGB_COLORS);
        if (nLines == 0 || nLines != bm.bmHeight)
            throw kShortGetDIBits;
    } catch (const char*) {
        FreePicture();
        return FALSE;
    }
    m_bFromFile = FALSE;
    MakePalette();
    return TRUE;
}

BOOL CDib::LoadFromResource(LPCSTR lpszResourceName) {
    HANDLE hImage =
        ::LoadImageA(AfxGetInstanceHandle(), lpszResourceName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (!hImage)
        return FALSE;
    CBitmap bitmap;
    bitmap.Attach(hImage);
    CClientDC dc(CWnd::FromHandle(::GetDesktopWindow()));
    const BOOL bResult = CreateFromBitmap(&dc, &bitmap);
    // The bitmap goes before the desktop's context is released.
    bitmap.DeleteObject();
    return bResult;
}

BOOL CDib::MakePalette() {
    delete m_pPalette;
    m_pPalette = nullptr;
    if (m_pBMI && GetBitCount() <= 8)
        m_pPalette = new CDibPalette(this);
    return m_pPalette != nullptr;
}

void CDib::Stretch(CDC* pDC, int x, int y, int cx, int cy) {
    CPalette* pOldPalette = nullptr;
    if (m_pPalette) {
        pOldPalette = pDC->SelectPalette(m_pPalette, FALSE);
        ::RealizePalette(pDC->GetSafeHdc());
        pDC->SetStretchBltMode(COLORONCOLOR);
    }
    if (m_pBMI) {
        ::StretchDIBits(pDC->GetSafeHdc(), x, y, cx, cy, 0, 0, GetWidth(), GetHeight(), m_pBits, m_pBMI,
                        DIB_RGB_COLORS, SRCCOPY);
    }
    if (m_pPalette)
        pDC->SelectPalette(pOldPalette, FALSE);
}

void CDib::Draw(CDC* pDC, int x, int y) {
    // Without a picture there is no size to read; Stretch still handles the palette and draws nothing.
    if (!m_pBMI) {
        Stretch(pDC, x, y, 0, 0);
        return;
    }
    Stretch(pDC, x, y, GetWidth(), GetHeight());
}

int CDib::Paint(CDC* pDC, LPCRECT lpDestRect, LPCRECT lpSrcRect) {
    CPalette* pOldPalette = nullptr;
    if (m_pPalette) {
        pOldPalette = pDC->SelectPalette(m_pPalette, FALSE);
        ::RealizePalette(pDC->GetSafeHdc());
        pDC->SetStretchBltMode(COLORONCOLOR);
    }
    int nResult = 0;
    if (m_pBMI) {
        // The source rectangle is top-down; its bottom edge becomes the bottom-up source origin.
        const LONG nHeight = GetHeight();
        nResult = ::SetDIBitsToDevice(
            pDC->GetSafeHdc(), lpDestRect->left, lpDestRect->top, DWORD(lpDestRect->right - lpDestRect->left),
            DWORD(lpDestRect->bottom - lpDestRect->top), lpSrcRect->left, nHeight - lpSrcRect->bottom, 0,
            UINT(nHeight), m_pBits, m_pBMI, DIB_RGB_COLORS);
    }
    if (m_pPalette)
        pDC->SelectPalette(pOldPalette, FALSE);
    return nResult;
}

BOOL CDib::Load(const CString& strPathName) {
    CFile file;
    if (!file.Open(strPathName, CFile::modeRead))
        return FALSE;
    return Read(&file);
}

BOOL CDib::Read(CFile* pFile) {
    FreePicture();
    CFileByteSource source(*pFile);
    bmp::ReadBlocks blocks;
    try {
        const bmp::Status status = bmp::ReadDib(source, blocks);
        if (status != bmp::Status::Ok)
            throw bmp::StatusText(status);
    } catch (const char*) {
        return FALSE;
    }
    m_pBMI = reinterpret_cast<BITMAPINFO*>(blocks.header);
    m_pBits = blocks.bits;
    m_bFromFile = TRUE;
    MakePalette();
    return TRUE;
}

BOOL CDib::Save(const CString& strPathName) {
    // Opening for writing empties an existing file: make sure there is something to write first, so a
    // failed save never destroys what the file held.
    bmp::WriteLayout layout;
    if (!m_pBMI || !m_pBits ||
        bmp::PlanWrite(bmp::ParseInfoHeader(reinterpret_cast<const uint8_t*>(m_pBMI)), layout) != bmp::Status::Ok)
        return FALSE;
    CFile file;
    if (!file.Open(strPathName, CFile::modeCreate | CFile::modeWrite))
        return FALSE;
    return Write(&file);
}

BOOL CDib::Write(CFile* pFile) {
    // Rows held are always aligned, so they go out as they are; AlignRows is not called here.
    CFileByteSink sink(*pFile);
    try {
        const bmp::Status status = bmp::WriteDib(sink, reinterpret_cast<uint8_t*>(m_pBMI), m_pBits);
        if (status != bmp::Status::Ok)
            throw bmp::StatusText(status);
    } catch (const char*) {
        return FALSE;
    }
    return TRUE;
}

BOOL CDib::AlignRows() {
    if (m_bFromFile)
        return TRUE;
    if (!m_pBMI || !m_pBits)
        return FALSE;
    const UINT nWidth = UINT(GetWidth());
    const uint64_t nAligned = AlignedRowBytes(GetBitCount(), nWidth);
    const uint64_t nPacked = PackedRowBytes(GetBitCount(), nWidth);
    if (nAligned == nPacked)
        return TRUE;
    BYTE* pRow = static_cast<BYTE*>(AllocateBlock(nPacked));
    if (!pRow)
        return FALSE;
    // From the last row down, so that every source row is intact until it has moved; row 0 stays.
    for (LONG i = GetHeight() - 1; i >= 1; --i) {
        std::memcpy(pRow, m_pBits + uint64_t(i) * nPacked, size_t(nPacked));
        std::memcpy(m_pBits + uint64_t(i) * nAligned, pRow, size_t(nPacked));
    }
    std::free(pRow);
    return TRUE;
}
