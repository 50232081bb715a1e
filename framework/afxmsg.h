// Message maps: the static table through which a class binds messages and
// commands to its member handlers, and the macros that write it.
//
// The life of a message sent to a dialog:
//  1. The system calls CDialog::DialogProc, which finds the object through
//     DWLP_USER and hands the message to its WindowProc.
//  2. WindowProc keeps the message for Default(), runs OnInitDialog,
//     detaches the object when the window goes, and sends the rest to
//     OnWndMsg; it returns the result as the system expects it for that
//     message (directly, or in DWLP_MSGRESULT).
//  3. CWnd::OnWndMsg unpacks the message (command ID and code, colour kind)
//     and CCmdTarget::DispatchMsg searches the maps, derived map first, then
//     each base's; a command no window row takes goes on to the application.
//  4. A handler that wants the system's behaviour calls Default() or
//     CallDefault(), which runs DefDlgProc; DefDlgProc calls the dialog
//     procedure once more, and WindowProc declines that one call, so the
//     default runs instead of coming back to the handler.
//
// A map is an array of rows (message, notification code, first ID, last ID,
// signature, handler) ending in a row of zeros, linked to its base class's
// map. A registered message's row names the variable that holds its ID.
#pragma once

#include <windows.h>

class CCmdTarget;
class CDC;
class CWnd;

// Win16's single colour message. Win32 splits it into WM_CTLCOLOREDIT and
// the rest; rows use this one code and receive the kind as nCtlColor.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

// How a handler's arguments are unpacked from the message.
enum AfxSig : UINT
{
    AfxSig_end = 0,         // the row that ends a map
    AfxSig_vv,              // void ()
    AfxSig_vwl,             // void (UINT, LPARAM)
    AfxSig_hcurv,           // HCURSOR ()
    AfxSig_hbrDWu,          // HBRUSH (CDC*, CWnd*, UINT)
    AfxSig_vD,              // void (HDROP)
    AfxSig_vuR,             // void (UINT, LPRECT)
    AfxSig_buS,             // BOOL (UINT, LPSIZE)
    AfxSig_hfv,             // HFONT ()
    AfxSig_vp,              // void (UINT_PTR)
    AfxSig_lwl,             // LRESULT (WPARAM, LPARAM)
};

// A row's handler: one member per signature, the one the row's AfxSig
// names being the one set. Each constructor picks its member by type, so
// no pointer is ever cast to a signature it does not have.
union AFX_PMSGFN
{
    void (CCmdTarget::*pfn_vv)();
    void (CCmdTarget::*pfn_vwl)(UINT, LPARAM);
    HCURSOR (CCmdTarget::*pfn_hcurv)();
    HBRUSH (CCmdTarget::*pfn_hbrDWu)(CDC*, CWnd*, UINT);
    void (CCmdTarget::*pfn_vD)(HDROP);
    void (CCmdTarget::*pfn_vuR)(UINT, LPRECT);
    BOOL (CCmdTarget::*pfn_buS)(UINT, LPSIZE);
    HFONT (CCmdTarget::*pfn_hfv)();
    void (CCmdTarget::*pfn_vp)(UINT_PTR);
    LRESULT (CCmdTarget::*pfn_lwl)(WPARAM, LPARAM);

    AFX_PMSGFN() : pfn_vv(nullptr) {}
    AFX_PMSGFN(void (CCmdTarget::*pfn)()) : pfn_vv(pfn) {}
    AFX_PMSGFN(void (CCmdTarget::*pfn)(UINT, LPARAM)) : pfn_vwl(pfn) {}
    AFX_PMSGFN(HCURSOR (CCmdTarget::*pfn)()) : pfn_hcurv(pfn) {}
    AFX_PMSGFN(HBRUSH (CCmdTarget::*pfn)(CDC*, CWnd*, UINT)) : pfn_hbrDWu(pfn) {}
    AFX_PMSGFN(void (CCmdTarget::*pfn)(HDROP)) : pfn_vD(pfn) {}
    AFX_PMSGFN(void (CCmdTarget::*pfn)(UINT, LPRECT)) : pfn_vuR(pfn) {}
    AFX_PMSGFN(BOOL (CCmdTarget::*pfn)(UINT, LPSIZE)) : pfn_buS(pfn) {}
    AFX_PMSGFN(HFONT (CCmdTarget::*pfn)()) : pfn_hfv(pfn) {}
    AFX_PMSGFN(void (CCmdTarget::*pfn)(UINT_PTR)) : pfn_vp(pfn) {}
    AFX_PMSGFN(LRESULT (CCmdTarget::*pfn)(WPARAM, LPARAM)) : pfn_lwl(pfn) {}
};

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;      // WM_COMMAND, WM_PAINT, ... (WM_CTLCOLOR for all colour messages)
    UINT nCode;         // notification code of a WM_COMMAND, else 0
    UINT nID;           // first control or command ID, 0 for window messages
    UINT nLastID;       // last ID of the range (== nID for one control)
    AfxSig nSig;
    AFX_PMSGFN pfn;
    const UINT* pnMessage = nullptr;    // a registered message: its ID, known once the program runs
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();   // NULL only for CCmdTarget's
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// In the class declaration. Leaves the access at protected, as it was found
// in the framework this copies.
#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() \
    { \
        using ThisClass [[maybe_unused]] = theClass; \
        using TheBaseClass = baseClass; \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP() \
            { 0, 0, 0, 0, AfxSig_end, AFX_PMSGFN() } \
        }; \
        static const AFX_MSGMAP messageMap = { &TheBaseClass::GetThisMessageMap, &_messageEntries[0] }; \
        return &messageMap; \
    }

