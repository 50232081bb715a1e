// Classes in this file:
//   CDialog - a dialog box from a template in the resource module, modal
//             (DoModal) or modeless (Create). It owns its window: a modeless
//             dialog's window goes with the object. Moved to a monitor of
//             another scale, it lays itself out from its template again
//             where the template describes it; any other dialog is left to
//             Windows' own rescaling.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/dlglayout.h"
#include "framework/handle.h"
#include "framework/wnd.h"

class CDialog : public CWnd
{
public:
// Constructors
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    ~CDialog() override;

// Operations
    // Runs the dialog until EndDialog; returns its result, or -1 when the
    // dialog could not be created.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless; the caller pumps its messages.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    void EndDialog(int nResult);

// Attributes
    // The DPI the dialog is laid out for: its window's when created, then
    // the one each WM_DPICHANGED brings.
    UINT GetDpi() const { return m_nDpi; }
    // Dialog units to pixels in the dialog's font at its DPI.
    void MapDialogRect(LPRECT lpRect) const;

// Overridables
    // Called once the controls exist. The default fills them from the
    // members (UpdateData(FALSE)); TRUE lets the system set the focus.
    virtual BOOL OnInitDialog();
    // Called for IDOK (Enter on a dialog without a default button, OK).
    virtual void OnOK();
    // Called for IDCANCEL (Escape, the close box, the system menu's Close).
    virtual void OnCancel();

// Message handlers
    // Lays the dialog out at nDpi as if it had been created at it: the
    // dialog manager's font at nDpi for the dialog and every control, each
    // control where the template puts it in that font's units, the icon
    // controls' icons at nDpi's size, and the window at lpRect. A dialog
    // it cannot lay out is rescaled by Windows and moved to lpRect.
    void OnDpiChanged(UINT nDpi, LPRECT lpRect);
    // The window size the template gives at nDpi, for a dialog that lays
    // itself out: Windows then suggests a rectangle of that size in
    // WM_DPICHANGED. Any other dialog gets Windows' answer.
    BOOL OnGetDpiScaledSize(UINT nDpi, LPSIZE lpSize);
    // The dialog's font: the one at its DPI once that changed.
    HFONT OnGetFont();

protected:
    LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    // The dialog procedure of every CDialog: finds the object and calls its
    // WindowProc.
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The object's window procedure, in the dialog procedure's terms; what
    // it does is step 2 of the life of a message (afxmsg.h).
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // The message CallDefault hands to DefDlgProc. DefDlgProc first calls
    // the dialog procedure, which must then decline it once so the default
    // runs instead of coming back to the handler.
    struct DefaultCall
    {
        bool bActive;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    DefaultCall m_defaultCall;
    bool m_bModeless;

    UINT m_nDpi;
    // Whether the dialog lays itself out at a new DPI, decided when it is
    // created: its template names a font and describes every control.
    bool m_bOwnLayout;
    CDialogLayout m_layout;
    LOGFONTW m_lfDialog;            // the dialog manager's font, as created
    std::vector<HWND> m_controls;   // in template order, as created
    CFontHandle m_font;             // the dialog's font at m_nDpi, once it changed
    std::vector<CIconHandle> m_icons;  // the icon controls' icons, likewise

    DECLARE_MESSAGE_MAP()
};
