// res_test.cpp: the compiled resources linked into this test program, read
// back through the same Windows calls the application uses.
//
// The dialog templates are decoded byte by byte, so a style that windres
// quietly adds or drops, a control out of tab order or a shifted rectangle
// shows up as a number, not as a window that merely looks a little off.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/afxres.h"
#include "res/resource.h"
#include "tests/support/dpi_behavior.h"
#include "tests/support/wine.h"
#include "window/aboutdlg.h"
#include "window/hashdlg.h"

namespace {

struct Item {
    int id;
    std::wstring cls, text;  // text is "#n" for an ordinal (an icon's resource ID)
    short x, y, cx, cy;
    DWORD style;
    DWORD exStyle = 0;
};

struct Dialog {
    bool ex;
    DWORD style, exStyle;
    short cx, cy;
    std::wstring menu, cls, title, face;
    WORD points, weight;
    BYTE italic, charset;
    std::vector<Item> items;
};

// Walks a DLGTEMPLATE or DLGTEMPLATEEX in the layout USER reads it.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* p) : m_base(p), m_p(p) {}

    template <class T> T Get()
    {
        T v;
        std::memcpy(&v, m_p, sizeof v);
        m_p += sizeof v;
        return v;
    }

    // A sz_Or_Ord field: nothing, an ordinal (0xFFFF then the number) or a string.
    std::wstring NameOrOrdinal(bool classField)
    {
        WORD first = Get<WORD>();
        if (first == 0)
            return L"";
        if (first == 0xFFFF) {
            WORD ord = Get<WORD>();
            static const wchar_t* const kAtoms[] = {L"Button", L"Edit", L"Static",
                                                    L"ListBox", L"ScrollBar", L"ComboBox"};
            if (classField && ord >= 0x80 && ord <= 0x85)
                return kAtoms[ord - 0x80];
            return L"#" + std::to_wstring(ord);
        }
        m_p -= sizeof(WORD);
        return String();
    }

    std::wstring String()
    {
        std::wstring s;
        for (WORD c; (c = Get<WORD>()) != 0;)
            s += static_cast<wchar_t>(c);
        return s;
    }

    // DIALOGEX's help ID, style and extended style; DIALOG's style and
    // extended style.
    void Styles(bool ex, DWORD& style, DWORD& exStyle)
    {
        if (ex)
            Get<DWORD>();
        (ex ? exStyle : style) = Get<DWORD>();
        (ex ? style : exStyle) = Get<DWORD>();
    }

    void AlignDword() { m_p += (4 - (m_p - m_base) % 4) % 4; }
    void Skip(size_t n) { m_p += n; }

private:
    const BYTE* m_base;
    const BYTE* m_p;
};

const BYTE* LoadTemplate(int id)
{
    HRSRC hrsrc = FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5)); // RT_DIALOG
    return hrsrc ? static_cast<const BYTE*>(LockResource(LoadResource(nullptr, hrsrc))) : nullptr;
}

Dialog ParseDialog(const BYTE* data)
{
    TemplateReader r(data);
    Dialog d{};
    d.ex = r.Get<WORD>() == 1 && r.Get<WORD>() == 0xFFFF;
    if (!d.ex)
        r = TemplateReader(data);
    r.Styles(d.ex, d.style, d.exStyle);
    WORD count = r.Get<WORD>();
    r.Skip(2 * sizeof(short));  // x, y
    d.cx = r.Get<short>();
    d.cy = r.Get<short>();
    d.menu = r.NameOrOrdinal(false);
    d.cls = r.NameOrOrdinal(false);
    d.title = r.String();
    if (d.style & DS_SETFONT) {
        d.points = r.Get<WORD>();
        if (d.ex) {
            d.weight = r.Get<WORD>();
            d.italic = r.Get<BYTE>();
            d.charset = r.Get<BYTE>();
        }
        d.face = r.String();
    }
    for (WORD i = 0; i < count; ++i) {
        r.AlignDword();
        Item it{};
        r.Styles(d.ex, it.style, it.exStyle);
        it.x = r.Get<short>();
        it.y = r.Get<short>();
        it.cx = r.Get<short>();
        it.cy = r.Get<short>();
        it.id = d.ex ? static_cast<int>(r.Get<DWORD>()) : r.Get<short>();
        it.cls = r.NameOrOrdinal(true);
        it.text = r.NameOrOrdinal(false);
        r.Skip(r.Get<WORD>());  // creation data
        d.items.push_back(it);
    }
    return d;
}

