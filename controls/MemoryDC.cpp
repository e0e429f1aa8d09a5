#include "controls/MemoryDC.h"

CMemoryDC::CMemoryDC(CDC* pDC) : m_pTargetDC(pDC), m_bOffscreen(!pDC->IsPrinting()) {
    if (!m_bOffscreen) {
        m_hDC = pDC->m_hDC;
        m_hAttribDC = pDC->m_hAttribDC;
        m_bPrinting = pDC->m_bPrinting;
        return;
    }
    pDC->GetClipBox(&m_rcClip);
    if (!CreateCompatibleDC(pDC))
        AfxThrowResourceException();
    if (!m_bitmap.CreateCompatibleBitmap(pDC, m_rcClip.Width(), m_rcClip.Height()))
        AfxThrowResourceException(); // the base class deletes the context
    m_pOldBitmap = SelectObject(&m_bitmap);
    SetWindowOrg(m_rcClip.left, m_rcClip.top);
}

CMemoryDC::~CMemoryDC() {
    if (m_bOffscreen) {
        m_pTargetDC->BitBlt(m_rcClip.left, m_rcClip.top, m_rcClip.Width(), m_rcClip.Height(), this,
                            m_rcClip.left, m_rcClip.top, SRCCOPY);
        if (m_pOldBitmap)
            SelectObject(m_pOldBitmap);
    } else {
        // Borrowed from the target: not ours to release.
        m_hDC = m_hAttribDC = nullptr;
    }
    // The bitmap is selected out by now; it goes before its context.
    m_bitmap.DeleteObject();
    DeleteDC();
}
