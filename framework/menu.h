// Classes in this file:
//   CMenu - a menu handle the caller lends, such as a window's system menu.
//           This layer creates no menus, so a CMenu never destroys one.
#pragma once

#include <windows.h>

class CMenu
{
public:
// Constructors
    CMenu() : m_hMenu(NULL) {}
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

// Attributes
    HMENU m_hMenu;

// Operations
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR lpszNewItem = NULL)
    {
        return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
    }
};
