#include "framework/Exception.h"

int CFileException::CauseFromOsError(LONG lOsError) {
    switch (lOsError) {
    case ERROR_FILE_NOT_FOUND:
        return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
        return badPath;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return accessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return sharingViolation;
    case ERROR_HANDLE_EOF:
        return endOfFile;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return diskFull;
    default:
        return genericException;
    }
}

void AfxThrowMemoryException() { throw CMemoryException(); }
void AfxThrowResourceException() { throw CResourceException(); }
void AfxThrowFileException(int cause, LONG lOsError) { throw CFileException(cause, lOsError); }
