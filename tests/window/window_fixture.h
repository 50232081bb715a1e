// Shared by the main window's tests: the real dialog created modeless and
// shown, files in a fresh folder of their own, and a recorder of the
// messages a control receives.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/dialog_hooks.h"
#include "tests/support/import_patch.h"
#include "window/hashdlg.h"

// The window state and handlers, reachable from the tests.
class CTestHashDlg : public CHashDlg
{
public:
    using CHashDlg::HashFile;
    using CHashDlg::UseFile;
};

class HashDlgTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    HWND Item(int nID) const { return ::GetDlgItem(m_dlg.m_hWnd, nID); }
    std::string Text(int nID) const { return WindowText(Item(nID)); }
    void Type(const std::string& text);     // replaces the Input field's text
    void Click(int nID);                    // BM_CLICK, then lets messages through
    int Position() const;                   // the progress bar's position
    // The state File leaves behind once it has chosen path, for paths its
    // dialog cannot return under Wine or that need no dialog.
    void UseFile(const std::string& path);

    // A file in this test's own folder, written with the given bytes;
    // returns its full path.
    std::string MakeFile(const std::string& name, const std::string& bytes);
    // A file at a full path, which may be longer than MAX_PATH.
    void MakeLongFile(const std::string& path, const std::string& bytes);
    std::string Dir() const { return m_dir; }
    // Puts text on the clipboard, as another program would, or empties it.
    void SetClipboard(const std::string& text);
    // The same, and waits until the dialog has heard of the change.
    void Copy(const std::string& text);
    // Runs change, which sets the clipboard, and waits likewise.
    void ChangeClipboard(const std::function<void()>& change);

    CTestHashDlg m_dlg;

private:
    std::string m_dir;
    HWND m_hWndCopier = NULL;   // owns what the test puts on the clipboard
};

// Records the messages in `which` that reach a window, by subclassing it,
// and calls onEntry (if given) with each before the window sees it. Logs
// on one window nest.
class MessageLog
{
public:
    struct Entry;
    MessageLog(HWND hWnd, std::vector<UINT> which, std::function<void(const Entry&)> onEntry = nullptr);
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    struct Entry
    {
        UINT message;
        WPARAM wParam;
        std::string text;   // for WM_SETTEXT: the text set
    };
    const std::vector<Entry>& Entries() const { return m_entries; }
    std::vector<WPARAM> Params(UINT message) const;
    std::vector<std::string> Texts() const;     // every WM_SETTEXT's text

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    HWND m_hWnd;
    std::vector<UINT> m_which;
    std::function<void(const Entry&)> m_onEntry;
    std::vector<Entry> m_entries;
};

extern "C" decltype(&::GetProcAddress) __imp_GetProcAddress;

// For this object's life, the CoCreateInstance the program looks up in
// ole32 makes pObject for clsid, and real objects of other classes.
class CoCreateInstancePatch
{
public:
    CoCreateInstancePatch(const CLSID& clsid, IUnknown* pObject)
        : m_patch(&__imp_GetProcAddress, &GetProc)
    {
        s_clsid = clsid;
        s_pObject = pObject;
    }

private:
    static HRESULT WINAPI CreateInstance(REFCLSID rclsid, LPUNKNOWN pOuter, DWORD dwContext, REFIID riid, LPVOID* ppv);
    static FARPROC WINAPI GetProc(HMODULE hModule, LPCSTR lpszName);

    static inline CLSID s_clsid = {};
    static inline IUnknown* s_pObject = nullptr;
    static inline const decltype(&::GetProcAddress) s_realGetProc = __imp_GetProcAddress;
    static inline HRESULT(WINAPI* s_realCreate)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*) = nullptr;
    ImportPatch<decltype(&::GetProcAddress)> m_patch;
};

// Puts text on the clipboard for hWnd, a window of the calling thread, or
// empties it.
void PutOnClipboard(HWND hWnd, const std::string& text);

// MD5 of bytes, from the engine; the tests' oracle for files whose digest
// is not written in the test.
std::string Md5Of(const std::string& bytes);
