#include "app/SingleInstance.h"

BOOL IsAnotherInstanceRunning(LPCSTR pszName) {
    // The handle is deliberately never closed: the mutex's existence while this process runs is the
    // whole signal, and the system closes it when the process ends.
    ::CreateMutexA(nullptr, TRUE, pszName);
    return ::GetLastError() == ERROR_ALREADY_EXISTS;
}

BOOL ActivateRunningInstance(LPCSTR pszName) {
    for (HWND hWnd = ::GetWindow(::GetDesktopWindow(), GW_CHILD); hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        if (!::GetPropA(hWnd, pszName))
            continue;
        if (::IsIconic(hWnd))
            ::ShowWindow(hWnd, SW_RESTORE);
        ::SetForegroundWindow(hWnd);
        ::SetForegroundWindow(::GetLastActivePopup(hWnd));
        return TRUE;
    }
    return FALSE;
}
