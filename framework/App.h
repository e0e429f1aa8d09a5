// The application object. Exactly one object derived from CWinApp exists, with static storage
// duration; AfxWinMain fills in its instance data and calls InitInstance once. When InitInstance
// returns FALSE the process ends without running a message loop.
#pragma once
#include "framework/Wnd.h"

class CWinThread : public CCmdTarget {
public:
    // The main window: the one window whose end closes the application. Cleared when that window
    // is destroyed.
    CWnd* m_pMainWnd = nullptr;

    virtual BOOL InitInstance();
    // The message loop; returns ExitInstance's result when the quit message arrives.
    virtual int Run();
    virtual int ExitInstance();
};

class CWinApp : public CWinThread {
public:
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    HICON LoadIcon(UINT nIDResource) const;

    LPCSTR m_pszAppName = nullptr; // the title of the application's message boxes
    LPCSTR m_pszExeName = nullptr; // the executable's file name without folder and extension
    HINSTANCE m_hInstance = nullptr;

    DECLARE_MESSAGE_MAP()

private:
    friend int AfxWinMain(HINSTANCE, HINSTANCE, LPSTR, int);
    CString m_strAppName;
    CString m_strExeName;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
// Dialogs here never host ActiveX controls, so there is no container support to switch on.
void AfxEnableControlContainer();
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
