// Times the face details dialog's character grid under Wine, in one run:
//  - painting one full view (a 1000 x 700 client area, 48-pixel cells) of a
//    face, scrolled to 20 places spread over the face, beside the floor: the
//    same characters at the same positions, one ExtTextOutW each, into the
//    same memory context;
//  - opening the dialog on each page of a face it has not shown yet, until it
//    has shown and painted and nothing waits (the target: 100 ms), and until
//    what is slow to work out about the face (coverage, feature changes) has
//    come from its thread and been filled in;
//  - on the grid page from 葛 on, one arrow key press: the selection moved and
//    the grid, the line and the character panel (its text and variant glyphs)
//    redrawn, beside a 60 Hz frame;
//  - the 組版 page's line: the sample's first line set by HarfBuzz with the
//    default features and drawn glyph by glyph at the nine sizes of the size
//    list, beside ExtTextOutW drawing the same text in the same face by itself;
//  - with a variable font VARFONT: a 48-pixel line drawn from outlines at an
//    instance beside GDI drawing the same glyphs at the default, both into a
//    paint buffer as the pages draw, and the ten
//    lines of the waterfall set and drawn at a new instance, as dragging an
//    axis's track bar does (the target: within a 60 Hz frame, 16.7 ms).
// Prints medians in milliseconds and the ratios.
//
//   tavrel-bench-details-pages FONT [RUNS] [VARFONT]

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <memory>
#include <vector>

#include "app_state.h"
#include "face_registration_win32.h"
#include "application.h"
#include "char_grid.h"
#include "details_face.h"
#include "code_point_text.h"
#include "font_file_win32.h"
#include "glyph_line.h"
#include "loaded_font_list.h"
#include "paint_buffer.h"
#include "resource_ids.h"
#include "subject_code_points.h"
#include "subject_face.h"
#include "waterfall_page.h"

namespace tavrel {
namespace {

constexpr SIZE kView{1000, 700};
constexpr int kPlaces = 20;

double Now() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * double(counter.QuadPart) / double(frequency.QuadPart);
}

double MedianOf(int runs, const std::function<double()>& once) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) times.push_back(once());
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double Timed(const std::function<void()>& act) {
    const double start = Now();
    act();
    GdiFlush();
    return Now() - start;
}

// The floor: the cells' characters, each drawn where the grid draws it.
void PaintFloor(HDC dc, HFONT font, int baseline, const std::vector<char32_t>& codePoints, std::size_t topRow) {
    const int columns = kView.cx / kDefaultCellSize, rows = (kView.cy + kDefaultCellSize - 1) / kDefaultCellSize;
    const HGDIOBJ previous = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_CENTER | TA_BASELINE | TA_NOUPDATECP);
    for (std::size_t i = topRow * columns; i < std::min(codePoints.size(), (topRow + rows) * columns); ++i) {
        const std::wstring text = Utf16Of(codePoints[i]);
        const int left = int(i % columns) * kDefaultCellSize, top = int(i / columns - topRow) * kDefaultCellSize;
        ExtTextOutW(dc, left + kDefaultCellSize / 2, top + baseline, 0, nullptr, text.c_str(), UINT(text.size()),
                    nullptr);
    }
    SelectObject(dc, previous);
}

HFONT FloorFont(const std::wstring& faceName, HDC dc, int& baseline) {
    LOGFONTW logFont{};
    logFont.lfHeight = -kDefaultCellSize * 3 / 4;
    logFont.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(logFont.lfFaceName, faceName.c_str(), LF_FACESIZE - 1);
    const HFONT font = CreateFontIndirectW(&logFont);
    const HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    baseline = (kDefaultCellSize - metrics.tmAscent - metrics.tmDescent) / 2 + metrics.tmAscent;
    return font;
}