// A template's header in one line: its kind, styles, size, menu, class,
// title and font (points, weight, italic, charset, face).
std::string Header(const Dialog& d)
{
    char line[256];
    snprintf(line, sizeof line, "%s %08lx %08lx %dx%d menu '%ls' class '%ls' '%ls' %d %d %d %d '%ls'",
             d.ex ? "DIALOGEX" : "DIALOG", d.style, d.exStyle, d.cx, d.cy, d.menu.c_str(), d.cls.c_str(),
             d.title.c_str(), d.points, d.weight, d.italic, d.charset, d.face.c_str());
    return line;
}

// Each control in one line: ID, class, text, rectangle and styles.
std::vector<std::string> Lines(const std::vector<Item>& items)
{
    std::vector<std::string> lines;
    for (const Item& it : items) {
        std::wstring cls = it.cls;  // in any case: windres writes a class by name in capitals
        CharUpperW(&cls[0]);
        char line[256];
        snprintf(line, sizeof line, "%d %ls '%ls' %d,%d %dx%d %08lx %08lx", it.id, cls.c_str(), it.text.c_str(),
                 it.x, it.y, it.cx, it.cy, it.style, it.exStyle);
        lines.push_back(line);
    }
    return lines;
}

// Every control inside the dialog and none on top of another: an overlap
// hides part of a control or steals its clicks.
void ExpectLaidOutCleanly(const Dialog& d)
{
    for (size_t i = 0; i < d.items.size(); ++i) {
        const Item& a = d.items[i];
        EXPECT_TRUE(a.x >= 0 && a.y >= 0 && a.x + a.cx <= d.cx && a.y + a.cy <= d.cy)
            << "control " << i << " sticks out of the dialog";
        for (size_t j = i + 1; j < d.items.size(); ++j) {
            const Item& b = d.items[j];
            bool apart = a.x + a.cx <= b.x || b.x + b.cx <= a.x ||
                         a.y + a.cy <= b.y || b.y + b.cy <= a.y;
            EXPECT_TRUE(apart) << "controls " << i << " and " << j << " overlap";
        }
    }
}

// Creates a dialog from a template copy with WS_VISIBLE cleared: never shown,
// it is destroyed without the window manager round trip.
HWND CreateHidden(int id, std::vector<BYTE>& copy)
{
    const BYTE* data = LoadTemplate(id);
    HRSRC hrsrc = FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));
    copy.assign(data, data + SizeofResource(nullptr, hrsrc));
    copy[(ParseDialog(data).ex ? 12 : 0) + 3] &= ~(WS_VISIBLE >> 24);  // the style's top byte
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
        reinterpret_cast<LPCDLGTEMPLATEW>(copy.data()), nullptr,
        [](HWND, UINT msg, WPARAM, LPARAM) -> INT_PTR { return msg == WM_INITDIALOG; }, 0);
}

// Checks that each label and button shows its whole text on one line in the
// font the dialog really gets; a static wraps a word that does not fit onto
// a line below its bottom edge, where it cannot be seen.
void ExpectTextsFit(HWND dlg)
{
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[64], raw[256];
        GetClassNameW(c, cls, 64);
        LONG style = GetWindowLongW(c, GWL_STYLE);
        bool isStatic = _wcsicmp(cls, L"Static") == 0;
        if ((!isStatic && _wcsicmp(cls, L"Button") != 0) || (isStatic && (style & SS_TYPEMASK) == SS_ICON))
            continue;
        GetWindowTextW(c, raw, 256);
        std::wstring text;
        for (const wchar_t* p = raw; *p; ++p)
            if (*p != L'&' || (isStatic && (style & SS_NOPREFIX)))
                text += *p;
        HDC dc = GetDC(c);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(c, WM_GETFONT, 0, 0)));
        SIZE size;
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        // The real raster face, not a stand-in for a missing font.
        wchar_t face[LF_FACESIZE];
        TEXTMETRICW tm;
        EXPECT_TRUE(GetTextFaceW(dc, LF_FACESIZE, face) && GetTextMetricsW(dc, &tm));
        EXPECT_STREQ(L"MS Sans Serif", face);
        EXPECT_EQ(0, tm.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE));
        SelectObject(dc, old);
        ReleaseDC(c, dc);
        RECT rc;
        GetClientRect(c, &rc);
        EXPECT_LE(size.cx, rc.right) << testing::PrintToString(text) << " is cut off";
    }
}

