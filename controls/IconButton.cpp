#include "controls/IconButton.h"
#include "controls/MemoryDC.h"

namespace {
// One polyline of a border: a move to the first point and lines to the other two, each line
// including its start and excluding its end, with a one-pixel pen of a system colour.
void DrawBorderLine(CDC* pDC, int nSysColor, POINT from, POINT corner, POINT to) {
    CPen pen(PS_SOLID, 0, ::GetSysColor(nSysColor));
    CPen* pOldPen = pDC->SelectObject(&pen);
    pDC->MoveTo(from.x, from.y);
    pDC->LineTo(corner.x, corner.y);
    pDC->LineTo(to.x, to.y);
    if (pOldPen)
        pDC->SelectObject(pOldPen);
}
} // namespace

BEGIN_MESSAGE_MAP(CIconButton, CButton)
ON_WM_CAPTURECHANGED()
ON_WM_SETCURSOR()
ON_WM_KILLFOCUS()
ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CIconButton::CIconButton() {
    ResetNormalBackColor(FALSE);
    ResetNormalTextColor(FALSE);
    ResetActiveBackColor(FALSE);
    ResetActiveTextColor(FALSE);
}

CIconButton::~CIconButton() {
    // One handle may serve both states; it is released once.
    if (m_hIconNormal && m_hIconNormal != m_hIconActive)
        ::DestroyIcon(m_hIconNormal);
    if (m_hIconActive)
        ::DestroyIcon(m_hIconActive);
    if (m_hButtonCursor)
        ::DestroyCursor(m_hButtonCursor);
}

