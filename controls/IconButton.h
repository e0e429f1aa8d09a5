// An owner-drawn push button showing an icon and its caption. In its default flat look it has no
// border at rest, a thin raised border while the pointer is over it and a thin sunken one while it
// is pressed, when icon and caption also move one pixel right and down. It tracks the pointer by
// taking the mouse capture, and paints through an off-screen context so repaints do not flicker.
// Clicks are left to the control: its click notification goes to the parent as usual.
#pragma once
#include "framework/Afx.h"

// Where the icon goes relative to the caption. Any other value puts the icon at the item's top-left
// corner and leaves the caption area alone.
enum IconAlign {
    alignLeft = 0,  // with a caption: 3 pixels from the left, centred vertically; else centred
    alignAbove = 1, // centred horizontally; with a caption at the top, else centred vertically too
};

class CIconButton : public CButton {
public:
    CIconButton();
    ~CIconButton() override;

    // Loads the icons from the module's resources at their own size; a normal id of 0 uses the active
    // icon in every state. The width and height steer the placement only. Repaints at once.
    void SetIcon(UINT nIconActive, UINT nIconNormal, BYTE cxIcon, BYTE cyIcon);

    void ResetNormalBackColor(BOOL bRepaint = TRUE);
    void ResetNormalTextColor(BOOL bRepaint = TRUE);
    void ResetActiveBackColor(BOOL bRepaint = TRUE);
    void ResetActiveTextColor(BOOL bRepaint = TRUE);
    COLORREF GetNormalBackColor() const { return m_crNormalBack; }
    COLORREF GetNormalTextColor() const { return m_crNormalText; }
    COLORREF GetActiveBackColor() const { return m_crActiveBack; }
    COLORREF GetActiveTextColor() const { return m_crActiveText; }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    void PreSubclassWindow() override;

    void OnCaptureChanged(CWnd* pWnd);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnKillFocus(CWnd* pNewWnd);
    void OnMouseMove(UINT nFlags, CPoint point);

    DECLARE_MESSAGE_MAP()

    // Fixed when the button is made; this program keeps the defaults.
    IconAlign m_nIconAlign = alignLeft;
    BOOL m_bShowCaption = TRUE;
    BOOL m_bFlatBorder = TRUE;
    BOOL m_bFlat = TRUE;
    BOOL m_bMouseOver = FALSE; // the pointer is over the button (flat look only)
    BOOL m_bFlatFocus = FALSE;
    HCURSOR m_hButtonCursor = nullptr; // owned
    HICON m_hIconActive = nullptr;     // owned
    HICON m_hIconNormal = nullptr;     // owned; may be the same handle as m_hIconActive
    BYTE m_cyIcon = 0;
    BYTE m_cxIcon = 0;
    COLORREF m_crNormalBack = 0;
    COLORREF m_crNormalText = 0;
    COLORREF m_crActiveBack = 0;
    COLORREF m_crActiveText = 0;

private:
    void DrawButtonIcon(CDC* pDC, const CString& strCaption, const CRect& rcItem, CRect& rcCaption,
                        BOOL bPressed, BOOL bDisabled);
};
