// dialog_fit SCR: SCR's settings dialog in this session's language, measured in its font at 100, 150 and 200 %. Prints
// language=LANGID, name= (in the list), text= (caption, controls), string= (run-time texts), "cut: ..." for a text
// that does not fit or a pane off the English one's place; exits 0 when all fit, 1 when not, 2 when it can't look.
#include "res/resource_ids.h"

#include <windows.h>

#include <cstdio>
#include <cwctype>
#include <string>
#include <vector>

namespace {

const LPCWSTR dialog_type = MAKEINTRESOURCEW(5); // RT_DIALOG

struct item {
    DWORD style;
    short x, y, width, height;
    WORD id;
    WORD atom; // 0x80 a button, 0x82 a static, 0 another class
    std::wstring text;
};

struct dialog_template {
    WORD points = 0;
    std::wstring caption;
    std::vector<item> items;
};

// A string, or 0xFFFF and an ordinal.
std::wstring read_text(const WORD*& at, WORD* ordinal = nullptr)
{
    if (*at == 0xFFFF)
        return ordinal && (*ordinal = at[1]), at += 2, L"";
    std::wstring text(reinterpret_cast<const wchar_t*>(at));
    at += text.size() + 1;
    return text;
}

dialog_template parse(const void* bytes)
{
    dialog_template parsed;
    const auto* header = static_cast<const DLGTEMPLATE*>(bytes);
    const WORD* at = reinterpret_cast<const WORD*>(header + 1);
    read_text(at), read_text(at); // menu, class
    parsed.caption = read_text(at);
    if (header->style & DS_SETFONT)
        parsed.points = *at++, read_text(at);
    for (int i = 0; i < header->cdit; ++i) {
        at = reinterpret_cast<const WORD*>((reinterpret_cast<UINT_PTR>(at) + 3) & ~UINT_PTR(3));
        const auto* fixed = reinterpret_cast<const DLGITEMTEMPLATE*>(at);
        item control = {fixed->style, fixed->x, fixed->y, fixed->cx, fixed->cy, fixed->id, 0, L""};
        at = reinterpret_cast<const WORD*>(fixed + 1);
        const std::wstring name = read_text(at, &control.atom);
        if (!lstrcmpiW(name.c_str(), L"BUTTON") || !lstrcmpiW(name.c_str(), L"STATIC"))
            control.atom = towupper(name[0]) == L'B' ? 0x80 : 0x82;
        control.text = read_text(at);
        at += 1 + (*at + 1) / 2; // the creation data's size, then the data
        parsed.items.push_back(control);
    }
    return parsed;
}

dialog_template template_of(HMODULE module, HRSRC resource) { return parse(LockResource(LoadResource(module, resource))); }

std::wstring string_of(HMODULE module, UINT id)
{
    std::wstring text(1024, L'\0');
    text.resize(LoadStringW(module, id, &text[0], int(text.size())));
    return text;
}

// A line break as "\n", as win_probe prints a window's text.
std::string utf8(const std::wstring& text)
{
    std::string bytes(text.size() * 4 + 1, '\0'), line;
    bytes.resize(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &bytes[0], int(bytes.size()), nullptr, nullptr) - 1);
    for (char each : bytes)
        line += each == '\n' ? std::string("\\n") : std::string(1, each);
    return line;
}

// Push buttons keep their edges and focus frame clear, check boxes their box and the gap after it.
int room(const item& control, int width, int dpi)
{
    const DWORD kind = control.style & BS_TYPEMASK;
    if (control.atom == 0x80 && (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON))
        return width - MulDiv(8, dpi, 96);
    if (control.atom == 0x80 && (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX))
        return width - MulDiv(18, dpi, 96);
    return width;
}

int failures = 0;
double tightest; // the largest share of its room a text takes at a scale
std::string tightest_text;

