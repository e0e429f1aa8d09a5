// The launcher main window: a borderless window as large as its background picture, with the
// install, read-me and exit pictures at its right-hand side.
#pragma once
#include "framework/Afx.h"

class CLaunchDialog : public CDialog {
public:
    explicit CLaunchDialog(CWnd* pParent = nullptr);
    ~CLaunchDialog() override;

protected:
    BOOL OnInitDialog() override;
    int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    void OnDestroy();
    void OnPaint();
    HCURSOR OnQueryDragIcon();

    HICON m_hIcon;

    DECLARE_MESSAGE_MAP()
};
