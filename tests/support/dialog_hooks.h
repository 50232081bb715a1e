// Test support for code that shows system dialogs: hooks on the test's own
// thread that catch a message box or a file dialog as it is initialised,
// record what it shows, and answer it, so a test runs unattended.
//   MessageBoxRecorder - records every message box and presses a button.
//   FileDialogDriver   - types a path into the next file dialogs and
//                        presses Open, or presses Cancel.
// Both answer from WM_INITDIALOG, before the window is first shown.
#pragma once

#include <windows.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

struct RecordedMessageBox
{
    std::string text;
    std::string caption;
    UINT icon;          // MB_ICONEXCLAMATION, MB_ICONHAND, ... or 0
    UINT buttons;       // MB_OK, MB_OKCANCEL, ... from the buttons present
    HWND owner;
    bool operator==(const RecordedMessageBox& o) const
    {
        return text == o.text && caption == o.caption && icon == o.icon && buttons == o.buttons && owner == o.owner;
    }
};

// How a test's failure shows a box.
void PrintTo(const RecordedMessageBox& box, std::ostream* os);

// Calls T::OnInitDialog with each dialog of the test's thread as it is
// initialised, for this object's life. One hook of each kind at a time: the
// tests are single-threaded.
template <class T>
class InitDialogHook
{
public:
    InitDialogHook(const InitDialogHook&) = delete;
    InitDialogHook& operator=(const InitDialogHook&) = delete;

protected:
    InitDialogHook() : m_hHook(::SetWindowsHookExA(WH_CALLWNDPROCRET, Proc, NULL, ::GetCurrentThreadId()))
    {
        s_pHook = static_cast<T*>(this);
    }
    ~InitDialogHook()
    {
        ::UnhookWindowsHookEx(m_hHook);
        s_pHook = nullptr;
    }

private:
    static LRESULT CALLBACK Proc(int nCode, WPARAM wParam, LPARAM lParam)
    {
        const CWPRETSTRUCT* p = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (nCode == HC_ACTION && p->message == WM_INITDIALOG && s_pHook != nullptr)
            s_pHook->OnInitDialog(p->hwnd);
        return ::CallNextHookEx(NULL, nCode, wParam, lParam);
    }
    static inline T* s_pHook = nullptr;
    HHOOK m_hHook;
};

class MessageBoxRecorder : public InitDialogHook<MessageBoxRecorder>
{
public:
    // nAnswer: the button every box is answered with.
    explicit MessageBoxRecorder(int nAnswer = IDOK) : m_nAnswer(nAnswer) {}

    const std::vector<RecordedMessageBox>& Boxes() const { return m_boxes; }
    void OnInitDialog(HWND hWnd);

private:
    int m_nAnswer;
    std::vector<RecordedMessageBox> m_boxes;
};

struct RecordedFileDialog
{
    std::string title;
    std::string fileType;   // the "Files of type" box's text
    HWND owner;
};

class FileDialogDriver : public InitDialogHook<FileDialogDriver>
{
public:
    // Each file dialog takes the next path from the list and presses Open;
    // an empty list (or its end) means Cancel, and an empty path ends the
    // dialog as if OK were pressed before a name was typed (the dialog
    // itself cannot hand back an empty name).
    explicit FileDialogDriver(std::vector<std::string> paths = {}) : m_paths(std::move(paths)) {}

    const std::vector<RecordedFileDialog>& Dialogs() const { return m_dialogs; }
    void OnInitDialog(HWND hWnd);

private:
    std::vector<std::string> m_paths;
    std::vector<RecordedFileDialog> m_dialogs;
};

// Whether a window is of the system's dialog class (#32770).
bool IsDialogClass(HWND hWnd);

// Text of a window, whole.
std::string WindowText(HWND hWnd);

// UTF-8 (how the tests write paths) to UTF-16, for the wide file API.
std::wstring Widen(const std::string& utf8);

// Lets the thread's posted and sent messages through.
void PumpMessages();
