#include "framework/liveregion.h"

#include <oleacc.h>

namespace {

// LiveSetting's identifier, which MinGW's headers lack (uiautomationcore.h,
// Windows 8 on).
const MSAAPROPID kLiveSettingProperty = { 0xc12bcd8e, 0x2a8e, 0x4950, { 0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb } };
const LONG kLiveSettingPolite = 1;

} // namespace

CLiveRegion::CLiveRegion() : m_hWnd(NULL), m_bComInitialized(FALSE), m_pServices(NULL)
{
}

CLiveRegion::~CLiveRegion()
{
    Detach();
}

void CLiveRegion::Attach(HWND hWnd)
{
    Detach();
    m_hWnd = hWnd;
    // The thread is a window's, so a single-threaded apartment, as the file
    // dialog's shell objects want it too. Dynamic Annotation's object lives
    // in System32's oleacc, which COM loads by its registered full path.
    const HRESULT hrInit = ::CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    m_bComInitialized = SUCCEEDED(hrInit);
    IAccPropServices* pServices = NULL;
    if (FAILED(::CoCreateInstance(CLSID_AccPropServices, NULL, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                  reinterpret_cast<void**>(&pServices))))
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
    if (m_bComInitialized) {
        ::CoUninitialize();
        m_bComInitialized = FALSE;
    }
    m_hWnd = NULL;
}

void CLiveRegion::NotifyChanged() const
{
    if (m_hWnd != NULL)
        ::NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, m_hWnd, OBJID_CLIENT, CHILDID_SELF);
}
