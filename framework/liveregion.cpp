#include "framework/liveregion.h"

#include <oleacc.h>

namespace {

// Declared by uiautomationcore.h from Windows 8 on, which MinGW lacks; the
// values are Windows'. Defined here so no GUID library is linked.
const CLSID kClsidAccPropServices = { 0xb5f8350b, 0x0548, 0x48b1, { 0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7 } };
const IID kIidAccPropServices = { 0x6e26e776, 0x04f0, 0x495d, { 0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69 } };
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
    if (FAILED(::CoCreateInstance(kClsidAccPropServices, NULL, CLSCTX_INPROC_SERVER, kIidAccPropServices,
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
