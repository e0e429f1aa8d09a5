#include "framework/String.h"
#include "framework/App.h"
#include <cstdarg>
#include <cstdio>
#include <cstring>

int CString::Find(char ch, int nStart) const {
    if (nStart < 0 || size_t(nStart) >= m_str.size())
        return -1;
    const size_t pos = m_str.find(ch, size_t(nStart));
    return pos == std::string::npos ? -1 : int(pos);
}

int CString::Find(LPCSTR pszSub, int nStart) const {
    if (!pszSub || nStart < 0 || size_t(nStart) > m_str.size())
        return -1;
    const size_t pos = m_str.find(pszSub, size_t(nStart));
    return pos == std::string::npos ? -1 : int(pos);
}

int CString::ReverseFind(char ch) const {
    const size_t pos = m_str.rfind(ch);
    return pos == std::string::npos ? -1 : int(pos);
}

CString CString::Left(int nCount) const {
    if (nCount <= 0)
        return CString();
    return CString(m_str.substr(0, size_t(nCount)).c_str());
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength()); }

CString CString::Mid(int nFirst, int nCount) const {
    if (nFirst < 0)
        nFirst = 0;
    if (nCount <= 0 || size_t(nFirst) >= m_str.size())
        return CString();
    CString result;
    result.m_str = m_str.substr(size_t(nFirst), size_t(nCount));
    return result;
}

CString CString::Right(int nCount) const {
    if (nCount <= 0)
        return CString();
    if (size_t(nCount) >= m_str.size())
        return *this;
    CString result;
    result.m_str = m_str.substr(m_str.size() - size_t(nCount));
    return result;
}

LPSTR CString::GetBuffer(int nMinLength) {
    if (nMinLength > 0 && m_str.size() < size_t(nMinLength))
        m_str.resize(size_t(nMinLength));
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength) {
    if (nNewLength < 0)
        nNewLength = int(strnlen(m_str.c_str(), m_str.size()));
    m_str.resize(size_t(nNewLength) <= m_str.size() ? size_t(nNewLength) : m_str.size());
}

BOOL CString::LoadString(UINT nID) {
    // A string-table entry holds at most 65535 UTF-16 units; the ANSI text is no longer in bytes for
    // the single-byte code pages, and twice that covers the double-byte ones.
    char buffer[4096];
    int n = ::LoadStringA(AfxGetResourceHandle(), nID, buffer, sizeof buffer);
    if (n <= 0) {
        m_str.clear();
        return FALSE;
    }
    m_str.assign(buffer, size_t(n));
    return TRUE;
}

void CString::Format(LPCSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    if (n < 0) {
        m_str.clear();
    } else {
        m_str.resize(size_t(n) + 1);
        std::vsnprintf(&m_str[0], m_str.size(), pszFormat, args);
        m_str.resize(size_t(n));
    }
    va_end(args);
}
