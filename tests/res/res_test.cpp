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
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "framework/afxres.h"
#include "res/resource.h"
#include "tests/support/dpi_behavior.h"
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
// (an icon control takes the icon's size). A dialog moved to another DPI,
// pMoved, is laid out in the units of its font there.
void ExpectLaidOutInDialogUnits(HWND dlg, const Dialog& d, const CDialog* pMoved = nullptr)
{
    auto map = [dlg, pMoved](int x, int y, int cx, int cy) {  // position and size each mapped on its own
        RECT r = {x, y, cx, cy};
        pMoved ? pMoved->MapDialogRect(&r) : void(MapDialogRect(dlg, &r));
        return RECT{r.left, r.top, r.left + r.right, r.top + r.bottom};
    };
    const RECT units = map(0, 0, 4, 8);
    EXPECT_TRUE(pMoved || (GetDpiForSystem() == 96 ? units.right == 6 && units.bottom == 13
                                                   : units.right > 6 && units.bottom > 13))
        << "base units " << units.right << " x " << units.bottom;
    const UINT dpi = pMoved ? pMoved->GetDpi() : GetDpiForSystem();
    RECT want = map(0, 0, d.cx, d.cy), got;
    GetClientRect(dlg, &got);
    EXPECT_TRUE(EqualRect(&want, &got)) << "client " << got.right << " x " << got.bottom;
    HWND c = GetWindow(dlg, GW_CHILD);
    for (const Item& it : d.items) {
        want = map(it.x, it.y, it.cx, it.cy);
        if (_wcsicmp(it.cls.c_str(), L"Static") == 0 && (it.style & SS_TYPEMASK) == SS_ICON)
            want = map(it.x, it.y, 0, 0), want.right += GetSystemMetricsForDpi(SM_CXICON, dpi),
            want.bottom += GetSystemMetricsForDpi(SM_CYICON, dpi);
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

// A font's whole LOGFONT.
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

// A dialog as it stands: its window's size and its frame's, then its
// client area, caption icons, font and dialog units, then each control's
// rectangle, font and icon; each with the flags that turned Windows' own
// rescaling off for it.
std::vector<std::string> Layout(const CDialog& dlg)
{
    const HWND hDlg = dlg.m_hWnd;
    RECT rc, client, units = {0, 0, 4, 8};
    char line[512];
    GetWindowRect(hDlg, &rc);
    GetClientRect(hDlg, &client);
    dlg.MapDialogRect(&units);
    snprintf(line, sizeof line, "window %ldx%ld frame %ldx%ld", rc.right - rc.left, rc.bottom - rc.top,
             rc.right - rc.left - client.right, rc.bottom - rc.top - client.bottom);
    std::vector<std::string> lines = {line};
    snprintf(line, sizeof line, "client %ldx%ld icons %d,%d font %s units %ldx%ld off %s", client.right, client.bottom,
             IconWidth(SendMessageW(hDlg, WM_GETICON, ICON_BIG, 0)), IconWidth(SendMessageW(hDlg, WM_GETICON, ICON_SMALL, 0)),
             FontText(SendMessageW(hDlg, WM_GETFONT, 0, 0)).c_str(), units.right, units.bottom,
             LentDpiBehavior::Flags(hDlg).c_str());
    lines.push_back(line);
    for (HWND c = GetWindow(hDlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        GetWindowRect(c, &rc);
        MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rc), 2);
        snprintf(line, sizeof line, "%d: %ld,%ld %ldx%ld font %s icon %d off %s", GetDlgCtrlID(c), rc.left, rc.top,
                 rc.right - rc.left, rc.bottom - rc.top, FontText(SendMessageW(c, WM_GETFONT, 0, 0)).c_str(),
                 IconWidth(SendMessageW(c, STM_GETICON, 0, 0)), LentDpiBehavior::Flags(c).c_str());
        lines.push_back(line);
    }
    return lines;
}

// A layout without what depends on the size its font is measured at: the
// window, the client area and dialog units, the controls' rectangles.
std::vector<std::string> WithoutPlaces(const std::vector<std::string>& lines)
{
    static const std::regex places("^client \\S+ | units \\S+|^(-?\\d+): \\S+ \\S+");
    std::vector<std::string> out;
    for (size_t i = 1; i < lines.size(); ++i)
        out.push_back(std::regex_replace(lines[i], places, "$1"));
    return out;
}

std::unique_ptr<CDialog> Create(UINT id)
{
    std::unique_ptr<CDialog> pDlg(id == IDD_MAIN ? static_cast<CDialog*>(new CHashDlg) : new CAboutDlg);
    EXPECT_TRUE(pDlg->Create(id));
    return pDlg;
}

// Where a run at dpi records a dialog's layout, one line a line.
std::string LayoutFile(const char* dir, UINT id, UINT dpi)
{
    return std::string(dir) + "\\" + std::to_string(id) + "-" + std::to_string(dpi) + ".txt";
}

}  // namespace

