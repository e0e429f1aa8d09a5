// The launcher main window: a borderless window as large as its background picture, with the
// install, read-me and exit pictures at its right-hand side.
#pragma once
#include "controls/BitmapDialog.h"
#include "controls/HoverBitmapButton.h"

class CLaunchDialog : public CBitmapDialog {
public:
    explicit CLaunchDialog(CWnd* pParent = nullptr);
    ~CLaunchDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    void OnDestroy();
    void OnPaint();
    HCURSOR OnQueryDragIcon();

    CHoverBitmapButton m_btnReadme;
    CHoverBitmapButton m_btnQuit;
    CHoverBitmapButton m_btnInstall;
    HICON m_hIcon; // icon 128, shared by the module: never destroyed

    DECLARE_MESSAGE_MAP()
};
