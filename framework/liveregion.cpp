#include "framework/liveregion.h"

#include <oleacc.h>

namespace {

// The IDs are the program's own: MinGW keeps the two of oleacc.h in
// libuuid, one object with every GUID it knows, which would grow the
// program by about 45 KB. LiveSetting's (uiautomationcore.h, Windows 8 on)
// is not in MinGW's headers at all.
const CLSID kAccPropServices = { 0xb5f8350b, 0x0548, 0x48b1, { 0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7 } };
const IID kIAccPropServices = { 0x6e26e776, 0x04f0, 0x495d, { 0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69 } };
const MSAAPROPID kLiveSettingProperty = { 0xc12bcd8e, 0x2a8e, 0x4950, { 0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb } };
const LONG kLiveSettingPolite = 1;

} // namespace

CLiveRegion::CLiveRegion() : m_hWnd(NULL), m_pServices(NULL)
{
}

CLiveRegion::~CLiveRegion()
{
    Detach();
}

void CLiveRegion::Attach(HWND hWnd, const CComThread& com)
{
    Detach();
    m_hWnd = hWnd;
    // Dynamic Annotation's object lives in System32's oleacc, which COM
    // loads by its registered full path.
    IAccPropServices* pServices = com.CreateInstance<IAccPropServices>(kAccPropServices, kIAccPropServices);
    if (pServices == NULL)
        return;
    VARIANT var = {};
    var.vt = VT_I4;
    var.lVal = kLiveSettingPolite;
    if (SUCCEEDED(pServices->SetHwndProp(hWnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                         kLiveSettingProperty, var)))
        m_pServices = pServices;
    else
        pServices->Release();
}

void CLiveRegion::Detach()
{
    if (m_pServices != NULL) {
        m_pServices->ClearHwndProps(m_hWnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &kLiveSettingProperty, 1);
        m_pServices->Release();
        m_pServices = NULL;
    }
    m_hWnd = NULL;
}

void CLiveRegion::NotifyChanged() const
{
    if (m_hWnd != NULL)
        ::NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, m_hWnd, OBJID_CLIENT, CHILDID_SELF);
}