// At any DPI the dialog manager lays the template out in the font's base
// units, which grow with the DPI from 8-point MS Sans Serif's 6 x 13 pixels
// at 96: the client area and each control where MapDialogRect puts them
// (an icon control takes the icon's size).
void ExpectLaidOutInDialogUnits(HWND dlg, const Dialog& d)
{
    auto map = [dlg](int x, int y, int cx, int cy) {  // position and size each mapped on its own
        RECT r = {x, y, cx, cy};
        MapDialogRect(dlg, &r);
        return RECT{r.left, r.top, r.left + r.right, r.top + r.bottom};
    };
    const RECT units = map(0, 0, 4, 8);
    EXPECT_TRUE(GetDpiForSystem() == 96 ? units.right == 6 && units.bottom == 13 : units.right > 6 && units.bottom > 13)
        << "base units " << units.right << " x " << units.bottom;
    RECT want = map(0, 0, d.cx, d.cy), got;
    GetClientRect(dlg, &got);
    EXPECT_TRUE(EqualRect(&want, &got)) << "client " << got.right << " x " << got.bottom;
    HWND c = GetWindow(dlg, GW_CHILD);
    for (const Item& it : d.items) {
        want = map(it.x, it.y, it.cx, it.cy);
        if (_wcsicmp(it.cls.c_str(), L"Static") == 0 && (it.style & SS_TYPEMASK) == SS_ICON)
            want = map(it.x, it.y, 0, 0), want.right += GetSystemMetrics(SM_CXICON),
            want.bottom += GetSystemMetrics(SM_CYICON);
        // The main window puts its labels before their fields in z-order.
        GetWindowRect(it.id != -1 ? GetDlgItem(dlg, it.id) : c, &got);
        MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&got), 2);
        EXPECT_TRUE(EqualRect(&want, &got)) << "control " << it.id;
        c = GetWindow(c, GW_HWNDNEXT);
    }
}

std::wstring VersionString(const std::vector<BYTE>& block, const wchar_t* name)
{
    std::wstring path = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
    void* p = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(block.data(), path.c_str(), &p, &len))
        return L"<missing>";
    return len ? std::wstring(static_cast<const wchar_t*>(p)) : L"";
}

std::wstring LoadStr(UINT id)
{
    const wchar_t* p = nullptr;
    int n = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&p), 0);
    return std::wstring(p ? p : L"", n);
}

}  // namespace

TEST(MainDialog, HeaderIsExtendedModalFrameWithMinimizeBox)
{
    const BYTE* data = LoadTemplate(IDD_MAIN);
    ASSERT_NE(nullptr, data);
    EXPECT_EQ("DIALOGEX 90ca00c0 00040000 243x68 menu '' class '' 'Sumwise' 8 0 0 1 'MS Sans Serif'",
              Header(ParseDialog(data)));
}

TEST(MainDialog, ControlsInTabOrderWithTheirRectsAndStyles)
{
    const BYTE* data = LoadTemplate(IDD_MAIN);
    ASSERT_NE(nullptr, data);
    Dialog d = ParseDialog(data);
    // Styles as numbers, independent of the headers the script was built with.
    EXPECT_EQ(Lines({
        {1001, L"Edit", L"", 31, 7, 170, 14, 0x50810080},       // border, tab stop, autoscroll
        {1000, L"Edit", L"", 31, 25, 205, 14, 0x50810880},      // ... and read-only
        {1005, L"Button", L"&Clear", 7, 47, 50, 14, 0x50010000},
        {1002, L"Button", L"&Hash Now", 186, 47, 50, 14, 0x50010001},  // default
        {1003, L"Static", L"Input:", 7, 10, 19, 8, 0x50000000},
        {1004, L"Static", L"Hash:", 7, 28, 20, 8, 0x50000000},
        {1008, L"Button", L"&File", 206, 7, 30, 14, 0x50010000},
        {1009, L"msctls_progress32", L"Progress1", 63, 53, 117, 8, 0x50800001},  // border, smooth
        {1010, L"Static", L"Working....", 63, 43, 117, 8, 0x50020201},  // centred both ways, group
    }), Lines(d.items));
    ExpectLaidOutCleanly(d);
}

TEST(MainDialog, CreatesWithFocusOnInputHashNowDefaultAndTextsShown)
{
    std::vector<BYTE> copy;
    HWND dlg = CreateHidden(IDD_MAIN, copy);
    ASSERT_NE(nullptr, dlg) << "error " << GetLastError();
    wchar_t cls[64];
    ASSERT_NE(nullptr, GetDlgItem(dlg, IDC_PROGRESS));
    GetClassNameW(GetDlgItem(dlg, IDC_PROGRESS), cls, 64);
    EXPECT_EQ(0, _wcsicmp(L"msctls_progress32", cls));
    EXPECT_EQ(GetDlgItem(dlg, IDC_INPUT), GetNextDlgTabItem(dlg, nullptr, FALSE));
    LRESULT def = SendMessageW(dlg, DM_GETDEFID, 0, 0);
    EXPECT_EQ(DC_HASDEFID, HIWORD(def));
    EXPECT_EQ(IDC_HASHNOW, LOWORD(def));
    ExpectTextsFit(dlg);
    // The status line's other texts, the verdicts on a copied MD5, fit it too.
    for (const wchar_t* verdict : {L"Matches the copied MD5.", L"Does not match the copied MD5."}) {
        SetWindowTextW(GetDlgItem(dlg, IDC_STATUS), verdict);
        ExpectTextsFit(dlg);
    }
    ExpectLaidOutInDialogUnits(dlg, ParseDialog(LoadTemplate(IDD_MAIN)));
    DestroyWindow(dlg);
}

