#include "framework/com.h"

#include "framework/syslib.h"

CComThread::CComThread() : m_hOle32(NULL), m_bInitialized(FALSE)
{
}

CComThread::~CComThread()
{
    Stop();
}

void CComThread::Start()
{
    Stop();
    m_hOle32 = AfxLoadSystemLibrary(L"ole32.dll");
    typedef HRESULT(WINAPI * COINITIALIZEEX)(LPVOID, DWORD);
    const auto pfnCoInitializeEx = AfxGetProc<COINITIALIZEEX>(m_hOle32, "CoInitializeEx");
    m_bInitialized = pfnCoInitializeEx != NULL && SUCCEEDED(pfnCoInitializeEx(NULL, COINIT_APARTMENTTHREADED));
}

void CComThread::Stop()
{
    const auto pfnCoUninitialize = AfxGetProc<void(WINAPI*)()>(m_hOle32, "CoUninitialize");
    if (m_bInitialized && pfnCoUninitialize != NULL)
        pfnCoUninitialize();
    m_bInitialized = FALSE;
    if (m_hOle32 != NULL) {
        ::FreeLibrary(m_hOle32);
        m_hOle32 = NULL;
    }
}

// Looked up at each call: objects are made a few times in a window's life.
// A thread already in another apartment (CoInitializeEx failed) can still
// make objects.
void* CComThread::Create(REFCLSID clsid, REFIID iid) const
{
    typedef HRESULT(WINAPI * COCREATEINSTANCE)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
    const auto pfnCoCreateInstance = AfxGetProc<COCREATEINSTANCE>(m_hOle32, "CoCreateInstance");
    void* pObject = NULL;
    if (pfnCoCreateInstance == NULL ||
        FAILED(pfnCoCreateInstance(clsid, NULL, CLSCTX_INPROC_SERVER, iid, &pObject)))
        return NULL;
    return pObject;
}
