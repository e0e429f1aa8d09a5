// A bitmap static control turned into a three-face picture button: normal at rest, hover while the
// pointer is over it (with the sound "focus.wav"), pressed while the left button is held on it.
// Hover is detected by taking the mouse capture on entry and testing every later move against the
// client rectangle. Buttons work in groups of three: entering one resets the other two.
// The control must have the styles SS_BITMAP and SS_NOTIFY (without SS_NOTIFY no mouse input
// arrives).
#pragma once
#include "framework/Afx.h"

// What a click does. Any value other than 0 and 1 quits.
enum HoverAction {
    actionShowChooser = 0, // release the capture, then show the component chooser
    actionOpenReadme = 1,  // show the normal face, then open the readme; the capture stays
    actionQuit = 2,        // release the capture, then post the quit message
};

class CHoverBitmapButton : public CStatic {
public:
    CHoverBitmapButton();
    ~CHoverBitmapButton() override;

    // The faces are lent: the owner keeps them alive as long as the button exists. Setting a face
    // changes nothing on the screen.
    void SetNormalBitmap(HBITMAP hBitmap) { m_hNormalBitmap = hBitmap; }
    void SetHoverBitmap(HBITMAP hBitmap) { m_hHoverBitmap = hBitmap; }
    void SetPressedBitmap(HBITMAP hBitmap) { m_hPressedBitmap = hBitmap; }
    void SetAction(HoverAction nAction) { m_nAction = nAction; }
    // The other two buttons of the group, reset to rest when this one is entered. Not owned.
    void SetSiblings(CHoverBitmapButton* pSibling1, CHoverBitmapButton* pSibling2) {
        m_pSibling1 = pSibling1;
        m_pSibling2 = pSibling2;
    }

    BOOL IsHovering() const { return m_bHovering; }
    BOOL IsPressed() const { return m_bPressed; }

protected:
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);

    DECLARE_MESSAGE_MAP()

private:
    void ResetSiblings();
    void ShowFace(HBITMAP hFace);

    CHoverBitmapButton* m_pSibling1 = nullptr;
    CHoverBitmapButton* m_pSibling2 = nullptr;
    BOOL m_bHovering = FALSE;
    BOOL m_bPressed = FALSE;
    HBITMAP m_hHoverBitmap = nullptr;
    HBITMAP m_hNormalBitmap = nullptr;
    HBITMAP m_hPressedBitmap = nullptr;
    HoverAction m_nAction = actionShowChooser;
};