void CIconButton::SetIcon(UINT nIconActive, UINT nIconNormal, BYTE cxIcon, BYTE cyIcon) {
    // A second call replaces the icons of the first, which are released here.
    if (m_hIconNormal && m_hIconNormal != m_hIconActive)
        ::DestroyIcon(m_hIconNormal);
    if (m_hIconActive)
        ::DestroyIcon(m_hIconActive);

    // Size 0 x 0 without LR_DEFAULTSIZE: the icon comes at the resource's own size.
    HINSTANCE hInst = AfxGetResourceHandle();
    m_hIconActive = static_cast<HICON>(
        ::LoadImageA(hInst, MAKEINTRESOURCEA(LOWORD(nIconActive)), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    if (nIconNormal != 0)
        m_hIconNormal = static_cast<HICON>(
            ::LoadImageA(hInst, MAKEINTRESOURCEA(LOWORD(nIconNormal)), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    else
        m_hIconNormal = m_hIconActive;
    m_cxIcon = cxIcon;
    m_cyIcon = cyIcon;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CIconButton::ResetNormalBackColor(BOOL bRepaint) {
    m_crNormalBack = ::GetSysColor(COLOR_BTNFACE);
    if (bRepaint)
        Invalidate(TRUE);
}

void CIconButton::ResetNormalTextColor(BOOL bRepaint) {
    m_crNormalText = ::GetSysColor(COLOR_BTNTEXT);
    if (bRepaint)
        Invalidate(TRUE);
}

void CIconButton::ResetActiveBackColor(BOOL bRepaint) {
    m_crActiveBack = ::GetSysColor(COLOR_BTNFACE);
    if (bRepaint)
        Invalidate(TRUE);
}

void CIconButton::ResetActiveTextColor(BOOL bRepaint) {
    m_crActiveText = ::GetSysColor(COLOR_BTNTEXT);
    if (bRepaint)
        Invalidate(TRUE);
}

void CIconButton::PreSubclassWindow() {
    // Push button and default push button alike become owner-drawn; the low style bits are kept.
    SendMessage(BM_SETSTYLE, (GetStyle() & 0xFF) | BS_OWNERDRAW, TRUE);
    CButton::PreSubclassWindow();
}

void CIconButton::OnMouseMove(UINT nFlags, CPoint point) {
    Default();
    // A pointer that arrives with the left button held (pressed elsewhere) starts no hover look.
    if ((nFlags & MK_LBUTTON) && !m_bMouseOver)
        return;
    if (!m_bFlat)
        return;
    CWnd* pOwner = GetOwner();
    if (::GetCapture() != m_hWnd && pOwner) {
        m_bMouseOver = TRUE;
        SetCapture();
        Invalidate(TRUE);
        return;
    }
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.PtInRect(point))
        return;
    if (m_bMouseOver) {
        m_bMouseOver = FALSE;
        Invalidate(TRUE);
    }
    // Dragged out with the button held: the control's own processing still decides the click.
    if (!(nFlags & MK_LBUTTON))
        ::ReleaseCapture();
}

void CIconButton::OnKillFocus(CWnd*) {
    Default();
    if (m_bFlat && m_bMouseOver) {
        m_bMouseOver = FALSE;
        Invalidate(TRUE);
    }
}

void CIconButton::OnCaptureChanged(CWnd*) {
    if (m_bMouseOver) {
        ::ReleaseCapture();
        Invalidate(TRUE);
    }
    Default();
}

BOOL CIconButton::OnSetCursor(CWnd*, UINT, UINT) {
    if (m_hButtonCursor) {
        ::SetCursor(m_hButtonCursor);
        return TRUE;
    }
    return BOOL(Default());
}

void CIconButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    CMemoryDC dc(CDC::FromHandle(lpDrawItemStruct->hDC));
    const UINT state = lpDrawItemStruct->itemState;
    const BOOL bPressed = (state & ODS_SELECTED) != 0;
    const BOOL bDisabled = (state & ODS_DISABLED) != 0;
    const BOOL bFocus = (state & ODS_FOCUS) != 0;
    const BOOL bActive = m_bMouseOver == TRUE || bPressed;
    const CRect rcItem(lpDrawItemStruct->rcItem);
    CRect rc = rcItem;

    if (!m_bFlat && bFocus) {
        CBrush brFrame(RGB(0, 0, 0));
        dc.FrameRect(&rc, &brFrame);
        rc.DeflateRect(1, 1);
    }
    {
        CBrush brBack(bActive ? m_crActiveBack : m_crNormalBack);
        dc.FillRect(&rc, &brBack);
    }

    const int L = rc.left, T = rc.top, R = rc.right, B = rc.bottom;
    if (bPressed) {
        if (m_bFlat && m_bFlatBorder) {
            DrawBorderLine(&dc, COLOR_BTNSHADOW, {L, B - 1}, {L, T}, {R, T});
            DrawBorderLine(&dc, COLOR_BTNHIGHLIGHT, {L, B - 1}, {R - 1, B - 1}, {R - 1, T - 1});
        } else if (!m_bFlat) {
            CBrush brShadow(::GetSysColor(COLOR_BTNSHADOW));
            dc.FrameRect(&rc, &brShadow);
        }
    } else if (!m_bFlat) {
        DrawBorderLine(&dc, COLOR_BTNHIGHLIGHT, {L, B - 1}, {L, T}, {R, T});
        DrawBorderLine(&dc, COLOR_3DLIGHT, {L + 1, B - 1}, {L + 1, T + 1}, {R, T + 1});
        DrawBorderLine(&dc, COLOR_3DDKSHADOW, {L, B - 1}, {R - 1, B - 1}, {R - 1, T - 1});
        DrawBorderLine(&dc, COLOR_BTNSHADOW, {L + 1, B - 2}, {R - 2, B - 2}, {R - 2, T});
    } else if (m_bMouseOver == TRUE && m_bFlatBorder) {
        DrawBorderLine(&dc, COLOR_BTNHIGHLIGHT, {L, B - 1}, {L, T}, {R, T});
        DrawBorderLine(&dc, COLOR_BTNSHADOW, {L, B - 1}, {R - 1, B - 1}, {R - 1, T - 1});
    }

    CString strCaption;
    GetWindowText(strCaption);
    if (!m_bShowCaption)
        strCaption.Empty();

    CRect rcCaption = rcItem;
    if (m_hIconActive)
        DrawButtonIcon(&dc, strCaption, rcItem, rcCaption, bPressed, bDisabled);

    if (!strCaption.IsEmpty()) {
        if (bPressed)
            rcCaption.OffsetRect(1, 1);
        HFONT hFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
        HGDIOBJ hOldFont = hFont ? ::SelectObject(dc, hFont) : nullptr;
        dc.SetTextColor(bActive ? m_crActiveText : m_crNormalText);
        dc.SetBkColor(bActive ? m_crActiveBack : m_crNormalBack);
        // Measure, then centre in the caption area; a caption wider than its area gets a negative
        // offset, truncated toward zero.
        const CRect rcArea = rcCaption;
        dc.DrawText(strCaption, -1, &rcCaption, DT_SINGLELINE | DT_CALCRECT);
        rcCaption.OffsetRect((rcArea.Width() - rcCaption.Width()) / 2,
                             (rcArea.Height() - rcCaption.Height()) / 2);
        ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(strCaption.GetString()), 0,
                     rcCaption.left, rcCaption.top, rcCaption.Width(), rcCaption.Height(),
                     DST_PREFIXTEXT | (bDisabled ? DSS_DISABLED : 0));
        if (hOldFont)
            ::SelectObject(dc, hOldFont);
    }

    if (bFocus && (!m_bFlat || m_bFlatFocus)) {
        CRect rcFocus = rc;
        rcFocus.DeflateRect(3, 3);
        dc.DrawFocusRect(&rcFocus);
    }
}

void CIconButton::DrawButtonIcon(CDC* pDC, const CString& strCaption, const CRect& rcItem, CRect& rcCaption,
                                 BOOL bPressed, BOOL bDisabled) {
    const bool bHasCaption = !strCaption.IsEmpty();
    CRect rcIcon = rcItem;
    switch (m_nIconAlign) {
    case alignLeft:
        if (bHasCaption) {
            rcIcon.left = rcItem.left + 3;
            rcCaption.left += m_cxIcon + 3;
        } else {
            rcIcon.left += (rcIcon.right - m_cxIcon - rcIcon.left) / 2;
        }
        rcIcon.top += (rcIcon.bottom - m_cyIcon - rcIcon.top) / 2;
        break;
    case alignAbove:
        rcIcon.left += (rcIcon.right - m_cxIcon - rcIcon.left) / 2;
        if (bHasCaption)
            rcCaption.top += m_cyIcon;
        else
            rcIcon.top += (rcIcon.bottom - m_cyIcon - rcIcon.top) / 2;
        break;
    default:
        break;
    }
    if (bPressed)
        rcIcon.OffsetRect(1, 1);

    HICON hIcon = (m_bMouseOver == TRUE || bPressed) ? m_hIconActive : m_hIconNormal;
    // The size reaches to the item's bottom-right corner; the icon itself is drawn unscaled.
    ::DrawStateA(*pDC, nullptr, nullptr, reinterpret_cast<LPARAM>(hIcon), 0, rcIcon.left, rcIcon.top,
                 rcIcon.Width(), rcIcon.Height(), DST_ICON | (bDisabled ? DSS_DISABLED : 0));
}
