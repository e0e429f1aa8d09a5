// A picture in memory as a device-independent bitmap: a 40-byte BITMAPINFOHEADER followed by its
// colour table, the pixel rows (bottom row first, each a whole number of 32-bit words), and for
// pictures of 8 or fewer bits per pixel a palette made from the colour table. Filled from a bitmap
// (or a bitmap resource) or read from a BMP file; drawn with its palette selected and realised.
#pragma once
#include "framework/Afx.h"

class CDib;

// A GDI palette made from a CDib's colour table.
class CDibPalette : public CPalette {
public:
    explicit CDibPalette(CDib* pDib);
};

class CDib {
public:
    CDib() noexcept;
    virtual ~CDib();
    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    // The virtual operations, in the order of their slots. Draw calls Stretch, Load calls Read and
    // Save calls Write through the table, so a derived class that replaces one changes the other.
    // Paint returns the scan lines set (0 without a picture).
    virtual int Paint(CDC* pDC, LPCRECT lpDestRect, LPCRECT lpSrcRect);
    virtual void Stretch(CDC* pDC, int x, int y, int cx, int cy);
    // The picture at natural size; draws nothing without one.
    virtual void Draw(CDC* pDC, int x, int y);
    virtual BOOL Load(const CString& strPathName);
    // Reads a BMP file from the file's current position. On FALSE the CDib holds no picture; its
    // palette object and m_bFromFile are those it had.
    virtual BOOL Read(CFile* pFile);
    virtual BOOL Save(const CString& strPathName);
    // FALSE when there is no picture to write.
    virtual BOOL Write(CFile* pFile);

    // Replaces the picture with the bitmap's pixels: 1-, 4- and 8-bit bitmaps keep their bit count and
    // colour table, deeper ones become 24-bit pictures. On FALSE the CDib holds no picture.
    BOOL CreateFromBitmap(CDC* pDC, CBitmap* pBitmap);
    // Replaces the picture with a bitmap resource of the module; FALSE, and the CDib as it was, when
    // the resource cannot be loaded.
    BOOL LoadFromResource(LPCSTR lpszResourceName);
    // Rebuilds m_pPalette from the colour table; TRUE when a palette object exists afterwards.
    BOOL MakePalette();

    BITMAPINFO* GetBitmapInfo() const noexcept { return m_pBMI; }
    RGBQUAD* GetColorTable() const noexcept;
    BYTE* GetBits() const noexcept { return m_pBits; }
    // These read the header without testing for it: call them only while the CDib holds a picture.
    LONG GetWidth() const noexcept { return m_pBMI->bmiHeader.biWidth; }
    LONG GetHeight() const noexcept { return m_pBMI->bmiHeader.biHeight; }
    WORD GetBitCount() const noexcept { return m_pBMI->bmiHeader.biBitCount; }
    WORD GetColorTableEntries() const noexcept;
    DWORD GetNumColors() const noexcept { return NumColors(&m_pBMI->bmiHeader); }
    static DWORD NumColors(const BITMAPINFOHEADER* pBIH) noexcept;

    static ULONGLONG PackedRowBytes(UINT nBitCount, UINT nWidth) noexcept;
    static ULONGLONG AlignedRowBytes(UINT nBitCount, UINT nWidth) noexcept;
    // Moves rows from packed to aligned spacing in place. Pictures read from a file are left alone.
    BOOL AlignRows();

    BITMAPINFO* m_pBMI;      // header and colour table; null while there is no picture
    BYTE* m_pBits;           // pixel rows; null while there is no picture
    CDibPalette* m_pPalette; // null above 8 bits per pixel or before any picture
    BOOL m_bFromFile;        // the picture was read from a BMP file

private:
    friend class CDibPalette;
    // Colour-table entries the header block has room for.
    DWORD GetColorTableCapacity() const noexcept;
    void FreePicture() noexcept;
};
