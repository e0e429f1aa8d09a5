// A menu handle wrapper. The object destroys a menu it holds when it dies, unless detached.
#pragma once
#include "framework/Types.h"

class CWnd;

class CMenu {
public:
    CMenu() noexcept = default;
    virtual ~CMenu() { DestroyMenu(); }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    BOOL Attach(HMENU hMenu) noexcept;
    HMENU Detach() noexcept;
    BOOL LoadMenu(UINT nIDResource) noexcept;
    BOOL DestroyMenu() noexcept;
    // A submenu belongs to its parent menu: the returned wrapper never destroys it.
    CMenu* GetSubMenu(int nPos) const;
    UINT GetMenuItemCount() const noexcept { return UINT(::GetMenuItemCount(m_hMenu)); }
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);
    static CMenu* FromHandle(HMENU hMenu);
    HMENU GetSafeHmenu() const noexcept { return m_hMenu; }
    operator HMENU() const noexcept { return m_hMenu; }

    HMENU m_hMenu = nullptr;
};
