#include "framework/dlglayout.h"

#include <cstring>

namespace {

// Reads the template as USER does: WORD-aligned fields, items on DWORD
// boundaries.
class Reader
{
public:
    explicit Reader(const BYTE* p) : m_base(p), m_p(p) {}

    template <typename T> T Get()
    {
        T value;
        std::memcpy(&value, m_p, sizeof value);
        m_p += sizeof value;
        return value;
    }
    // A string, or an ordinal (0xFFFF then its number), or nothing (0).
    LPCWSTR NameOrOrdinal()
    {
        const WORD first = Get<WORD>();
        if (first == 0xFFFF)
            return MAKEINTRESOURCEW(Get<WORD>());
        if (first == 0)
            return L"";
        return String(reinterpret_cast<LPCWSTR>(m_p - sizeof(WORD)));
    }
    LPCWSTR String() { return String(reinterpret_cast<LPCWSTR>(m_p)); }
    void Skip(size_t nBytes) { m_p += nBytes; }
    void AlignDword() { m_p += (4 - (m_p - m_base) % 4) % 4; }

private:
    LPCWSTR String(LPCWSTR lpsz)
    {
        m_p = reinterpret_cast<const BYTE*>(lpsz + ::lstrlenW(lpsz) + 1);
        return lpsz;
    }
    const BYTE* m_base;
    const BYTE* m_p;
};

} // namespace

BOOL CDialogLayout::Load(HINSTANCE hInstance, UINT nIDTemplate)
{
    const HRSRC hResource = ::FindResourceW(hInstance, MAKEINTRESOURCEW(nIDTemplate), MAKEINTRESOURCEW(5));  // RT_DIALOG
    const BYTE* pTemplate = hResource != NULL
        ? static_cast<const BYTE*>(::LockResource(::LoadResource(hInstance, hResource))) : NULL;
    if (pTemplate == NULL)
        return FALSE;

    Reader r(pTemplate);
    const bool bEx = r.Get<WORD>() == 1 && r.Get<WORD>() == 0xFFFF;
    if (!bEx)
        r = Reader(pTemplate);
    r.Skip(bEx ? 2 * sizeof(DWORD) : 0);  // help ID, extended style
    const DWORD dwStyle = r.Get<DWORD>();
    r.Skip(bEx ? 0 : sizeof(DWORD));      // extended style
    const WORD nItems = r.Get<WORD>();
    r.Skip(2 * sizeof(short));  // x, y
    m_size.cx = r.Get<short>();
    m_size.cy = r.Get<short>();
    r.NameOrOrdinal();          // menu
    r.NameOrOrdinal();          // class
    r.String();                 // caption
    if (!(dwStyle & DS_SETFONT))
        return FALSE;
    m_nPoints = r.Get<WORD>();
    r.Skip(bEx ? sizeof(WORD) + 2 * sizeof(BYTE) : 0);  // weight, italic, charset
    r.String();                 // face

    m_items.clear();
    for (WORD i = 0; i < nItems; ++i) {
        r.AlignDword();
        r.Skip(bEx ? 2 * sizeof(DWORD) : 0);  // help ID, extended style
        const DWORD dwItemStyle = r.Get<DWORD>();
        r.Skip(bEx ? 0 : sizeof(DWORD));      // extended style
        Item item = {};
        item.rect.left = r.Get<short>();
        item.rect.top = r.Get<short>();
        item.rect.right = r.Get<short>();
        item.rect.bottom = r.Get<short>();
        r.Skip(bEx ? sizeof(DWORD) : sizeof(WORD));  // ID
        const LPCWSTR lpszClass = r.NameOrOrdinal();
        const LPCWSTR lpszText = r.NameOrOrdinal();
        // The static class, by its atom (0x82) or by its name.
        const bool bStatic = IS_INTRESOURCE(lpszClass) ? lpszClass == MAKEINTRESOURCEW(0x82)
                                                       : ::lstrcmpiW(lpszClass, L"Static") == 0;
        if (bStatic && (dwItemStyle & SS_TYPEMASK) == SS_ICON)
            item.lpszIcon = lpszText;
        r.Skip(r.Get<WORD>());          // creation data
        m_items.push_back(item);
    }
    return TRUE;
}

// Only the height depends on the DPI; face, weight, character set and
// quality stay as the dialog manager chose them.
HFONT CDialogLayout::CreateFontAt(const LOGFONTW& lfDialog, UINT nDpi) const
{
    LOGFONTW lf = lfDialog;
    lf.lfHeight = -::MulDiv(m_nPoints, static_cast<int>(nDpi), 72);
    return ::CreateFontIndirectW(&lf);
}

// The average width of the letters (rounded) and the height of the font.
SIZE CDialogLayout::BaseUnits(HFONT hFont)
{
    static const WCHAR szLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const HDC hDC = ::GetDC(NULL);
    const HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    TEXTMETRICW tm = {};
    SIZE size = {};
    ::GetTextMetricsW(hDC, &tm);
    ::GetTextExtentPoint32W(hDC, szLetters, 52, &size);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(NULL, hDC);
    return SIZE{ (size.cx / 26 + 1) / 2, tm.tmHeight };
}

SIZE CDialogLayout::ClientSize(SIZE sizeBase) const
{
    return SIZE{ ::MulDiv(m_size.cx, sizeBase.cx, 4), ::MulDiv(m_size.cy, sizeBase.cy, 8) };
}

RECT CDialogLayout::ControlRect(const Item& item, SIZE sizeBase)
{
    const RECT rc = MapRect(item.rect, sizeBase);
    return RECT{ rc.left, rc.top, rc.left + rc.right, rc.top + rc.bottom };
}

RECT CDialogLayout::MapRect(RECT rc, SIZE sizeBase)
{
    return RECT{ ::MulDiv(rc.left, sizeBase.cx, 4), ::MulDiv(rc.top, sizeBase.cy, 8),
                 ::MulDiv(rc.right, sizeBase.cx, 4), ::MulDiv(rc.bottom, sizeBase.cy, 8) };
}
