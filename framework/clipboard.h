// Classes in this file:
//   CClipboardText - the clipboard's text, read where it lies: the clipboard
//                    is open and its text locked for the object's life, and
//                    nothing of it is copied. Open it for as short a time
//                    as the reading takes: no other program can set the
//                    clipboard meanwhile.
#pragma once

#include <windows.h>

#include <cstddef>

class CClipboardText
{
public:
// Constructors
    // Opens the clipboard for hWnd, and takes up to nMaxChars of its text.
    // With the clipboard held by another window, or holding no text, the
    // text is empty.
    CClipboardText(HWND hWnd, size_t nMaxChars);
    ~CClipboardText();
    CClipboardText(const CClipboardText&) = delete;
    CClipboardText& operator=(const CClipboardText&) = delete;

// Attributes
    // Whether the clipboard could be opened: while another program holds
    // it open, its text cannot be read yet.
    BOOL IsOpen() const { return m_bOpen; }
    // The text as UTF-16, up to its terminator, the end of its memory or
    // nMaxChars, whichever comes first: another program wrote it, so the
    // terminator may be missing.
    const char16_t* GetText() const { return m_pText; }
    size_t GetLength() const { return m_nLength; }

private:
    BOOL m_bOpen;
    HANDLE m_hData;
    const char16_t* m_pText;
    size_t m_nLength;
};
