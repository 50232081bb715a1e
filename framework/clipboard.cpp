#include "framework/clipboard.h"

CClipboardText::CClipboardText(HWND hWnd, size_t nMaxChars)
    : m_bOpen(::OpenClipboard(hWnd)), m_hData(NULL), m_pText(u""), m_nLength(0)
{
    if (!m_bOpen)
        return;
    // Windows makes CF_UNICODETEXT from any other text format on request.
    m_hData = ::GetClipboardData(CF_UNICODETEXT);
    const void* pData = m_hData != NULL ? ::GlobalLock(m_hData) : NULL;
    if (pData == NULL) {
        m_hData = NULL;
        return;
    }
    m_pText = static_cast<const char16_t*>(pData);
    const size_t nInMemory = ::GlobalSize(m_hData) / sizeof(char16_t);
    const size_t nMax = nInMemory < nMaxChars ? nInMemory : nMaxChars;
    while (m_nLength < nMax && m_pText[m_nLength] != u'\0')
        ++m_nLength;
}

CClipboardText::~CClipboardText()
{
    if (m_hData != NULL)
        ::GlobalUnlock(m_hData);
    if (m_bOpen)
        ::CloseClipboard();
}
