// The class library: everything a window or application source includes.
// A thin layer over Win32 with the classic class names:
//   CString (cstring.h), CCmdTarget and message maps (cmdtarget.h, afxmsg.h),
//   CWnd (wnd.h), CDialog (dialog.h), CDataExchange, DDX_Text, DDV_MaxChars
//   (ddx.h), CWinApp and AfxWinMain (winapp.h), CFileDialog (filedlg.h),
//   CDC and CPaintDC (dc.h), CMenu (menu.h), owned brushes, fonts and icons
//   (handle.h), CDropFiles (dropfiles.h), CClipboardText (clipboard.h),
//   CComThread (com.h), CLiveRegion (liveregion.h), CTaskbarButton
//   (taskbar.h), CWaitCursor (waitcursor.h), metrics at a DPI (dpi.h);
//   reserved IDs in afxres.h.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include "framework/afxres.h"
#include "framework/cstring.h"
#include "framework/afxmsg.h"
#include "framework/cmdtarget.h"
#include "framework/dc.h"
#include "framework/dpi.h"
#include "framework/handle.h"
#include "framework/menu.h"
#include "framework/wnd.h"
#include "framework/ddx.h"
#include "framework/dialog.h"
#include "framework/dropfiles.h"
#include "framework/clipboard.h"
#include "framework/com.h"
#include "framework/liveregion.h"
#include "framework/taskbar.h"
#include "framework/waitcursor.h"
#include "framework/filedlg.h"
#include "framework/winapp.h"
