#include "app/LaunchApp.h"
#include "app/SingleInstance.h"
#include "launcher/LaunchDialog.h"
#include <clocale>

BEGIN_MESSAGE_MAP(CLaunchApp, CWinApp)
END_MESSAGE_MAP()

CLaunchApp theApp;

BOOL CLaunchApp::InitInstance() {
    if (IsAnotherInstanceRunning(m_pszExeName)) {
        ActivateRunningInstance(m_pszExeName);
        return FALSE;
    }
    AfxEnableControlContainer();
    setlocale(LC_ALL, "");

    CLaunchDialog dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    return FALSE;
}
