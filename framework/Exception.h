// Exceptions of the class library. They are thrown by value and caught by reference; the window
// and dialog procedures catch them at the boundary so none ever crosses into Win32.
#pragma once
#include <windows.h>

class CException {
public:
    virtual ~CException() = default;
};

class CMemoryException : public CException {};

// A GDI object, device context or resource that could not be made or loaded.
class CResourceException : public CException {};

class CFileException : public CException {
public:
    enum Cause { none, genericException, fileNotFound, badPath, accessDenied, sharingViolation, endOfFile,
                 diskFull };
    CFileException(int cause = none, LONG lOsError = 0) : m_cause(cause), m_lOsError(lOsError) {}
    static int CauseFromOsError(LONG lOsError);
    int m_cause;
    LONG m_lOsError;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1);