TEST(AboutBox, TemplateIconAndTextsShown)
{
    const BYTE* data = LoadTemplate(IDD_ABOUTBOX);
    ASSERT_NE(nullptr, data);
    Dialog d = ParseDialog(data);
    EXPECT_EQ("DIALOG 80c800c0 00000000 235x55 menu '' class '' 'About Sumwise' 8 0 0 0 'MS Sans Serif'", Header(d));
    ASSERT_EQ(4u, d.items.size());
    EXPECT_EQ(Lines({
        {-1, L"Static", L"#128", 16, 16, 21, 20, 0x50000003},  // SS_ICON of IDR_MAINFRAME
        {-1, L"Static", L"Sumwise v1.0 - [ MD5 hash generator ]", 44, 14, 126, 8, 0x50020080},
        {-1, L"Static", d.items[2].text, 44, 29, 119, 8, 0x50020000},
        {IDOK, L"Button", L"OK", 178, 7, 50, 14, 0x50030001},
    }), Lines(d.items));
    EXPECT_FALSE(d.items[2].text.empty()) << "author credit line";
    ExpectLaidOutCleanly(d);

    // The icon control loads its picture while the dialog is created.
    std::vector<BYTE> copy;
    HWND dlg = CreateHidden(IDD_ABOUTBOX, copy);
    ASSERT_NE(nullptr, dlg) << "error " << GetLastError();
    EXPECT_NE(0, SendMessageW(GetWindow(dlg, GW_CHILD), STM_GETICON, 0, 0));
    ExpectTextsFit(dlg);
    ExpectLaidOutInDialogUnits(dlg, d);
    DestroyWindow(dlg);
}

namespace {

int IconWidth(LRESULT hIcon)
{
    ICONINFO info;
    BITMAP bm = {};
    if (hIcon == 0 || !GetIconInfo(reinterpret_cast<HICON>(hIcon), &info))
        return 0;
    GetObjectW(info.hbmColor, sizeof bm, &bm);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bm.bmWidth;
}

// A font's whole LOGFONT, in one line.
std::string FontText(LRESULT hFont)
{
    LOGFONTW lf = {};
    if (!GetObjectW(reinterpret_cast<HFONT>(hFont), sizeof lf, &lf))
        return "none";
    char text[128];
    snprintf(text, sizeof text, "%ld %ld %ld %d %d %d %d %d %d %ls", lf.lfHeight, lf.lfWidth, lf.lfWeight, lf.lfItalic,
             lf.lfCharSet, lf.lfOutPrecision, lf.lfClipPrecision, lf.lfQuality, lf.lfPitchAndFamily, lf.lfFaceName);
    return text;
}

// The dialog base units of the font FontText describes, made in this
// process, as Windows computes them for a dialog: the average width of the
// 52 letters, rounded, and the font's height.
SIZE BaseUnitsHere(const std::string& font)
{
    LOGFONTW lf = {};
    int italic = 0, charset = 0, out = 0, clip = 0, quality = 0, pitch = 0, face = 0;
    sscanf(font.c_str(), "%ld %ld %ld %d %d %d %d %d %d %n", &lf.lfHeight, &lf.lfWidth, &lf.lfWeight, &italic, &charset,
           &out, &clip, &quality, &pitch, &face);
    lf.lfItalic = static_cast<BYTE>(italic), lf.lfCharSet = static_cast<BYTE>(charset);
    lf.lfOutPrecision = static_cast<BYTE>(out), lf.lfClipPrecision = static_cast<BYTE>(clip);
    lf.lfQuality = static_cast<BYTE>(quality), lf.lfPitchAndFamily = static_cast<BYTE>(pitch);
    MultiByteToWideChar(CP_UTF8, 0, font.c_str() + face, -1, lf.lfFaceName, LF_FACESIZE - 1);
    HFONT hFont = CreateFontIndirectW(&lf);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, hFont);
    TEXTMETRICW tm = {};
    SIZE letters = {};
    GetTextMetricsW(dc, &tm);
    GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(hFont);
    return SIZE{(letters.cx / 26 + 1) / 2, tm.tmHeight};
}

