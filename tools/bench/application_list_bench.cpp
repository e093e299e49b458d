// bench_application_list <farm program> <windows> <selected> <repeats>:
// the application list on a crowded desktop. Starts the window farm with
// <windows> windows, then times, <repeats> times each:
//   - a fill: switcher::ApplicationList::ListWindows through the real
//     Win32 services, against a plain EnumWindows + GetWindowTextW loop;
//   - a close pass with <selected> farm windows selected, spread evenly over
//     the farm: ApplicationList::CloseSelected, against FindWindowW +
//     PostMessageW for the same titles.
// The farm ignores WM_CLOSE and counts it, so every pass finds the same
// windows; the count it reports at the end must equal the requests sent.
//
// Prints "fill_ours", "fill_plain", "close_ours", "close_plain" with median,
// min and max in ms, then "listed" (entries of a fill) and "closes"
// (received, expected).

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <set>
#include <string>
#include <vector>

#include "platform/win32/text.h"
#include "platform/win32/win32_services.h"
#include "switcher/application_list.h"
#include "tools/bench/farm_client.h"
#include "tools/bench/stopwatch.h"
#include "tools/bench/summary.h"

namespace {

using platform::win32::Narrow;

constexpr DWORD kFarmTimeoutMs = 120000;

// What a plain Win32 program would write to list the desktop's titles.
BOOL CALLBACK CollectTitle(HWND window, LPARAM titles) {
    wchar_t buffer[512];
    const int n = ::GetWindowTextW(window, buffer, 512);
    if (n > 0) reinterpret_cast<std::vector<std::wstring>*>(titles)->emplace_back(buffer, n);
    return TRUE;
}

std::vector<std::wstring> PlainFill() {
    std::vector<std::wstring> titles;
    ::EnumWindows(CollectTitle, reinterpret_cast<LPARAM>(&titles));
    return titles;
}

void PlainClose(const std::vector<std::wstring>& titles) {
    for (const auto& title : titles)
        if (HWND window = ::FindWindowW(nullptr, title.c_str())) ::PostMessageW(window, WM_CLOSE, 0, 0);
}

template <typename Text>
std::size_t CountWithPrefix(const std::vector<Text>& titles, const Text& prefix) {
    std::size_t n = 0;
    for (const auto& title : titles)
        if (title.compare(0, prefix.size(), prefix) == 0) ++n;
    return n;
}

void Print(const char* name, const std::vector<double>& values) {
    const auto s = bench::Summarize(values);
    std::printf("%s %.2f %.2f %.2f\n", name, s.median, s.min, s.max);
}

int Fail(const std::string& why) {
    std::fprintf(stderr, "bench_application_list: %s\n", why.c_str());
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const long windows = argc == 5 ? std::wcstol(argv[2], nullptr, 10) : 0;
    const long selected = argc == 5 ? std::wcstol(argv[3], nullptr, 10) : 0;
    const long repeats = argc == 5 ? std::wcstol(argv[4], nullptr, 10) : 0;
    if (windows <= 0 || selected <= 0 || selected > windows || repeats <= 0) {
        std::fprintf(stderr, "usage: bench_application_list <farm program> <windows> <selected> <repeats>\n");
        return 2;
    }

    bench::WindowFarm farm(argv[1], static_cast<int>(windows), kFarmTimeoutMs);
    if (!farm.Ready()) return Fail(farm.Error());

    // The farm's titles all begin with its prefix; "Farm 12 window 00001"
    // must not count for farm 1, hence the blank before "window".
    const std::wstring widePrefix = farm.Title(0).substr(0, farm.Title(0).rfind(L' ') + 1);
    const std::string prefix = Narrow(widePrefix);
    std::vector<std::wstring> wideChosen;
    std::set<std::string> chosen;
    for (long k = 0; k < selected; ++k) {
        wideChosen.push_back(farm.Title(static_cast<int>(k * windows / selected)));
        chosen.insert(Narrow(wideChosen.back()));
    }

    platform::win32::Win32Services os;
    switcher::ApplicationList list;
    std::vector<double> fillOurs, fillPlain, closeOurs, closePlain;
    std::size_t listed = 0;

    // Repeat -1 warms caches and is not counted; the close requests it sends
    // are expected all the same.
    for (long repeat = -1; repeat < repeats; ++repeat) {
        const bool oursFirst = repeat % 2 == 0;
        for (bool ours : {oursFirst, !oursFirst}) {
            if (ours) {
                const bench::Stopwatch fill;
                list.ListWindows(os);
                const double fillMs = fill.Milliseconds();

                std::vector<std::string> titles;
                for (const auto& entry : list.Entries()) titles.push_back(entry.title);
                if (CountWithPrefix(titles, prefix) != static_cast<std::size_t>(windows))
                    return Fail("ListWindows listed " + std::to_string(CountWithPrefix(titles, prefix)) +
                                " of the farm's " + std::to_string(windows) + " windows");
                long picked = 0;
                for (std::size_t i = 0; i < titles.size(); ++i)
                    if (chosen.count(titles[i])) list.SetSelected(i, true), ++picked;
                if (picked != selected) return Fail("the titles to close are not each listed once");

                const bench::Stopwatch close;
                list.CloseSelected(os);
                const double closeMs = close.Milliseconds();
                if (!list.Empty()) return Fail("CloseSelected left entries in the list");
                listed = titles.size();
                if (repeat >= 0) fillOurs.push_back(fillMs), closeOurs.push_back(closeMs);
            } else {
                const bench::Stopwatch fill;
                const auto titles = PlainFill();
                const double fillMs = fill.Milliseconds();
                if (CountWithPrefix(titles, widePrefix) != static_cast<std::size_t>(windows))
                    return Fail("EnumWindows listed " + std::to_string(CountWithPrefix(titles, widePrefix)) +
                                " of the farm's " + std::to_string(windows) + " windows");

                const bench::Stopwatch close;
                PlainClose(wideChosen);
                const double closeMs = close.Milliseconds();
                if (repeat >= 0) fillPlain.push_back(fillMs), closePlain.push_back(closeMs);
            }
        }
    }

    const auto received = farm.Stop(kFarmTimeoutMs);
    const unsigned long expected = static_cast<unsigned long>((repeats + 1) * selected * 2);
    std::printf("windows %ld\nselected %ld\nrepeats %ld\nlisted %zu\n", windows, selected, repeats, listed);
    Print("fill_ours", fillOurs);
    Print("fill_plain", fillPlain);
    Print("close_ours", closeOurs);
    Print("close_plain", closePlain);
    if (!received) return Fail("the window farm did not end");
    std::printf("closes %lu %lu\n", static_cast<unsigned long>(*received), expected);
    if (*received != expected)
        return Fail("the farm's windows received " + std::to_string(*received) + " close requests, not " +
                    std::to_string(expected));
    return 0;
}
