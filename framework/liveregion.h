// Classes in this file:
//   CLiveRegion - makes one control a polite live region: a screen reader
//                 speaks its new text as it appears, once it has finished
//                 what it is saying. The control is marked through
//                 Dynamic Annotation (LiveSetting), and each change is told
//                 with EVENT_OBJECT_LIVEREGIONCHANGED. Where the mark
//                 cannot be set (Wine, Windows 7) the event is still
//                 raised; nothing fails or waits.
#pragma once

#include <windows.h>

#include "framework/com.h"

struct IAccPropServices;

class CLiveRegion
{
public:
// Constructors
    CLiveRegion();
    ~CLiveRegion();
    CLiveRegion(const CLiveRegion&) = delete;
    CLiveRegion& operator=(const CLiveRegion&) = delete;

// Operations
    // Marks hWnd, a control of this thread, with COM started for it.
    void Attach(HWND hWnd, const CComThread& com);
    // Takes the mark off again; before the control is destroyed, since the
    // mark is kept with the window, and before COM is stopped.
    void Detach();
    // Tells screen readers that the control's text changed.
    void NotifyChanged() const;

private:
    HWND m_hWnd;
    IAccPropServices* m_pServices;  // while the mark is set
};