// A window to hold the grid, larger than its view.
HWND GridHost() {
    return CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, kView.cx + 100, kView.cy + 100, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

void BenchPaint(int runs) {
    const auto& fonts = LoadedFonts();
    const DetailsSubject subject{fonts.faceNames[0], fonts.faceSources[0], L""};
    const std::vector<char32_t> codePoints = SubjectCodePoints(subject);
    const HWND host = GridHost();
    CharGrid grid(host, subject.faceName, codePoints, {});
    RECT window{0, 0, kView.cx, kView.cy};
    AdjustWindowRectEx(&window, WS_CHILD, FALSE, WS_EX_CLIENTEDGE);
    const int scrollBar = GetSystemMetrics(SM_CXVSCROLL);
    MoveWindow(grid.Window(), 0, 0, window.right - window.left + scrollBar, window.bottom - window.top, FALSE);
    RECT client{};
    GetClientRect(grid.Window(), &client);
    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, kView.cx, kView.cy);
    const HGDIOBJ previous = SelectObject(dc, bitmap);
    int baseline = 0;
    const HFONT font = FloorFont(subject.faceName, dc, baseline);
    double gridTotal = 0, floorTotal = 0;
    for (int place = 0; place < kPlaces; ++place) {
        grid.Select(codePoints[(codePoints.size() - 1) * place / (kPlaces - 1)]);
        SCROLLINFO scroll{};
        scroll.cbSize = sizeof scroll;
        scroll.fMask = SIF_POS;
        GetScrollInfo(grid.Window(), SB_VERT, &scroll);
        gridTotal += MedianOf(runs, [&] { return Timed([&] { grid.Paint(dc, client); }); });
        floorTotal += MedianOf(runs, [&] { return Timed([&] { PaintFloor(dc, font, baseline, codePoints, scroll.nPos); }); });
    }
    std::printf("grid view %ldx%ld, %zu code points, %d places\n", client.right, client.bottom, codePoints.size(),
                kPlaces);
    std::printf("paint_grid_ms %.3f\npaint_floor_ms %.3f\npaint_ratio %.2f\n", gridTotal / kPlaces,
                floorTotal / kPlaces, gridTotal / floorTotal);
    DeleteObject(font);
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    DestroyWindow(host);
}

void BenchTypesetLine(int runs) {
    const auto& fonts = LoadedFonts();
    const DetailsSubject subject{fonts.faceNames[0], fonts.faceSources[0], L""};
    const auto face = ReadSubjectFace(subject);
    auto shaping = face ? ShapingFace::Open(face->Image(), face->index) : Result<ShapingFace>(Failure{"unreadable"});
    if (!shaping) return (void)std::printf("typeset: the face cannot be read\n");
    const std::wstring text = L"フォントの世界は永遠です。";
    const std::u16string_view line(reinterpret_cast<const char16_t*>(text.data()), text.size());
    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, 1600, 200);
    const HGDIOBJ previous = SelectObject(dc, bitmap);
    const std::vector<std::uint32_t> sizes = DetailsPageSizes();
    const auto pixels = [&](std::uint32_t points) { return MulDiv(int(points), GetDeviceCaps(screen, LOGPIXELSY), 72); };
    const double ours = MedianOf(runs, [&] {
        return Timed([&] {
            for (std::uint32_t points : sizes) {
                const LineFonts lineFonts = CreateLineFonts(subject.faceName, shaping.value(), pixels(points));
                DrawGlyphLine(dc, SetLine(shaping.value(), line, {}, false).value(), false, lineFonts, {8, 150});
            }
        });
    });
    const double floor = MedianOf(runs, [&] {
        return Timed([&] {
            for (std::uint32_t points : sizes) {
                LOGFONTW logFont{};
                logFont.lfHeight = -pixels(points);
                logFont.lfCharSet = DEFAULT_CHARSET;
                wcsncpy(logFont.lfFaceName, subject.faceName.c_str(), LF_FACESIZE - 1);
                const HFONT font = CreateFontIndirectW(&logFont);
                const HGDIOBJ was = SelectObject(dc, font);
                SetTextAlign(dc, TA_LEFT | TA_BASELINE);
                ExtTextOutW(dc, 8, 150, 0, nullptr, text.c_str(), UINT(text.size()), nullptr);
                SelectObject(dc, was);
                DeleteObject(font);
            }
        });
    });
    std::printf("typeset_line_ms %.3f\ntypeset_floor_ms %.3f\ntypeset_ratio %.2f (%zu sizes)\n", ours, floor,
                ours / floor, sizes.size());
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

