// Classes in this file:
//   CDialogLayout - what a dialog template says about the dialog's layout:
//                   its font's point size, its size and each control's
//                   rectangle in dialog units, and the icon an icon control
//                   shows. From it a dialog is laid out again at another DPI.
#pragma once

#include <windows.h>

#include <vector>

class CDialogLayout
{
public:
    struct Item
    {
        RECT rect;          // left, top, width, height in dialog units
        LPCWSTR lpszIcon;   // an icon control's icon resource, else NULL
    };

// Operations
    // Reads template nIDTemplate, classic or extended; FALSE without one,
    // or when it names no font (the system font's dialogs are left to
    // Windows).
    BOOL Load(HINSTANCE hInstance, UINT nIDTemplate);

    // The font the dialog manager made for the dialog, lfDialog, at the
    // template's point size at nDpi; the caller owns it.
    HFONT CreateFontAt(const LOGFONTW& lfDialog, UINT nDpi) const;
    // A font's dialog base units: the pixels of 4 units across, 8 down.
    static SIZE BaseUnits(HFONT hFont);
    // The dialog's client size, or a control's rectangle, in pixels for a
    // font whose dialog base units are sizeBase.
    SIZE ClientSize(SIZE sizeBase) const;
    static RECT ControlRect(const Item& item, SIZE sizeBase);
    // Each of rc's four values from dialog units to pixels on its own, as
    // MapDialogRect maps them.
    static RECT MapRect(RECT rc, SIZE sizeBase);

// Attributes
    std::vector<Item> m_items;  // in creation order

private:
    SIZE m_size = {};           // in dialog units
    WORD m_nPoints = 0;
};
