// Classes in this file:
//   CComThread - COM for one thread, started once and shared by the objects
//                of its windows that need it (the status line's live
//                region, the taskbar button). COM is looked up in
//                System32's ole32, not imported: the program imports only
//                the core of Windows. Where ole32, COM or a class is
//                missing, CreateInstance gives NULL and nothing fails or
//                waits.
#pragma once

#include <windows.h>

class CComThread
{
public:
// Constructors
    CComThread();
    ~CComThread();
    CComThread(const CComThread&) = delete;
    CComThread& operator=(const CComThread&) = delete;

// Operations
    // Starts COM for the calling thread, a window's, so a single-threaded
    // apartment, as the file dialog's shell objects want it too.
    void Start();
    // Ends it, once every object made with it has been released.
    void Stop();
    // An in-process object of the class, or NULL.
    template <class I>
    I* CreateInstance(REFCLSID clsid, REFIID iid) const
    {
        return static_cast<I*>(Create(clsid, iid));
    }

private:
    void* Create(REFCLSID clsid, REFIID iid) const;

    HMODULE m_hOle32;    // while started
    BOOL m_bInitialized; // CoInitializeEx succeeded, so CoUninitialize is owed
};
