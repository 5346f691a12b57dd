// The least a Win32 program does to show a window, built with the same
// toolchain and flags as parvolin.exe; Parvolin's start-up under Wine is
// measured against it. Two floors: one empty window (minimal_win32), and,
// with PARVOLIN_NATIVE_CONTROLS, the fair one (minimal_controls_win32): a
// bare window with the same thirteen native controls at the same places, the
// same manifest (version 6 of the common controls, per-monitor DPI) and the
// message font, without the program's layout, handlers, checks or icons.
#include <windows.h>
#include <commctrl.h>

namespace {

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

#ifdef PARVOLIN_NATIVE_CONTROLS
// Form1's controls in pixels at 96 dpi: class, text, style, place.
struct Child {
    const wchar_t* windowClass;
    const wchar_t* text;
    DWORD style;
    DWORD exStyle;
    RECT place;  // left, top, width, height
};
constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
constexpr DWORD kCombo = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
constexpr DWORD kEdit = WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
constexpr Child kChildren[] = {
    {L"STATIC", L"Method:", kLabel, 0, {9, 12, 39, 13}},
    {L"COMBOBOX", L"Imperial", kCombo, 0, {60, 9, 148, 200}},
    {L"STATIC", L"Weight:", kLabel, 0, {9, 45, 37, 13}},
    {L"EDIT", L"", kEdit, WS_EX_CLIENTEDGE, {60, 42, 70, 21}},
    {L"STATIC", L"Height:", kLabel, 0, {9, 78, 34, 13}},
    {L"EDIT", L"", kEdit, WS_EX_CLIENTEDGE, {60, 75, 70, 21}},
    {L"COMBOBOX", L"Pounds", kCombo, 0, {138, 42, 70, 200}},
    {L"COMBOBOX", L"Feet", kCombo, 0, {138, 75, 70, 200}},
    {L"BUTTON", L"Calculate!", WS_TABSTOP | BS_PUSHBUTTON, 0, {60, 108, 91, 25}},
    {L"STATIC", L"Status:", kLabel, 0, {9, 183, 33, 13}},
    {L"EDIT",
     L"",
     WS_TABSTOP | WS_VSCROLL | ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
     WS_EX_CLIENTEDGE,
     {60, 180, 148, 54}},
    {L"STATIC", L"BMI:", kLabel, 0, {9, 150, 22, 13}},
    {L"EDIT", L"", kEdit, WS_EX_CLIENTEDGE, {60, 147, 148, 21}},
};

void addControls(HWND window) {
    const INITCOMMONCONTROLSEX common{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                               GetDpiForWindow(window));
    const HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    for (const Child& child : kChildren) {
        const HWND control = CreateWindowExW(child.exStyle, child.windowClass, child.text,
                                             WS_CHILD | WS_VISIBLE | child.style, child.place.left,
                                             child.place.top, child.place.right, child.place.bottom,
                                             window, nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}
constexpr wchar_t kTitle[] = L"Minimal with controls";
#else
constexpr wchar_t kTitle[] = L"Minimal";
#endif

}  // namespace

int wmain() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"Minimal";
    RegisterClassExW(&windowClass);
    HWND window = CreateWindowExW(0, L"Minimal", kTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 233, 282, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
#ifdef PARVOLIN_NATIVE_CONTROLS
    addControls(window);
#endif
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