void BenchInstances(std::size_t item, int runs) {
    const auto& fonts = LoadedFonts();
    const DetailsSubject subject{fonts.faceNames[item], fonts.faceSources[item], L""};
    const auto face = ReadSubjectFace(subject);
    auto shaping = face ? ShapingFace::Open(face->Image(), face->index) : Result<ShapingFace>(Failure{"unreadable"});
    if (!shaping) return (void)std::printf("instances: the variable face cannot be read\n");
    const std::u16string_view text = u"Hamburgefonstiv 0123 The quick brown fox";
    const HDC screen = GetDC(nullptr);
    const HDC target = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, 1800, 900);
    const HGDIOBJ previous = SelectObject(target, bitmap);
    auto buffer = std::make_unique<PaintBuffer>(target, RECT{0, 0, 1800, 900});
    const HDC dc = buffer->dc();
    const auto line = [&](int pixels, bool fromOutlines) {
        const LineFonts lineFonts = CreateLineFonts(subject.faceName, shaping.value(), pixels, fromOutlines);
        DrawGlyphLine(dc, SetLine(shaping.value(), text, {}, false).value(), false, lineFonts, {8, 100});
    };
    const std::vector<AxisSetting> heavy{{Tag("wght"), 650}};
    shaping->SetVariations({});
    const double gdi = MedianOf(runs, [&] { return Timed([&] { line(48, false); }); });
    shaping->SetVariations(heavy);
    const double outlines = MedianOf(runs, [&] { return Timed([&] { line(48, true); }); });
    float weight = 100;
    const double drag = MedianOf(runs, [&] {
        weight = weight >= 900 ? 100 : weight + 37;
        shaping->SetVariations(std::vector<AxisSetting>{{Tag("wght"), weight}});
        return Timed([&] {
            for (std::uint32_t points : {8, 10, 12, 16, 20, 24, 32, 36, 48, 72}) line(MulDiv(int(points), 96, 72), true);
        });
    });
    std::printf("outline_line_48px_ms %.3f\ngdi_line_48px_ms %.3f\noutline_ratio %.2f\nwaterfall_drag_ms %.3f\n",
                outlines, gdi, outlines / gdi, drag);
    buffer.reset();
    SelectObject(target, previous);
    DeleteObject(bitmap);
    DeleteDC(target);
    ReleaseDC(nullptr, screen);
}

struct Opening {
    double shown, filledIn;
};

// What closing the dialog left to do (the main window repainted where the
// dialog covered it), so that it is not counted in the next opening.
void DrainQueue() {
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Dispatches what comes until the dialog's face has been filled in and
// nothing waits: when the queue first ran dry (it has shown and painted) and
// when the face's slow parts reached the pages, from `start`.
Opening Dispatch(double start) {
    Opening opening{0, 0};
    for (MSG message; !opening.shown || !opening.filledIn;) {
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
            if (message.message == kFaceFilledInMessage) opening.filledIn = Now() - start;
        } else if (!opening.shown) {
            opening.shown = Now() - start;
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
        }
    }
    return opening;
}