void check(const std::wstring& text, int room, int height, HDC dc, int dpi)
{
    SIZE size = {};
    TEXTMETRICW metrics = {};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    GetTextMetricsW(dc, &metrics);
    if (size.cx > room || metrics.tmHeight > height)
        ++failures, std::printf("cut: %d%% \"%s\": %ld x %ld px in %d x %d\n", dpi * 100 / 96, utf8(text).c_str(),
                                size.cx, metrics.tmHeight, room, height);
    if (double(size.cx) / room > tightest)
        tightest = double(size.cx) / room, tightest_text = utf8(text) + " (" + std::to_string(size.cx) + " of " + std::to_string(room) + " px)";
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    HMODULE scr = argc == 2 ? LoadLibraryExW(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE) : nullptr;
    static HRSRC picked; // the template the loader takes for this session
    if (!scr || !(picked = FindResourceW(scr, MAKEINTRESOURCEW(IDD_CONFIG), dialog_type)))
        return std::printf("no dialog in the .scr\n"), 2;
    static WORD language;
    EnumResourceLanguagesW(scr, dialog_type, MAKEINTRESOURCEW(IDD_CONFIG), [](HMODULE module, LPCWSTR type, LPCWSTR name, WORD each, LONG_PTR) {
        return language = FindResourceExW(module, type, name, each) == picked ? each : language, TRUE;
    }, 0);
    std::printf("language=%04x\nname=%s\n", language, utf8(string_of(scr, 1)).c_str());
    const dialog_template dialog = template_of(scr, picked);
    std::printf("text=%s\n", utf8(dialog.caption).c_str());
    for (const item& control : dialog.items)
        if (control.atom == 0x80 || control.atom == 0x82)
            std::printf("text=%s\n", utf8(control.text).c_str());
    for (UINT id : {IDS_PANE_WITHOUT_GL, IDS_UNSAVED_SETTINGS, IDS_FATAL_ERROR_TITLE, IDS_UNKNOWN_ERROR})
        std::printf("string=%s\n", utf8(string_of(scr, id)).c_str());

    // Every language shows the water at the English pane's place and size.
    const dialog_template english = template_of(scr, FindResourceExW(scr, dialog_type, MAKEINTRESOURCEW(IDD_CONFIG),
                                                                     MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)));
    for (const item& control : dialog.items)
        for (const item& in_english : english.items)
            if (control.id == IDC_PANE && in_english.id == IDC_PANE &&
                (control.x != in_english.x || control.y != in_english.y || control.width != in_english.width || control.height != in_english.height))
                ++failures, std::printf("cut: the pane is at %d,%d %dx%d, in English at %d,%d %dx%d\n", control.x, control.y,
                                        control.width, control.height, in_english.x, in_english.y, in_english.width, in_english.height);

    // Built hidden by the system, for its font and the controls' places.
    WNDCLASSW plain = {};
    plain.lpfnWndProc = DefWindowProcW;
    for (const wchar_t* name : {L"WATER_PANE", L"msctls_trackbar32"})
        plain.lpszClassName = name, RegisterClassW(&plain);
    HWND window = CreateDialogIndirectParamW(nullptr, static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(scr, picked))),
                                             nullptr, [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    if (!window)
        return std::printf("the dialog can't be made: %lu\n", GetLastError()), 2;
    LOGFONTW font = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    HDC dc = CreateCompatibleDC(nullptr);
    const int screen_dpi = GetDeviceCaps(dc, LOGPIXELSY);
    if (font.lfHeight != -MulDiv(dialog.points, screen_dpi, 72))
        return std::printf("the dialog's font is %ld px high, not %d points\n", font.lfHeight, dialog.points), 2;

    for (int dpi : {96, 144, 192}) {
        font.lfHeight = -MulDiv(dialog.points, dpi, 72);
        HFONT scaled = CreateFontIndirectW(&font);
        const HGDIOBJ old = SelectObject(dc, scaled);
        SIZE letters = {};
        TEXTMETRICW metrics = {};
        GetTextExtentPoint32W(dc, L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", 52, &letters);
        GetTextMetricsW(dc, &metrics);
        const int unit_x = (letters.cx / 26 + 1) / 2, unit_y = metrics.tmHeight;
        tightest = 0;
        HWND child = GetWindow(window, GW_CHILD); // in template order
        for (const item& control : dialog.items) {
            const int left = MulDiv(control.x, unit_x, 4), top = MulDiv(control.y, unit_y, 8);
            const int width = MulDiv(control.width, unit_x, 4), height = MulDiv(control.height, unit_y, 8);
            RECT shown = {}; // the units must be the system's own where it was made
            if (dpi == screen_dpi && GetWindowRect(child, &shown) && MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&shown), 2) &&
                (shown.left != left || shown.top != top || shown.right - shown.left != width))
                return std::printf("control %u is at %ld,%ld+%ld, not %d,%d+%d\n", control.id, shown.left, shown.top,
                                   shown.right - shown.left, left, top, width), 2;
            // The link shows the address in a font of its own; the pane its line where it has no OpenGL.
            if (control.id == IDC_PANE)
                check(string_of(scr, IDS_PANE_WITHOUT_GL), width, height, dc, dpi);
            else if (!control.text.empty() && control.id != IDC_LINK && control.atom)
                check(control.text, room(control, width, dpi), height, dc, dpi);
            child = GetWindow(child, GW_HWNDNEXT);
        }
        wchar_t face[LF_FACESIZE] = L"";
        GetTextFaceW(dc, LF_FACESIZE, face);
        std::printf("%d%%: %s, %d x %d px a unit; the tightest: %s\n", dpi * 100 / 96, utf8(face).c_str(), unit_x, unit_y,
                    tightest_text.c_str());
        DeleteObject(SelectObject(dc, old));
    }
    std::printf("%s\n", failures ? "some texts are cut" : "every text fits");
    return failures ? 1 : 0;
}
