#include "framework/liveregion.h"

#include <oleacc.h>

#include "framework/syslib.h"

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

CLiveRegion::CLiveRegion()
    : m_hWnd(NULL), m_hOle32(NULL), m_pfnCoUninitialize(NULL), m_pServices(NULL)
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
    // COM is looked up in System32's ole32, not imported: the program
    // imports only the core of Windows. Looked up for each window, not
    // kept: it runs once a window.
    m_hOle32 = AfxLoadSystemLibrary(L"ole32.dll");
    if (m_hOle32 == NULL)
        return;
    typedef HRESULT(WINAPI * COINITIALIZEEX)(LPVOID, DWORD);
    typedef HRESULT(WINAPI * COCREATEINSTANCE)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
    const auto pfnCoInitializeEx = AfxGetProc<COINITIALIZEEX>(m_hOle32, "CoInitializeEx");
    const auto pfnCoCreateInstance = AfxGetProc<COCREATEINSTANCE>(m_hOle32, "CoCreateInstance");
    const auto pfnCoUninitialize = AfxGetProc<void(WINAPI*)()>(m_hOle32, "CoUninitialize");
    if (pfnCoInitializeEx == NULL || pfnCoCreateInstance == NULL || pfnCoUninitialize == NULL)
        return;
    // The thread is a window's, so a single-threaded apartment, as the file
    // dialog's shell objects want it too. Dynamic Annotation's object lives
    // in System32's oleacc, which COM loads by its registered full path.
    if (SUCCEEDED(pfnCoInitializeEx(NULL, COINIT_APARTMENTTHREADED)))
        m_pfnCoUninitialize = pfnCoUninitialize;
    IAccPropServices* pServices = NULL;
    if (FAILED(pfnCoCreateInstance(kAccPropServices, NULL, CLSCTX_INPROC_SERVER, kIAccPropServices,
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
    if (m_pfnCoUninitialize != NULL) {
        m_pfnCoUninitialize();
        m_pfnCoUninitialize = NULL;
    }
    if (m_hOle32 != NULL) {
        ::FreeLibrary(m_hOle32);
        m_hOle32 = NULL;
    }
    m_hWnd = NULL;
}

void CLiveRegion::NotifyChanged() const
{
    if (m_hWnd != NULL)
        ::NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, m_hWnd, OBJID_CLIENT, CHILDID_SELF);
}
