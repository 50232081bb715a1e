#include "tests/support/dialog_hooks.h"

namespace {

// Identifiers inside the system's dialogs, as Wine and Windows build them.
const int kMsgBoxTextId = 0xFFFF;
const int kMsgBoxIconIdWine = 1088;
const int kMsgBoxIconIdWindows = 0x14;
const int kFileNameComboId = 0x047C;    // cmb13
const int kFileNameEditId = 0x0480;     // edt1, the old-style box
const int kFileTypeComboId = 0x0470;    // cmb1

bool IsTopLevel(HWND hWnd)
{
    return (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) == 0;
}

bool IsMessageBox(HWND hWnd)
{
    return IsDialogClass(hWnd) && IsTopLevel(hWnd) && ::GetDlgItem(hWnd, kMsgBoxTextId) != NULL;
}

bool IsFileDialog(HWND hWnd)
{
    return IsDialogClass(hWnd) && IsTopLevel(hWnd)
        && (::GetDlgItem(hWnd, kFileNameComboId) != NULL || ::GetDlgItem(hWnd, kFileNameEditId) != NULL);
}

UINT IconKind(HWND hWndBox)
{
    HWND hIconCtl = ::GetDlgItem(hWndBox, kMsgBoxIconIdWine);
    if (hIconCtl == NULL)
        hIconCtl = ::GetDlgItem(hWndBox, kMsgBoxIconIdWindows);
    if (hIconCtl == NULL)
        return 0;
    const HICON hIcon = reinterpret_cast<HICON>(::SendMessageA(hIconCtl, STM_GETICON, 0, 0));
    if (hIcon == NULL)
        return 0;
    const struct { LPCSTR id; UINT kind; } kinds[] = {
        { IDI_EXCLAMATION, MB_ICONEXCLAMATION },
        { IDI_HAND, MB_ICONHAND },
        { IDI_QUESTION, MB_ICONQUESTION },
        { IDI_ASTERISK, MB_ICONASTERISK },
    };
    for (const auto& k : kinds) {
        if (::LoadIconA(NULL, k.id) == hIcon)
            return k.kind;
    }
    return 0xFFFFFFFF;  // an icon, but not a standard one
}

UINT ButtonSet(HWND hWndBox)
{
    auto has = [hWndBox](int id) { return ::GetDlgItem(hWndBox, id) != NULL; };
    if (has(IDABORT) && has(IDRETRY) && has(IDIGNORE))
        return MB_ABORTRETRYIGNORE;
    if (has(IDYES) && has(IDNO))
        return has(IDCANCEL) ? MB_YESNOCANCEL : MB_YESNO;
    if (has(IDRETRY) && has(IDCANCEL))
        return MB_RETRYCANCEL;
    if (has(IDOK) && has(IDCANCEL))
        return MB_OKCANCEL;
    return MB_OK;
}

} // namespace

bool IsDialogClass(HWND hWnd)
{
    char name[16] = "";
    ::GetClassNameA(hWnd, name, sizeof(name));
    return lstrcmpA(name, "#32770") == 0;
}

std::string WindowText(HWND hWnd)
{
    const int n = ::GetWindowTextLengthA(hWnd);
    std::string text(static_cast<size_t>(n > 0 ? n : 0) + 1, '\0');
    const int got = ::GetWindowTextA(hWnd, &text[0], static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

std::wstring Widen(const std::string& utf8)
{
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), NULL, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], n);
    return wide;
}

void PrintTo(const RecordedMessageBox& box, std::ostream* os)
{
    *os << box.caption << ": " << box.text << std::hex << " (icon 0x" << box.icon << ", buttons 0x" << box.buttons
        << ", owner " << box.owner << ")" << std::dec;
}

void MessageBoxRecorder::OnInitDialog(HWND hWnd)
{
    if (!IsMessageBox(hWnd))
        return;
    m_boxes.push_back(RecordedMessageBox{ WindowText(::GetDlgItem(hWnd, kMsgBoxTextId)), WindowText(hWnd),
                                          IconKind(hWnd), ButtonSet(hWnd), ::GetWindow(hWnd, GW_OWNER) });
    // Posted: the box's own modal loop takes it, before it first shows.
    ::PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(m_nAnswer, BN_CLICKED), 0);
}

void FileDialogDriver::OnInitDialog(HWND hWnd)
{
    if (!IsFileDialog(hWnd))
        return;
    m_dialogs.push_back(RecordedFileDialog{ WindowText(hWnd),
                                            WindowText(::GetDlgItem(hWnd, kFileTypeComboId)),
                                            ::GetWindow(hWnd, GW_OWNER) });
    const size_t nIndex = m_dialogs.size() - 1;
    if (nIndex >= m_paths.size()) {
        ::PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return;
    }
    if (m_paths[nIndex].empty()) {
        ::EndDialog(hWnd, IDOK);
        return;
    }
    // Typed into the file name box as a user would, then Open.
    HWND hName = ::GetDlgItem(hWnd, kFileNameComboId);
    if (hName == NULL)
        hName = ::GetDlgItem(hWnd, kFileNameEditId);
    ::SetWindowTextA(hName, m_paths[nIndex].c_str());
    ::PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(hWnd, IDOK)));
}

void PumpMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}
