#include "framework/Menu.h"
#include "framework/App.h"
#include "framework/HandleMap.h"

BOOL CMenu::Attach(HMENU hMenu) noexcept {
    if (!hMenu)
        return FALSE;
    if (m_hMenu && m_hMenu != hMenu)
        DestroyMenu();
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach() noexcept {
    HMENU h = m_hMenu;
    m_hMenu = nullptr;
    return h;
}

BOOL CMenu::LoadMenu(UINT nIDResource) noexcept {
    return Attach(::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource)));
}

BOOL CMenu::DestroyMenu() noexcept {
    if (!m_hMenu)
        return FALSE;
    return ::DestroyMenu(Detach());
}

CMenu* CMenu::GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->m_hWnd : nullptr, lpRect);
}

CMenu* CMenu::FromHandle(HMENU hMenu) {
    return fw::TemporaryFor<CMenu, HMENU>(hMenu, [](CMenu& m, HMENU h) { m.m_hMenu = h; });
}