// The static_cast checks the handler's signature at compile time and
// names the member of the handler's class as one of CCmdTarget's.
#define AFX_MSG_HANDLER(type, memberFxn) \
    AFX_PMSGFN(static_cast<type>(&ThisClass::memberFxn))

#define ON_COMMAND(id, memberFxn) \
    { WM_COMMAND, 0, (UINT)(id), (UINT)(id), AfxSig_vv, \
      AFX_MSG_HANDLER(void (CCmdTarget::*)(), memberFxn) },

#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    { WM_COMMAND, (UINT)(wNotifyCode), (UINT)(id), (UINT)(id), AfxSig_vv, \
      AFX_MSG_HANDLER(void (CCmdTarget::*)(), memberFxn) },

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)

#define ON_WM_PAINT() \
    { WM_PAINT, 0, 0, 0, AfxSig_vv, AFX_MSG_HANDLER(void (CCmdTarget::*)(), OnPaint) },

#define ON_WM_SYSCOMMAND() \
    { WM_SYSCOMMAND, 0, 0, 0, AfxSig_vwl, \
      AFX_MSG_HANDLER(void (CCmdTarget::*)(UINT, LPARAM), OnSysCommand) },

#define ON_WM_QUERYDRAGICON() \
    { WM_QUERYDRAGICON, 0, 0, 0, AfxSig_hcurv, \
      AFX_MSG_HANDLER(HCURSOR (CCmdTarget::*)(), OnQueryDragIcon) },

#define ON_WM_CTLCOLOR() \
    { WM_CTLCOLOR, 0, 0, 0, AfxSig_hbrDWu, \
      AFX_MSG_HANDLER(HBRUSH (CCmdTarget::*)(CDC*, CWnd*, UINT), OnCtlColor) },

#define ON_WM_DESTROY() \
    { WM_DESTROY, 0, 0, 0, AfxSig_vv, AFX_MSG_HANDLER(void (CCmdTarget::*)(), OnDestroy) },

// The clipboard's contents changed, for a window that listens
// (AddClipboardFormatListener).
#define ON_WM_CLIPBOARDUPDATE() \
    { WM_CLIPBOARDUPDATE, 0, 0, 0, AfxSig_vv, AFX_MSG_HANDLER(void (CCmdTarget::*)(), OnClipboardUpdate) },

// A timer the window set with SetTimer, by its ID.
#define ON_WM_TIMER() \
    { WM_TIMER, 0, 0, 0, AfxSig_vp, AFX_MSG_HANDLER(void (CCmdTarget::*)(UINT_PTR), OnTimer) },

// A message registered with RegisterWindowMessage, by the variable that
// holds its ID.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn) \
    { 0xC000, 0, 0, 0, AfxSig_lwl, \
      AFX_MSG_HANDLER(LRESULT (CCmdTarget::*)(WPARAM, LPARAM), memberFxn), &nMessageVariable },

#define ON_WM_DROPFILES() \
    { WM_DROPFILES, 0, 0, 0, AfxSig_vD, AFX_MSG_HANDLER(void (CCmdTarget::*)(HDROP), OnDropFiles) },

// The new DPI (the vertical one; both are the same) and the window
// rectangle Windows suggests for it.
#define ON_WM_DPICHANGED() \
    { WM_DPICHANGED, 0, 0, 0, AfxSig_vuR, AFX_MSG_HANDLER(void (CCmdTarget::*)(UINT, LPRECT), OnDpiChanged) },

#define ON_WM_GETDPISCALEDSIZE() \
    { WM_GETDPISCALEDSIZE, 0, 0, 0, AfxSig_buS, \
      AFX_MSG_HANDLER(BOOL (CCmdTarget::*)(UINT, LPSIZE), OnGetDpiScaledSize) },

#define ON_WM_GETFONT() \
    { WM_GETFONT, 0, 0, 0, AfxSig_hfv, AFX_MSG_HANDLER(HFONT (CCmdTarget::*)(), OnGetFont) },