// A dialog as it stands: its window's, frame's and client area's sizes, its
// caption icons, its dialog units as MapDialogRect gives them, the flags
// that turned Windows' own rescaling off for it and its font; then each
// control's rectangle, icon, flags and font, in z-order.
struct Control {
    int id;
    RECT rc;
    int icon;
    std::string off, font;
};
struct Layout {
    SIZE window, frame, client, units;
    int bigIcon, smallIcon;
    std::string off, font;
    std::vector<Control> controls;
};

Layout Measure(const CDialog& dlg)
{
    const HWND hDlg = dlg.m_hWnd;
    Layout l = {};
    RECT rc, client, units = {0, 0, 4, 8};
    GetWindowRect(hDlg, &rc);
    GetClientRect(hDlg, &client);
    dlg.MapDialogRect(&units);
    l.window = {rc.right - rc.left, rc.bottom - rc.top};
    l.client = {client.right, client.bottom};
    l.frame = {l.window.cx - l.client.cx, l.window.cy - l.client.cy};
    l.units = {units.right, units.bottom};
    l.bigIcon = IconWidth(SendMessageW(hDlg, WM_GETICON, ICON_BIG, 0));
    l.smallIcon = IconWidth(SendMessageW(hDlg, WM_GETICON, ICON_SMALL, 0));
    l.off = LentDpiBehavior::Flags(hDlg);
    l.font = FontText(SendMessageW(hDlg, WM_GETFONT, 0, 0));
    for (HWND c = GetWindow(hDlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        GetWindowRect(c, &rc);
        MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rc), 2);
        l.controls.push_back({GetDlgCtrlID(c), rc, IconWidth(SendMessageW(c, STM_GETICON, 0, 0)),
                              LentDpiBehavior::Flags(c), FontText(SendMessageW(c, WM_GETFONT, 0, 0))});
    }
    return l;
}

// A layout one line a part, fonts last: as a record is written, and as a
// failed comparison shows it.
std::vector<std::string> Lines(const Layout& l)
{
    char line[512];
    snprintf(line, sizeof line, "window %ldx%ld frame %ldx%ld client %ldx%ld", l.window.cx, l.window.cy, l.frame.cx,
             l.frame.cy, l.client.cx, l.client.cy);
    std::vector<std::string> lines = {line};
    snprintf(line, sizeof line, "icons %d,%d units %ldx%ld off %s font %s", l.bigIcon, l.smallIcon, l.units.cx,
             l.units.cy, l.off.c_str(), l.font.c_str());
    lines.push_back(line);
    for (const Control& c : l.controls) {
        snprintf(line, sizeof line, "%d: %ld,%ld %ldx%ld icon %d off %s font %s", c.id, c.rc.left, c.rc.top,
                 c.rc.right - c.rc.left, c.rc.bottom - c.rc.top, c.icon, c.off.c_str(), c.font.c_str());
        lines.push_back(line);
    }
    return lines;
}

// Reads what Lines wrote; false on a line that is missing or malformed.
bool Parse(const std::vector<std::string>& lines, Layout* pOut)
{
    Layout l = {};
    char off[16];
    int font = 0;
    if (lines.size() < 2 ||
        sscanf(lines[0].c_str(), "window %ldx%ld frame %ldx%ld client %ldx%ld", &l.window.cx, &l.window.cy,
               &l.frame.cx, &l.frame.cy, &l.client.cx, &l.client.cy) != 6 ||
        sscanf(lines[1].c_str(), "icons %d,%d units %ldx%ld off %15s font %n", &l.bigIcon, &l.smallIcon, &l.units.cx,
               &l.units.cy, off, &font) != 5 || font == 0)
        return false;
    l.off = off;
    l.font = lines[1].substr(font);
    for (size_t i = 2; i < lines.size(); ++i) {
        Control c = {};
        long cx, cy;
        font = 0;
        if (sscanf(lines[i].c_str(), "%d: %ld,%ld %ldx%ld icon %d off %15s font %n", &c.id, &c.rc.left, &c.rc.top, &cx,
                   &cy, &c.icon, off, &font) != 7 || font == 0)
            return false;
        c.rc.right = c.rc.left + cx, c.rc.bottom = c.rc.top + cy;
        c.off = off;
        c.font = lines[i].substr(font);
        l.controls.push_back(c);
    }
    *pOut = l;
    return true;
}

std::string SizeText(SIZE size)
{
    return std::to_string(size.cx) + "x" + std::to_string(size.cy);
}

