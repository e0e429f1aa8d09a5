// A dialog whose background is a picture: a CDib loaded from a bitmap resource and painted on every
// background erase, stretched, centred or tiled. While it holds a picture, push buttons and statics
// draw on a transparent background so the picture shows through; the picture's palette is kept
// realised; a right click or the menu key shows the context menu. Meant as a base class.
#pragma once
#include "framework/Afx.h"
#include "imaging/Dib.h"

// How the picture is laid out on erase. Any value other than 1 and 2 tiles.
enum BackgroundMode {
    BackgroundTile = 0,    // repeated at natural size from the top-left corner, row by row
    BackgroundStretch = 1, // stretched over the whole client area
    BackgroundCenter = 2,  // the dialog's own erase, then the picture at natural size in the middle
};

class CBitmapDialog : public CDialog {
public:
    CBitmapDialog(UINT nIDTemplate, CWnd* pParentWnd);
    ~CBitmapDialog() override;

    // Stores the mode whatever the outcome, then loads the picture. Neither invalidates nor repaints:
    // call it before the dialog is first painted.
    BOOL SetBitmap(UINT nIDResource, int nMode);

protected:
    // Binds nothing and does not call the base; derived dialogs call it from their own.
    void DoDataExchange(CDataExchange* pDX) override;

    void OnContextMenu(CWnd* pWnd, CPoint point);
    BOOL OnEraseBkgnd(CDC* pDC);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    BOOL OnQueryNewPalette();
    void OnPaletteChanged(CWnd* pFocusWnd);

    DECLARE_MESSAGE_MAP()

    CDib m_dib;
    int m_nBackgroundMode;
    CBrush m_brNull; // the stock hollow brush; deleting a stock object does nothing
};
