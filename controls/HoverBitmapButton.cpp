#include "controls/HoverBitmapButton.h"
#include "controls/Effects.h"

namespace {
const char kHoverSound[] = "focus.wav";
// The pause between showing the hover face on release and running the action, so the face is seen.
const DWORD kClickPauseMs = 100;
} // namespace

BEGIN_MESSAGE_MAP(CHoverBitmapButton, CStatic)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CHoverBitmapButton::CHoverBitmapButton() = default;

CHoverBitmapButton::~CHoverBitmapButton() = default;

void CHoverBitmapButton::ShowFace(HBITMAP hFace) {
    SendMessage(STM_SETIMAGE, IMAGE_BITMAP, LPARAM(hFace));
}

void CHoverBitmapButton::ResetSiblings() {
    for (CHoverBitmapButton* pSibling : {m_pSibling1, m_pSibling2}) {
        // A group that was never wired has no siblings to reset.
        if (!pSibling)
            continue;
        pSibling->ShowFace(pSibling->m_hNormalBitmap);
        pSibling->m_bHovering = FALSE;
        pSibling->m_bPressed = FALSE;
    }
}

void CHoverBitmapButton::OnMouseMove(UINT, CPoint point) {
    Default();
    // The entry does not look at the point: the first move that reaches a resting button enters it,
    // even when that move lies outside (possible only while the button still holds the capture).
    if (!m_bHovering) {
        SetCapture();
        ResetSiblings();
        ShowFace(m_hHoverBitmap);
        m_bHovering = TRUE;
        PlaySoundFile(kHoverSound);
    }
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.PtInRect(point))
        return;
    ::ReleaseCapture();
    ShowFace(m_hNormalBitmap);
    m_bHovering = FALSE;
    m_bPressed = FALSE;
}

void CHoverBitmapButton::OnLButtonDown(UINT, CPoint) {
    Default();
    m_bPressed = TRUE;
    ShowFace(m_hPressedBitmap);
}

void CHoverBitmapButton::OnLButtonUp(UINT, CPoint) {
    Default();
    // The point is not tested: a press still in force fires wherever the release happens.
    if (!m_bPressed)
        return;
    m_bPressed = FALSE;
    m_bHovering = FALSE;
    ShowFace(m_hHoverBitmap);
    ::Sleep(kClickPauseMs);
    switch (m_nAction) {
    case actionShowChooser:
        ::ReleaseCapture();
        RunShowChooserAction();
        break;
    case actionOpenReadme:
        // The capture stays, so the next move that reaches the button enters it again.
        ShowFace(m_hNormalBitmap);
        RunOpenReadmeAction();
        break;
    default:
        ::ReleaseCapture();
        ::PostQuitMessage(0);
        break;
    }
}
