#include "framework/App.h"
#include "framework/PathRules.h"
#include <vector>

namespace {
CWinApp* g_pApp = nullptr;
HINSTANCE g_hResource = nullptr;

// The full path of the running executable, however long.
std::string ModulePath() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetModuleFileNameA(nullptr, buffer.data(), DWORD(buffer.size()));
        if (n == 0)
            return std::string();
        if (n < buffer.size())
            return std::string(buffer.data(), n);
        if (buffer.size() >= 32768)
            return std::string(buffer.data(), buffer.size());
        buffer.resize(buffer.size() * 2);
    }
}

// A program started from a disc or a download folder must never load a DLL planted beside it or in
// the current folder: DLLs loaded at run time come from the system folder only.
void RestrictDllSearch() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    HMODULE hKernel = ::GetModuleHandleA("kernel32.dll");
    auto pfn = hKernel ? reinterpret_cast<SetDefaultDllDirectoriesFn>(
                             reinterpret_cast<void*>(::GetProcAddress(hKernel, "SetDefaultDllDirectories")))
                       : nullptr;
    if (pfn)
        pfn(LOAD_LIBRARY_SEARCH_SYSTEM32);
    ::SetDllDirectoryA("");
}
} // namespace

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::Run() {
    MSG msg;
    BOOL got;
    while ((got = ::GetMessageA(&msg, nullptr, 0, 0)) != 0 && got != -1) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return ExitInstance();
}

int CWinThread::ExitInstance() { return 0; }

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR lpszAppName) {
    g_pApp = this;
    if (lpszAppName) {
        m_strAppName = lpszAppName;
        m_pszAppName = m_strAppName;
    }
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}

CWinApp* AfxGetApp() { return g_pApp; }

HINSTANCE AfxGetInstanceHandle() {
    if (g_pApp && g_pApp->m_hInstance)
        return g_pApp->m_hInstance;
    return ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() { return g_hResource ? g_hResource : AfxGetInstanceHandle(); }

void AfxSetResourceHandle(HINSTANCE hInstResource) { g_hResource = hInstResource; }

void AfxEnableControlContainer() {}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    RestrictDllSearch();
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return -1;
    pApp->m_hInstance = hInstance;
    pApp->m_strExeName = fw::InstanceNameFromPath(ModulePath()).c_str();
    pApp->m_pszExeName = pApp->m_strExeName;
    if (!pApp->m_pszAppName) {
        pApp->m_strAppName = pApp->m_strExeName;
        pApp->m_pszAppName = pApp->m_strAppName;
    }
    if (!pApp->InitInstance())
        return pApp->ExitInstance();
    return pApp->Run();
}
