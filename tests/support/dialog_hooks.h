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

class MessageBoxRecorder
{
public:
    // nAnswer: the button every box is answered with.
    explicit MessageBoxRecorder(int nAnswer = IDOK);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const std::vector<RecordedMessageBox>& Boxes() const { return m_boxes; }
    void Clear() { m_boxes.clear(); }

private:
    static LRESULT CALLBACK HookProc(int nCode, WPARAM wParam, LPARAM lParam);
    void OnInitDialog(HWND hWnd);

    HHOOK m_hHook;
    int m_nAnswer;
    std::vector<RecordedMessageBox> m_boxes;
};

struct RecordedFileDialog
{
    std::string title;
    std::string fileType;   // the "Files of type" box's text
    HWND owner;
};

class FileDialogDriver
{
public:
    // Each file dialog takes the next path from the list and presses Open;
    // an empty list (or its end) means Cancel.
    explicit FileDialogDriver(std::vector<std::string> paths = {});
    ~FileDialogDriver();
    FileDialogDriver(const FileDialogDriver&) = delete;
    FileDialogDriver& operator=(const FileDialogDriver&) = delete;

    const std::vector<RecordedFileDialog>& Dialogs() const { return m_dialogs; }

private:
    static LRESULT CALLBACK HookProc(int nCode, WPARAM wParam, LPARAM lParam);
    void OnInitDialog(HWND hWnd);

    HHOOK m_hHook;
    std::vector<std::string> m_paths;
    std::vector<RecordedFileDialog> m_dialogs;
};

// Text of a window, whole.
std::string WindowText(HWND hWnd);

// UTF-8 (how the tests write paths) to UTF-16, for the wide file API.
std::wstring Widen(const std::string& utf8);

// Lets the thread's posted and sent messages through.
void PumpMessages();
