#include "controls/BitmapDialog.h"
#include "res/resource.h"
#include <mbstring.h>

namespace {
// Trackbars ask for their colours as statics do, but must keep their normal look.
const char kTrackbarClass[] = "msctls_trackbar32";
// Where the menu opens when it is asked for from the keyboard: this far inside the client area.
const int kKeyboardMenuInset = 5;
} // namespace

BEGIN_MESSAGE_MAP(CBitmapDialog, CDialog)
ON_WM_CONTEXTMENU()
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
ON_WM_QUERYNEWPALETTE()
ON_WM_PALETTECHANGED()
END_MESSAGE_MAP()

CBitmapDialog::CBitmapDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(nIDTemplate, pParentWnd) {
    m_nBackgroundMode = BackgroundTile;
    m_brNull.CreateStockObject(NULL_BRUSH);
}

CBitmapDialog::~CBitmapDialog() = default;

void CBitmapDialog::DoDataExchange(CDataExchange*) {}

BOOL CBitmapDialog::SetBitmap(UINT nIDResource, int nMode) {
    m_nBackgroundMode = nMode;
    return m_dib.LoadFromResource(MAKEINTRESOURCEA(nIDResource));
}

BOOL CBitmapDialog::OnEraseBkgnd(CDC* pDC) {
    if (!m_dib.GetBits())
        return BOOL(Default());
    CRect rcClient;
    GetClientRect(&rcClient);
    const int cw = rcClient.Width();
    const int ch = rcClient.Height();

    switch (m_nBackgroundMode) {
    case BackgroundStretch:
        m_dib.Stretch(pDC, 0, 0, cw, ch);
        return TRUE;
    case BackgroundCenter:
        Default();
        // Truncated toward zero: a picture larger than the client area gets a negative origin.
        m_dib.Draw(pDC, (cw - m_dib.GetWidth()) / 2, (ch - m_dib.GetHeight()) / 2);
        return TRUE;
    default: {
        const int width = m_dib.GetWidth();
        const int height = m_dib.GetHeight();
        // A picture without extent cannot be tiled (the loop would never advance).
        if (width <= 0 || height <= 0)
            return BOOL(Default());
        for (int y = 0; y < ch; y += height)
            for (int x = 0; x < cw; x += width)
                m_dib.Draw(pDC, x, y);
        return TRUE;
    }
    }
}

HBRUSH CBitmapDialog::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    if (!m_dib.GetBits())
        return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    switch (nCtlColor) {
    case CTLCOLOR_BTN:
        break;
    case CTLCOLOR_STATIC: {
        char className[256] = "";
        ::GetClassNameA(pWnd ? pWnd->m_hWnd : nullptr, className, sizeof className);
        if (::_mbscmp(reinterpret_cast<const unsigned char*>(className),
                      reinterpret_cast<const unsigned char*>(kTrackbarClass)) == 0)
            return CDialog::OnCtlColor(pDC, pWnd, CTLCOLOR_STATIC);
        break;
    }
    default:
        return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    }
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(m_brNull.m_hObject);
}

BOOL CBitmapDialog::OnQueryNewPalette() {
    if (!m_dib.m_pPalette || !m_hWnd)
        return BOOL(Default());
    UINT nChanged;
    {
        CClientDC dc(this);
        CPalette* pOldPalette = dc.SelectPalette(m_dib.m_pPalette, FALSE);
        nChanged = dc.RealizePalette();
        dc.SelectPalette(pOldPalette, TRUE);
    }
    if (nChanged == 0)
        return FALSE;
    // Erased again, so the picture is redrawn with the new colours.
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

void CBitmapDialog::OnPaletteChanged(CWnd* pFocusWnd) {
    // A change made by this dialog or one of its children needs no answer.
    const HWND hFocus = pFocusWnd ? pFocusWnd->m_hWnd : nullptr;
    if (!m_dib.m_pPalette || !m_hWnd || hFocus == m_hWnd || ::IsChild(m_hWnd, hFocus)) {
        Default();
        return;
    }
    UINT nChanged;
    {
        CClientDC dc(this);
        CPalette* pOldPalette = dc.SelectPalette(m_dib.m_pPalette, TRUE);
        nChanged = dc.RealizePalette();
        dc.SelectPalette(pOldPalette, TRUE);
    }
    if (nChanged != 0)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CBitmapDialog::OnContextMenu(CWnd*, CPoint point) {
    if (point.x == -1 && point.y == -1) {
        // Asked for from the keyboard: just inside the client area's top-left corner.
        CRect rcClient;
        GetClientRect(&rcClient);
        ClientToScreen(&rcClient);
        point = CPoint(rcClient.left + kKeyboardMenuInset, rcClient.top + kKeyboardMenuInset);
    }
    CMenu menu;
    if (!menu.Attach(::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_CONTEXTMENU))))
        return;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (!pPopup)
        return;
    // The first window up the chain that is not a child owns the menu and receives its commands.
    CWnd* pOwner = this;
    while (pOwner->GetStyle() & WS_CHILD) {
        CWnd* pParent = pOwner->GetParent();
        if (!pParent)
            break;
        pOwner = pParent;
    }
    pPopup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, pOwner);
    menu.DestroyMenu();
}
