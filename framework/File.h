// A file opened through the Win32 file API. Read and Write raise CFileException on I/O errors;
// the file is closed when the object dies.
#pragma once
#include "framework/Exception.h"
#include "framework/String.h"

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile() noexcept = default;
    // Opens the file or throws CFileException.
    CFile(LPCSTR lpszFileName, UINT nOpenFlags);
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Opens the file; on failure returns FALSE and, when pError is given, fills it. Throws nothing.
    virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void Close();
    // Closes without raising anything, for clean-up paths.
    void Abort() noexcept;

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    CString m_strFileName;
};
