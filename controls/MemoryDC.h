// An off-screen drawing context for one paint: drawn on like the target, in the target's
// coordinates, and copied to the target in one BitBlt when it is destroyed, so the paint does not
// flicker. A printing target is drawn on directly.
#pragma once
#include "framework/Afx.h"

class CMemoryDC : public CDC {
public:
    // Throws CResourceException when the off-screen context or bitmap cannot be made.
    explicit CMemoryDC(CDC* pDC);
    ~CMemoryDC() override;
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

private:
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap = nullptr;
    CDC* m_pTargetDC;
    CRect m_rcClip;
    BOOL m_bOffscreen;
};