// The one place where the test allows what Wine does instead of what
// Windows does, each difference measured. On Windows a dialog moved to
// another DPI is the dialog created there: want, unchanged.
//  - The frame. Wine keeps a window's frame at the DPI the window was
//    created at, in created's frame; Windows draws it at the new DPI. So the
//    window takes the size asked for, and the client area is what the old
//    frame leaves of it.
//  - The raster font. Wine registers "MS Sans Serif" from the files for the
//    DPI its session started at, so the dialog font of the new DPI can come
//    out another size here than in a session started at that DPI; Windows
//    has one set of fonts for every process. Where the font's base units
//    here differ from the record's, every size and place in dialog units is
//    the template's in the units here: the window and client sizes, the
//    units, and each control's rectangle (an icon control keeps the icon's
//    size).
Layout WineAllowance(Layout want, const Layout& created, const Dialog& d, int* pRaster)
{
    if (!RunningUnderWine())
        return want;
    const SIZE units = BaseUnitsHere(want.font);
    if (units.cx != want.units.cx || units.cy != want.units.cy) {
        ++*pRaster;
        const SIZE client = {MulDiv(d.cx, units.cx, 4), MulDiv(d.cy, units.cy, 8)};
        want.window.cx += client.cx - want.client.cx;
        want.window.cy += client.cy - want.client.cy;
        want.units = units;
        // Template items by ID, and those without one (0xFFFF) in order.
        size_t unnamed = 0;
        for (Control& c : want.controls) {
            const auto same = [&c](const Item& item) { return static_cast<WORD>(item.id) == static_cast<WORD>(c.id); };
            auto it = std::find_if(d.items.begin(), d.items.end(), same);
            for (size_t k = 0; c.id == 0xFFFF && k < unnamed && it != d.items.end(); ++k)
                it = std::find_if(it + 1, d.items.end(), same);
            unnamed += c.id == 0xFFFF;
            if (it == d.items.end()) {
                ADD_FAILURE() << "control " << c.id << " is not in the template";
                continue;
            }
            const bool icon = _wcsicmp(it->cls.c_str(), L"Static") == 0 && (it->style & SS_TYPEMASK) == SS_ICON;
            const LONG cx = icon ? c.rc.right - c.rc.left : MulDiv(it->cx, units.cx, 4);
            const LONG cy = icon ? c.rc.bottom - c.rc.top : MulDiv(it->cy, units.cy, 8);
            c.rc.left = MulDiv(it->x, units.cx, 4);
            c.rc.top = MulDiv(it->y, units.cy, 8);
            c.rc.right = c.rc.left + cx;
            c.rc.bottom = c.rc.top + cy;
        }
    }
    want.frame = created.frame;
    want.client = {want.window.cx - created.frame.cx, want.window.cy - created.frame.cy};
    return want;
}

std::unique_ptr<CDialog> Create(UINT id)
{
    std::unique_ptr<CDialog> pDlg(id == IDD_MAIN ? static_cast<CDialog*>(new CHashDlg) : new CAboutDlg);
    EXPECT_TRUE(pDlg->Create(id));
    return pDlg;
}

const UINT kDpis[] = {96, 120, 144, 192};

// Where the record of a dialog created at a DPI is kept.
std::string LayoutFile(const char* dir, UINT id, UINT dpi)
{
    return std::string(dir) + "\\" + std::to_string(id) + "-" + std::to_string(dpi) + ".txt";
}

bool WriteLayout(const std::string& path, const Layout& l)
{
    std::ofstream file(path);
    for (const std::string& line : Lines(l))
        file << line << "\n";
    file.close();
    return file.good();
}

bool ReadLayout(const std::string& path, Layout* pOut)
{
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return file.eof() && Parse(lines, pOut);
}

// The environment of a display-scale run: the records' folder and the DPI
// the run was started at.
bool ScaleRun(const char** pDir, UINT* pDpi)
{
    const char* asked = std::getenv("SUMWISE_ASKED_DPI");
    *pDir = std::getenv("SUMWISE_LAYOUTS");
    if (*pDir == nullptr || asked == nullptr)
        return false;
    *pDpi = static_cast<UINT>(std::stoul(asked));
    return true;
}

}  // namespace

