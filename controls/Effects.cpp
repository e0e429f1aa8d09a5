#include "controls/Effects.h"
#include <mmsystem.h>

namespace {
using PlaySoundAFn = BOOL(WINAPI*)(LPCSTR, HMODULE, DWORD);

// The sound library is loaded from the system folder by its full path, never by a bare name: a
// winmm.dll on the disc beside the program or in the current folder must never be loaded.
PlaySoundAFn LoadPlaySound() {
    char path[MAX_PATH + 16] = "";
    const UINT n = ::GetSystemDirectoryA(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return nullptr;
    ::lstrcatA(path, "\\winmm.dll");
    // Its own dependencies come from the system folder too; the second form is for systems that
    // lack the search flags.
    HMODULE hWinmm = ::LoadLibraryExA(path, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!hWinmm && ::GetLastError() == ERROR_INVALID_PARAMETER)
        hWinmm = ::LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!hWinmm)
        return nullptr;
    return reinterpret_cast<PlaySoundAFn>(reinterpret_cast<void*>(::GetProcAddress(hWinmm, "PlaySoundA")));
}

void PlayWithWinmm(const CString& strFileName) {
    // Loaded on first use, once; the library stays loaded for the life of the process.
    static const PlaySoundAFn s_pfnPlaySound = LoadPlaySound();
    if (s_pfnPlaySound)
        s_pfnPlaySound(strFileName, nullptr, SND_FILENAME);
}

SoundPlayerFn g_pfnSoundPlayer = &PlayWithWinmm;
HoverActionFn g_pfnShowChooser = nullptr;
HoverActionFn g_pfnOpenReadme = nullptr;
} // namespace

void PlaySoundFile(CString strFileName) {
    g_pfnSoundPlayer(strFileName);
}

SoundPlayerFn SetSoundPlayer(SoundPlayerFn pfnPlayer) {
    const SoundPlayerFn previous = g_pfnSoundPlayer;
    g_pfnSoundPlayer = pfnPlayer ? pfnPlayer : &PlayWithWinmm;
    return previous;
}

void SetHoverActionHandlers(HoverActionFn pfnShowChooser, HoverActionFn pfnOpenReadme) {
    g_pfnShowChooser = pfnShowChooser;
    g_pfnOpenReadme = pfnOpenReadme;
}

void RunShowChooserAction() {
    if (g_pfnShowChooser)
        g_pfnShowChooser();
}

void RunOpenReadmeAction() {
    if (g_pfnOpenReadme)
        g_pfnOpenReadme();
}
