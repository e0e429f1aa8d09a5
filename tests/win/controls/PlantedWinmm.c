/* A stand-in winmm.dll planted beside the program and in the current folder: if it is ever loaded
   it leaves a marker file named by PLANTED_WINMM_MARKER. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE hInst, DWORD reason, LPVOID reserved) {
    (void)hInst;
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        char marker[MAX_PATH];
        DWORD n = GetEnvironmentVariableA("PLANTED_WINMM_MARKER", marker, sizeof marker);
        if (n > 0 && n < sizeof marker) {
            HANDLE h = CreateFileA(marker, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
            if (h != INVALID_HANDLE_VALUE)
                CloseHandle(h);
        }
    }
    return TRUE;
}

__declspec(dllexport) BOOL WINAPI PlaySoundA(LPCSTR pszSound, HMODULE hmod, DWORD fdwSound) {
    (void)pszSound;
    (void)hmod;
    (void)fdwSound;
    return TRUE;
}
