// Dialogs made from templates in the resource module. DoModal runs its own modal loop: the owner is
// disabled while it runs, and the loop ends by EndDialog, by WM_CLOSE (as IDCANCEL) or by the quit
// message, which is posted again so that every enclosing loop ends too.
#pragma once
#include "framework/Wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// Binds a member control object to the dialog's control nIDC by subclassing it (once).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Creates the dialog, runs it modally and destroys it. Returns the EndDialog result, IDCANCEL when
    // the quit message ended it, or -1 when the dialog could not be created.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    UINT m_nIDHelp = 0;

protected:
    // Runs during WM_INITDIALOG: binds the controls through DoDataExchange. TRUE lets the system
    // give the focus to the first control.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    void OnClose();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK StaticDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND FindOwnerForModal() const;
    void RunModalLoop();

    bool m_bInModalLoop = false;
    bool m_bEndModal = false;
    int m_nModalResult = -1;
};