// The display-scale runs: tests/res/scale_test.sh starts this program at
// each of kDpis, each time in a new Wine session set to it, so that the
// process's DPI and its windows' agree as they do on Windows. The first
// runs, one a DPI, run the dialog and icon tests above at that DPI and
// record the dialogs as created; the second runs move dialogs created at
// their DPI to every other and back, and compare each with the record.
TEST(DpiChange, RecordDialogsAsCreated)
{
    const char* dir;
    UINT dpi;
    if (!ScaleRun(&dir, &dpi))
        GTEST_SKIP() << "run at each DPI by scale_test.sh (ctest -R scale)";
    EXPECT_EQ(dpi, GetDpiForSystem());
    // Per-monitor where the platform offers it (v2), else the manifest's fallback.
    EXPECT_EQ(IsValidDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) ? DPI_AWARENESS_PER_MONITOR_AWARE
              : DPI_AWARENESS_SYSTEM_AWARE, GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()));
    LentDpiBehavior lent;
    for (UINT id : {IDD_MAIN, IDD_ABOUTBOX}) {
        std::unique_ptr<CDialog> pDlg = Create(id);
        EXPECT_EQ(dpi, GetDpiForWindow(pDlg->m_hWnd));
        const Layout created = Measure(*pDlg);
        // Exactly the flags that turn Windows' rescaling off: DDC_DISABLE_ALL,
        // and both DCDC_ flags on every control.
        EXPECT_EQ("1/1", created.off);
        EXPECT_EQ(ParseDialog(LoadTemplate(id)).items.size(), created.controls.size());
        for (const Control& c : created.controls)
            EXPECT_EQ("3/3", c.off) << "control " << c.id;
        const std::string path = LayoutFile(dir, id, dpi);
        Layout back;
        EXPECT_TRUE(WriteLayout(path, created)) << "cannot write " << path;
        EXPECT_TRUE(ReadLayout(path, &back)) << "cannot read " << path << " back";
        EXPECT_EQ(Lines(created), Lines(back));
    }
}

// A dialog moved to a monitor of another scale is laid out as one created
// there: the size it asks for in WM_GETDPISCALEDSIZE is that dialog's
// window size, and once moved to the rectangle of that size that Windows
// suggests, its window, frame, client area, caption icons, units, font and
// every control are the record's, but for what WineAllowance allows. Moved
// back, it is the dialog as created here. Wine lacks the functions that
// turn Windows' own rescaling off; the test lends them.
TEST(DpiChange, DialogsMovedLayOutAsIfCreatedThere)
{
    const char* dir;
    UINT here;
    if (!ScaleRun(&dir, &here))
        GTEST_SKIP() << "run at each DPI by scale_test.sh (ctest -R scale)";
    ASSERT_EQ(here, GetDpiForSystem());
    LentDpiBehavior lent;
    int moves = 0, raster = 0;
    for (UINT id : {IDD_MAIN, IDD_ABOUTBOX}) {
        std::map<UINT, Layout> records;
        for (UINT dpi : kDpis)
            ASSERT_TRUE(ReadLayout(LayoutFile(dir, id, dpi), &records[dpi]))
                << "no record of dialog " << id << " at " << dpi << " DPI in " << dir;
        const Dialog d = ParseDialog(LoadTemplate(id));
        for (UINT to : kDpis) {
            if (to == here)
                continue;
            std::unique_ptr<CDialog> pDlg = Create(id);
            EXPECT_EQ(Lines(records[here]), Lines(Measure(*pDlg))) << "dialog " << id << " as created here";
            for (UINT dpi : {to, here}) {
                SCOPED_TRACE(testing::Message() << "dialog " << id << " created at " << here << " DPI, moved to " << dpi);
                const Layout want = dpi == here ? records[here] : WineAllowance(records[dpi], records[here], d, &raster);
                SIZE asked = {};
                EXPECT_TRUE(SendMessageW(pDlg->m_hWnd, WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&asked)));
                EXPECT_EQ(SizeText(want.window), SizeText(asked)) << "the size asked for";
                RECT rc;
                GetWindowRect(pDlg->m_hWnd, &rc);
                RECT suggested = {rc.left, rc.top, rc.left + asked.cx, rc.top + asked.cy};
                SendMessageW(pDlg->m_hWnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
                EXPECT_EQ(Lines(want), Lines(Measure(*pDlg)));
                ++moves;
            }
        }
    }
    std::printf("%d moves checked, from %u DPI; in %d, Wine's raster font allowed\n", moves, here, raster);
    EXPECT_EQ(2 * 3 * 2, moves) << "two dialogs, to each other DPI and back";
}

TEST(Strings, SystemMenuItemAndFrameworkCaption)
{
    EXPECT_EQ(L"&About digestor...", LoadStr(IDS_ABOUTBOX));
    EXPECT_EQ(L"Sumwise", LoadStr(AFX_IDS_APP_TITLE));
}