// The display-scale runs: tests/res/scale_test.sh starts this program once
// at each DPI, each time in a new Wine session set to it, so that the
// process's DPI and its windows' agree as they do on Windows, and runs the
// dialog and icon tests above at that DPI and this one.
//
// Each dialog moved to a monitor of another scale is laid out as one created
// there. Each run records its dialogs as created at its DPI, then moves
// them to each DPI an earlier run recorded and back. There, the dialog has
// the record's fonts, icons and frame, and each control is where the
// template puts it in the units of its font there (measured in this
// process: a raster font's sizes differ between DPIs); back here, it is the
// dialog as created. Wine lacks the functions that turn Windows' own
// rescaling off; the test lends them.
TEST(DpiChange, DialogsLayOutAsIfCreatedAtTheNewDpi)
{
    const char *dir = std::getenv("SUMWISE_LAYOUTS"), *asked = std::getenv("SUMWISE_ASKED_DPI");
    if (dir == nullptr || asked == nullptr)
        GTEST_SKIP() << "run at each DPI by scale_test.sh (ctest -R scale)";
    const UINT dpi = GetDpiForSystem();
    EXPECT_EQ(std::stoul(asked), dpi);
    // Per-monitor where the platform offers it (v2), else the manifest's fallback.
    EXPECT_EQ(IsValidDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) ? DPI_AWARENESS_PER_MONITOR_AWARE
              : DPI_AWARENESS_SYSTEM_AWARE, GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()));
    LentDpiBehavior lent;
    for (UINT id : {IDD_MAIN, IDD_ABOUTBOX}) {
        std::unique_ptr<CDialog> pHere = Create(id);
        EXPECT_EQ(dpi, GetDpiForWindow(pHere->m_hWnd));
        const std::vector<std::string> here = Layout(*pHere);
        // Exactly the flags that turn Windows' rescaling off: DDC_DISABLE_ALL,
        // and both DCDC_ flags on every control.
        EXPECT_NE(std::string::npos, here[1].find(" off 1/1")) << here[1];
        for (size_t i = 2; i < here.size(); ++i)
            EXPECT_NE(std::string::npos, here[i].find(" off 3/3")) << here[i];
        std::ofstream file(LayoutFile(dir, id, dpi));
        for (const std::string& line : here)
            file << line << "\n";
        for (UINT other : {96u, 120u, 144u, 192u}) {
            std::ifstream recorded(LayoutFile(dir, id, other));
            std::vector<std::string> there;
            for (std::string line; std::getline(recorded, line);)
                there.push_back(line);
            if (other == dpi || there.empty())
                continue;
            std::unique_ptr<CDialog> pMoved = Create(id);
            for (UINT to : {other, dpi}) {
                SCOPED_TRACE(testing::Message() << "dialog " << id << " moved from " << dpi << " to " << to << " DPI");
                const std::vector<std::string>& want = to == dpi ? here : there;
                SIZE asked = {}, frame = {};
                EXPECT_TRUE(SendMessageW(pMoved->m_hWnd, WM_GETDPISCALEDSIZE, to, reinterpret_cast<LPARAM>(&asked)));
                sscanf(want[0].c_str(), "window %*dx%*d frame %ldx%ld", &frame.cx, &frame.cy);
                // Windows suggests the size asked for and draws the frame at
                // the new DPI. Wine keeps a window's frame at the DPI it was
                // created at, so the suggestion here puts the client area
                // asked for in that frame.
                RECT mw, mc;
                GetWindowRect(pMoved->m_hWnd, &mw), GetClientRect(pMoved->m_hWnd, &mc);
                RECT suggested = {mw.left, mw.top, mw.right - mc.right + asked.cx - frame.cx,
                                  mw.bottom - mc.bottom + asked.cy - frame.cy};
                SendMessageW(pMoved->m_hWnd, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
                const std::vector<std::string> moved = Layout(*pMoved);
                if (to == dpi) {
                    EXPECT_EQ(here[0].substr(0, here[0].find(" frame")),
                              "window " + std::to_string(asked.cx) + "x" + std::to_string(asked.cy));
                    EXPECT_EQ(std::vector<std::string>(here.begin() + 1, here.end()),
                              std::vector<std::string>(moved.begin() + 1, moved.end()));
                } else {
                    ExpectLaidOutInDialogUnits(pMoved->m_hWnd, ParseDialog(LoadTemplate(id)), pMoved.get());
                    EXPECT_EQ(WithoutPlaces(there), WithoutPlaces(moved));
                }
            }
        }
    }
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