// The dialog opened on `page`, from the command to its first idle moment, and
// to the moment its face's slow parts are shown; closed again.
Opening OpenDialog(HWND main, int page) {
    const double start = Now();
    SendMessageW(main, WM_COMMAND, IDM_FACE_DETAILS, 0);
    const HWND dialog = FindWindowW(L"#32770", nullptr);
    if (!dialog) return {0, 0};
    const HWND tab = FindWindowExW(dialog, nullptr, WC_TABCONTROLW, nullptr);
    if (SendMessageW(tab, TCM_GETCURSEL, 0, 0) != page) {  // the next opening shows `page`
        SendMessageW(tab, TCM_SETCURSEL, WPARAM(page), 0);
        NMHDR changed{tab, 0, UINT(TCN_SELCHANGE)};
        SendMessageW(dialog, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&changed));
    }
    const Opening opening = Dispatch(start);
    DestroyWindow(dialog);
    DrainQueue();
    return opening;
}

void BenchOpening(HWND main, int runs) {
    const char* const pages[] = {"info", "grid", "waterfall", "typeset"};
    for (int page = 0; page < 4; ++page) {
        OpenDialog(main, page);
        std::vector<double> shown, filledIn;
        for (int i = 0; i < runs; ++i) {
            const Opening opening = OpenDialog(main, page);
            shown.push_back(opening.shown);
            filledIn.push_back(opening.filledIn);
        }
        std::sort(shown.begin(), shown.end());
        std::sort(filledIn.begin(), filledIn.end());
        std::printf("open_on_%s_ms %.1f\nfilled_in_on_%s_ms %.1f\n", pages[page], shown[shown.size() / 2], pages[page],
                    filledIn[filledIn.size() / 2]);
    }
}

// One arrow key press on the grid page from 葛 on, the pages redrawn at once.
void BenchArrowKeys(HWND main, int runs) {
    OpenDialog(main, 1);  // the next opening shows the grid page
    SendMessageW(main, WM_COMMAND, IDM_FACE_DETAILS, 0);
    const HWND dialog = FindWindowW(L"#32770", nullptr);
    if (!dialog) return;
    Dispatch(Now());
    const HWND pane = FindWindowExW(dialog, nullptr, L"TavrelCharGridPage", nullptr);
    const HWND grid = FindWindowExW(pane, nullptr, L"TavrelCharGrid", nullptr);
    SetWindowTextW(FindWindowExW(pane, nullptr, L"Edit", nullptr), L"葛");
    const double arrowMs = MedianOf(runs * 4, [&] {
        return Timed([&] {
            SendMessageW(grid, WM_KEYDOWN, VK_RIGHT, 1);
            RedrawWindow(pane, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        });
    });
    DestroyWindow(dialog);
    std::printf("arrow_key_ms %.2f\narrow_key_to_frame %.2f\n", arrowMs, arrowMs / (1000.0 / 60));
}

}  // namespace
}  // namespace tavrel

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const int runs = argc > 2 ? _wtoi(argv[2]) : 15;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!tavrel::RegisterMainWindowClass(instance)) return 1;
    const HWND main = tavrel::CreateMainWindow(instance);
    if (!main) return 1;
    ShowWindow(main, SW_SHOWNORMAL);
    UpdateWindow(main);
    tavrel::OpenFontFile(argv[1]);
    if (tavrel::LoadedFonts().faceNames.empty()) return 1;
    SendMessageW(tavrel::appState.hwndFaceCombo, CB_SETCURSEL, 0, 0);
    tavrel::BenchPaint(runs);
    tavrel::BenchTypesetLine(runs);
    if (argc > 3) {
        tavrel::OpenFontFile(argv[3]);
        const std::size_t variable = tavrel::LoadedFonts().faceNames.size() - 1;
        // A face after the first is registered when used, as choosing it would.
        if (variable > 0 && tavrel::RegisterListedFace(variable)) tavrel::BenchInstances(variable, runs);
    }
    tavrel::BenchOpening(main, runs);
    tavrel::BenchArrowKeys(main, runs);
    DestroyWindow(main);
    return 0;
}
