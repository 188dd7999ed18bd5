// The library window's rows under Wine, in one process.
//
//   tavrel-bench-row-pictures LIBRARY [ROUNDS]
//     LIBRARY is a folder of generated faces (make_library.py). Each round
//     draws the first screenful of 30 rows of faces not drawn before through
//     RowPictures, as the list does (every row asked for, then each drawn
//     again as its message arrives), beside the same 30 lines drawn by GDI in
//     one registered face, and beside reading, registering and drawing each
//     of 30 other faces with GDI; then the same page again from the pictures
//     kept.
//     Prints the medians, their ratio, the page's share of a 60 Hz frame, and
//     the bytes the pictures of every screenful drawn hold.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "font_file_win32.h"
#include "row_pictures.h"
#include "wall_clock_win32.h"

namespace tavrel {
namespace {

constexpr int kRows = 30, kRowHeight = 32, kPixelsPerEm = 24, kColumnWidth = 600;
constexpr wchar_t kLine[] = L"Hello, font world! 0123";
constexpr UINT kDrawn = WM_APP + 1;
constexpr double kFrameMs = 1000.0 / 60;
constexpr COLORREF kText = RGB(0, 0, 0), kBack = RGB(255, 255, 255);

using bench::Median;
using bench::Now;

std::vector<FaceSource> Sources(const std::filesystem::path& library) {
    std::vector<std::wstring> paths;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(library))
        if (entry.path().extension() == L".ttf") paths.push_back(entry.path().wstring());
    std::sort(paths.begin(), paths.end());
    std::vector<FaceSource> sources;
    for (std::wstring& path : paths) sources.push_back(FaceSource{std::move(path), std::nullopt, false, {}});
    return sources;
}

RECT RowRect(int row) { return {0, row * kRowHeight, kColumnWidth, (row + 1) * kRowHeight}; }

// Rows of faces `first` onwards, asked for and drawn as each picture arrives.
double FirstScreen(RowPictures& pictures, HDC dc, const std::vector<FaceSource>& sources, std::size_t first) {
    const double start = Now();
    for (int row = 0; row < kRows; ++row) pictures.Draw(dc, RowRect(row), first + row, sources[first + row], kText, kBack);
    for (int drawn = 0; drawn < kRows;) {
        MSG message{};
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) break;
        if (message.message != kDrawn) {
            DispatchMessageW(&message);
            continue;
        }
        const std::size_t face = message.wParam;
        pictures.Draw(dc, RowRect(int(face - first)), face, sources[face], kText, kBack);
        ++drawn;
    }
    GdiFlush();
    return Now() - start;
}

double Page(RowPictures& pictures, HDC dc, const std::vector<FaceSource>& sources, std::size_t first) {
    const double start = Now();
    for (int row = 0; row < kRows; ++row) pictures.Draw(dc, RowRect(row), first + row, sources[first + row], kText, kBack);
    GdiFlush();
    return Now() - start;
}

// The same rows' lines drawn by GDI in one face registered beforehand.
double GdiLines(HDC dc, const std::wstring& faceName) {
    const double start = Now();
    LOGFONTW logFont{};
    logFont.lfHeight = -kPixelsPerEm;
    logFont.lfQuality = ANTIALIASED_QUALITY;
    faceName.copy(logFont.lfFaceName, LF_FACESIZE - 1);
    const HFONT font = CreateFontIndirectW(&logFont);
    const HGDIOBJ previous = SelectObject(dc, font);
    SetTextColor(dc, kText);
    SetBkColor(dc, kBack);
    for (int row = 0; row < kRows; ++row) {
        const RECT rect = RowRect(row);
        ExtTextOutW(dc, 0, rect.top + 4, ETO_OPAQUE | ETO_CLIPPED, &rect, kLine, UINT(wcslen(kLine)), nullptr);
    }
    GdiFlush();
    SelectObject(dc, previous);
    DeleteObject(font);
    return Now() - start;
}