// A true-colour image at each size a display scale asks for, and a
// 16-colour pair for 16-colour displays.
TEST(Icon, GroupHasTrueColourImagesAtEveryScaleAndSixteenColourOnesAt32And16)
{
    const std::vector<std::pair<int, int>> want = {
        {32, 4}, {16, 4}, {16, 32}, {20, 32}, {24, 32}, {32, 32}, {40, 32}, {48, 32}, {64, 32}, {256, 32}};
    HRSRC grp = FindResourceW(nullptr, MAKEINTRESOURCEW(IDR_MAINFRAME), MAKEINTRESOURCEW(14)); // RT_GROUP_ICON
    ASSERT_NE(nullptr, grp);
    const BYTE* p = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, grp)));
    WORD count;
    std::memcpy(&count, p + 4, sizeof count);
    ASSERT_EQ(want.size(), count);
    std::vector<std::pair<int, int>> images;
    for (WORD i = 0; i < count; ++i) {
        const BYTE* e = p + 6 + 14 * i;  // GRPICONDIRENTRY; a size of 0 is 256
        WORD bits, id;
        std::memcpy(&bits, e + 6, sizeof bits);
        std::memcpy(&id, e + 12, sizeof id);
        SCOPED_TRACE(testing::Message() << "entry " << i);
        EXPECT_EQ(e[0], e[1]) << "square";
        EXPECT_EQ(bits == 4 ? 16 : 0, e[2]) << "colour count";
        const int size = e[0] != 0 ? e[0] : 256;
        images.emplace_back(size, bits);

        // The image itself must agree with its directory entry.
        HRSRC img = FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(3)); // RT_ICON
        ASSERT_NE(nullptr, img);
        BITMAPINFOHEADER bih;
        std::memcpy(&bih, LockResource(LoadResource(nullptr, img)), sizeof bih);
        if (size == 256)
            EXPECT_EQ(0, std::memcmp(&bih, "\x89PNG", 4));
        else
            EXPECT_TRUE(bih.biWidth == size && bih.biHeight == 2 * size && bih.biBitCount == bits);

        HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
            MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, size, size, 0));
        EXPECT_NE(nullptr, icon);
        DestroyIcon(icon);
    }
    EXPECT_EQ(want, images);

    // As the main window loads it: the true-colour image SM_CXICON asks for.
    ICONINFO info;
    BITMAP bm = {};
    ASSERT_TRUE(GetIconInfo(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
        MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)), &info));
    GetObjectW(info.hbmColor, sizeof bm, &bm);
    EXPECT_TRUE(bm.bmWidth == GetSystemMetrics(SM_CXICON) && bm.bmBitsPixel == 32) << bm.bmWidth;
}

TEST(VersionBlock, FixedPartAndStringsOfThisModule)
{
    wchar_t path[MAX_PATH];
    ASSERT_NE(0u, GetModuleFileNameW(nullptr, path, MAX_PATH));
    DWORD size = GetFileVersionInfoSizeW(path, nullptr);
    ASSERT_NE(0u, size);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block.data()));

    VS_FIXEDFILEINFO* ffi = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&ffi), &len));
    // Signature, file and product versions, VOS__WINDOWS32, VFT_APP.
    char fixed[128];
    snprintf(fixed, sizeof fixed, "%08lx %08lx.%08lx %08lx.%08lx %lx %lx", ffi->dwSignature, ffi->dwFileVersionMS,
             ffi->dwFileVersionLS, ffi->dwProductVersionMS, ffi->dwProductVersionLS, ffi->dwFileOS, ffi->dwFileType);
    EXPECT_STREQ("feef04bd 00010000.00000001 00010000.00000001 4 1", fixed);

    WORD* lang = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&lang), &len));
    ASSERT_EQ(4u, len);
    EXPECT_EQ(0x0409, lang[0]);
    EXPECT_EQ(1200, lang[1]);

    const std::pair<const wchar_t*, const wchar_t*> strings[] = {
        {L"FileDescription", L"MD5 hash generator"}, {L"FileVersion", L"1, 0, 0, 1"}, {L"ProductVersion", L"1, 0, 0, 1"},
        {L"ProductName", L"Sumwise"}, {L"InternalName", L"sumwise"}, {L"OriginalFilename", L"sumwise.exe"},
        {L"LegalTrademarks", L""}, {L"PrivateBuild", L""}, {L"SpecialBuild", L""}};
    for (const auto& [name, value] : strings)
        EXPECT_EQ(value, VersionString(block, name)) << name;
    for (const wchar_t* name : {L"CompanyName", L"LegalCopyright", L"Comments"})
        EXPECT_NE(L"", VersionString(block, name)) << name;
}

TEST(Manifest, Utf8CodePageAndCommonControls6)
{
    EXPECT_EQ(65001u, GetACP());

    // Only the manifest's dependency makes the loader take comctl32 from the
    // side-by-side store rather than system32. (Wine's version 6 still calls
    // itself 5.81 in DllGetVersion, so the version number proves nothing.)
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS};
    ASSERT_TRUE(InitCommonControlsEx(&icc));
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(GetModuleHandleW(L"comctl32.dll"), path, MAX_PATH);
    std::wstring lower(path);
    CharLowerW(&lower[0]);
    EXPECT_NE(std::wstring::npos,
              lower.find(L"_microsoft.windows.common-controls_6595b64144ccf1df_6."))
        << "comctl32 loaded from " << testing::PrintToString(lower);
}
