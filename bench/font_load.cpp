// Times OpenFontFile on one file, as tavrel.exe runs it while its window is
// created: read, plan, register each face. Prints the median of the runs in
// milliseconds, and the faces listed.
//
//   tavrel-bench-font-load FILE [RUNS]

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "font_file_win32.h"
#include "loaded_font_list.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const int runs = argc > 2 ? _wtoi(argv[2]) : 10;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> milliseconds;
    for (int i = 0; i < runs; ++i) {
        QueryPerformanceCounter(&start);
        tavrel::OpenFontFile(argv[1]);
        QueryPerformanceCounter(&end);
        milliseconds.push_back(1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
        if (i + 1 < runs) tavrel::UnloadAllFonts(false);
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("median_ms %.1f\nfaces %zu\n", milliseconds[milliseconds.size() / 2],
                tavrel::LoadedFonts().faceNames.size());
    return 0;
}