// What a list drawn by GDI would do for each of the same faces: read the
// file, register it, draw its line and let it go.
double GdiFaces(HDC dc, const std::vector<FaceSource>& sources, std::size_t first) {
    const double start = Now();
    for (int row = 0; row < kRows; ++row) {
        const FaceSource& source = sources[first + std::size_t(row)];
        const auto image = ReadFontFile(source.path.c_str());
        DWORD count = 0;
        const HANDLE handle = image ? AddFontMemResourceEx(image->memory.get(), image->size, nullptr, &count) : nullptr;
        const std::wstring number = source.path.substr(source.path.size() - 9, 5);  // library-NNNNN.ttf
        LOGFONTW logFont{};
        logFont.lfHeight = -kPixelsPerEm;
        logFont.lfQuality = ANTIALIASED_QUALITY;
        (L"Tavrel Library " + number).copy(logFont.lfFaceName, LF_FACESIZE - 1);
        const HFONT font = CreateFontIndirectW(&logFont);
        const HGDIOBJ previous = SelectObject(dc, font);
        const RECT rect = RowRect(row);
        ExtTextOutW(dc, 0, rect.top + 4, ETO_OPAQUE | ETO_CLIPPED, &rect, kLine, UINT(wcslen(kLine)), nullptr);
        GdiFlush();
        SelectObject(dc, previous);
        DeleteObject(font);
        if (handle) RemoveFontMemResourceEx(handle);
    }
    return Now() - start;
}

HWND CreateCanvas(HINSTANCE instance) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"TavrelBenchRows";
    RegisterClassW(&windowClass);
    const HWND hwnd = CreateWindowW(L"TavrelBenchRows", L"rows", WS_POPUP | WS_VISIBLE, 0, 0, kColumnWidth,
                                    kRows * kRowHeight, nullptr, nullptr, instance, nullptr);
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&message);
    return hwnd;
}

int Run(const std::filesystem::path& library, int rounds) {
    const std::vector<FaceSource> sources = Sources(library);
    if (sources.size() < std::size_t(kRows) * (2 * rounds + 2)) return 2;
    const auto image = ReadFontFile(sources.front().path.c_str());
    DWORD count = 0;
    if (!image || !AddFontMemResourceEx(image->memory.get(), image->size, nullptr, &count)) return 2;
    const HWND hwnd = CreateCanvas(GetModuleHandleW(nullptr));
    const HDC dc = GetDC(hwnd);
    RowPictures pictures(hwnd, kDrawn, std::size_t(64) << 20);
    pictures.SetLine(std::u16string(kLine, kLine + wcslen(kLine)), kPixelsPerEm);
    GdiLines(dc, L"Tavrel Library 00000");  // the font's first use is not what is measured
    std::vector<double> first, gdi, gdiFaces, page;
    for (int round = 0; round < rounds; ++round) {
        const std::size_t faces = std::size_t(round + 1) * kRows;  // face 0 is the one registered
        first.push_back(FirstScreen(pictures, dc, sources, faces));
        gdi.push_back(GdiLines(dc, L"Tavrel Library 00000"));
        gdiFaces.push_back(GdiFaces(dc, sources, faces + std::size_t(rounds + 1) * kRows));
        page.push_back(Page(pictures, dc, sources, faces));
    }
    std::printf("faces %zu\nfirst_screen_ms %.2f\ngdi_one_face_ms %.2f\nfirst_screen_vs_gdi %.2f\n", sources.size(),
                Median(first), Median(gdi), Median(first) / Median(gdi));
    std::printf("gdi_each_face_registered_ms %.2f\nfirst_screen_vs_gdi_each_face %.2f\n", Median(gdiFaces),
                Median(first) / Median(gdiFaces));
    std::printf("page_from_cache_ms %.2f\npage_vs_60hz_frame %.3f\n", Median(page), Median(page) / kFrameMs);
    std::printf("cache_bytes %zu after %d screenfuls (%zu a row)\n", pictures.bytes(), rounds,
                pictures.bytes() / (std::size_t(rounds) * kRows));
    ReleaseDC(hwnd, dc);
    DestroyWindow(hwnd);
    return 0;
}

}  // namespace
}  // namespace tavrel

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    return tavrel::Run(argv[1], argc > 2 ? std::max(1, _wtoi(argv[2])) : 9);
}
