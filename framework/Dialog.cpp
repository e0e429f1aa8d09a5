#include "framework/Dialog.h"
#include "framework/App.h"

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd)
        return;
    HWND hCtl = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
    if (hCtl)
        rControl.SubclassWindow(hCtl);
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
ON_WM_CLOSE()
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() = default;

INT_PTR CALLBACK CDialog::StaticDlgProc(HWND, UINT message, WPARAM, LPARAM lParam) {
    // Every message reaches the object through its window procedure first; only the initialisation
    // has to come this way, because the dialog manager sets the focus from its result.
    if (message != WM_INITDIALOG)
        return FALSE;
    auto* pDlg = reinterpret_cast<CDialog*>(lParam);
    try {
        return pDlg->OnInitDialog();
    } catch (...) {
        return TRUE;
    }
}

HWND CDialog::FindOwnerForModal() const {
    HWND hOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!hOwner) {
        CWinApp* pApp = AfxGetApp();
        if (pApp && pApp->m_pMainWnd && pApp->m_pMainWnd != this)
            hOwner = pApp->m_pMainWnd->m_hWnd;
    }
    // Only a top-level window can own a popup.
    while (hOwner && (::GetWindowLongA(hOwner, GWL_STYLE) & WS_CHILD))
        hOwner = ::GetParent(hOwner);
    return hOwner;
}

INT_PTR CDialog::DoModal() {
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRes = ::FindResourceA(hInst, MAKEINTRESOURCEA(m_nIDTemplate), MAKEINTRESOURCEA(5)); // RT_DIALOG
    HGLOBAL hTemplate = hRes ? ::LoadResource(hInst, hRes) : nullptr;
    auto* pTemplate = static_cast<LPCDLGTEMPLATEA>(hTemplate ? ::LockResource(hTemplate) : nullptr);
    if (!pTemplate || m_hWnd)
        return -1;

    HWND hOwner = FindOwnerForModal();
    bool bEnabledOwner = false;
    if (hOwner && ::IsWindowEnabled(hOwner)) {
        ::EnableWindow(hOwner, FALSE);
        bEnabledOwner = true;
    }

    m_bEndModal = false;
    m_nModalResult = -1;
    HWND hDlg;
    {
        CreationScope scope(this, "#32770");
        hDlg = ::CreateDialogIndirectParamA(hInst, pTemplate, hOwner, &CDialog::StaticDlgProc,
                                            reinterpret_cast<LPARAM>(this));
    }

    INT_PTR result = -1;
    if (hDlg && m_hWnd == hDlg) {
        if (!m_bEndModal) {
            if (!::IsWindowVisible(m_hWnd))
                ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
            RunModalLoop();
        }
        result = m_nModalResult;
        if (m_hWnd)
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    } else if (hDlg) {
        ::DestroyWindow(hDlg);
    }

    // Enable the owner before this window goes, so that activation returns to it.
    if (bEnabledOwner)
        ::EnableWindow(hOwner, TRUE);
    if (hOwner && m_hWnd && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hOwner);
    DestroyWindow();
    return result;
}

void CDialog::RunModalLoop() {
    m_bInModalLoop = true;
    MSG msg;
    while (!m_bEndModal && m_hWnd) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1)
            break;
        if (!got) {
            // The quit message ends every loop: pass it on to the enclosing one.
            ::PostQuitMessage(int(msg.wParam));
            m_nModalResult = IDCANCEL;
            break;
        }
        if (!::IsDialogMessageA(m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    m_bInModalLoop = false;
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    m_bEndModal = true;
    // Wake the loop in case nothing else is queued.
    if (m_bInModalLoop && m_hWnd)
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnClose() { OnCancel(); }
