#include "framework/CmdTarget.h"
#include "framework/DC.h"
#include "framework/Wnd.h"

const CMessageMap* CCmdTarget::GetThisMessageMap() {
    static const CMessageMapEntry s_entries[] = {{0, 0, 0, 0, nullptr}};
    static const CMessageMap s_map = {nullptr, s_entries};
    return &s_map;
}

const CMessageMap* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

bool CCmdTarget::DispatchMessageMap(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const UINT code = HIWORD(wParam);
    const UINT id = LOWORD(wParam);
    for (const CMessageMap* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const CMessageMapEntry* e = map->pEntries; e->pfnThunk; ++e) {
            if (e->nMessage != nMsg)
                continue;
            if (nMsg == WM_COMMAND && (e->nCode != code || id < e->nIdFirst || id > e->nIdLast))
                continue;
            *pResult = e->pfnThunk(this, nMsg, wParam, lParam);
            return true;
        }
    }
    return false;
}

namespace fw {
CWnd* WndFromHandle(HWND hWnd) { return CWnd::FromHandle(hWnd); }
CDC* DCFromHandle(HDC hDC) { return CDC::FromHandle(hDC); }
} // namespace fw
