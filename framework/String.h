// 8-bit text in the system's ANSI code page.
#pragma once
#include <windows.h>
#include <string>

class CString {
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(LPCSTR psz) : m_str(psz ? psz : "") {}
    CString(LPCSTR pch, int nLength) : m_str(pch ? pch : "", pch && nLength > 0 ? size_t(nLength) : 0) {}
    CString(char ch, int nRepeat = 1) : m_str(nRepeat > 0 ? size_t(nRepeat) : 0, ch) {}
    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(LPCSTR psz) {
        m_str = psz ? psz : "";
        return *this;
    }

    int GetLength() const noexcept { return int(m_str.size()); }
    bool IsEmpty() const noexcept { return m_str.empty(); }
    void Empty() noexcept { m_str.clear(); }
    operator LPCSTR() const noexcept { return m_str.c_str(); }
    LPCSTR GetString() const noexcept { return m_str.c_str(); }
    char GetAt(int i) const { return m_str.at(size_t(i)); }
    char operator[](int i) const { return GetAt(i); }

    CString& operator+=(const CString& s) {
        m_str += s.m_str;
        return *this;
    }
    CString& operator+=(LPCSTR psz) {
        m_str += psz ? psz : "";
        return *this;
    }
    CString& operator+=(char ch) {
        m_str += ch;
        return *this;
    }
    friend CString operator+(const CString& a, const CString& b) { return CString(a) += b; }
    friend CString operator+(const CString& a, LPCSTR b) { return CString(a) += b; }
    friend CString operator+(LPCSTR a, const CString& b) { return CString(a) += b; }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, LPCSTR b) { return a.m_str == (b ? b : ""); }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, LPCSTR b) { return !(a == b); }

    int Compare(LPCSTR psz) const { return m_str.compare(psz ? psz : ""); }
    int Find(char ch, int nStart = 0) const;
    int Find(LPCSTR pszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;
    CString Left(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Right(int nCount) const;

    // Writable buffer of at least nMinLength characters plus the terminator; ReleaseBuffer
    // takes the text up to the first NUL (or nNewLength characters) back as the new content.
    LPSTR GetBuffer(int nMinLength);
    void ReleaseBuffer(int nNewLength = -1);

    // Loads a string-table entry from the resource module; FALSE (and the text emptied) when missing.
    BOOL LoadString(UINT nID);
    void Format(LPCSTR pszFormat, ...);

    const std::string& str() const noexcept { return m_str; }

private:
    std::string m_str;
};
