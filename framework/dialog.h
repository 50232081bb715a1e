// Classes in this file:
//   CDialog - a dialog box from a template in the resource module, modal
//             (DoModal) or modeless (Create). It owns its window: a modeless
//             dialog's window goes with the object. Moved to a monitor of
//             another scale, it lays itself out from its template again.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

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
    // template's font at nDpi on every control, each control where the
    // template puts it in that font's units, the icon controls' icons at
    // nDpi's size, and the window at lpRect.
    void OnDpiChanged(UINT nDpi, LPRECT lpRect);
    // The window size the template gives at nDpi: Windows then suggests a
    // rectangle of that size in WM_DPICHANGED.
    BOOL OnGetDpiScaledSize(UINT nDpi, LPSIZE lpSize);

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
    std::vector<HWND> m_controls;   // in template order, as created
    CFontHandle m_font;             // the template's font at m_nDpi, once it changed
    std::vector<std::unique_ptr<CIconHandle>> m_icons;  // the icon controls' icons, likewise

    DECLARE_MESSAGE_MAP()
};
