// bench_launch <folder> <runs>: how long the stub's immediate path takes.
// <folder> holds Brennic.exe, the floor program bench_launch_floor.exe and
// the stand-in game as Brennic_Original.exe, and the option "Launching" is
// stored as "0". Each run starts one of the three programs and times from
// just before CreateProcess to the moment the stand-in game stamps in its
// record that it has started. The three kinds of run take turns, and which
// goes first rotates too, so a drift of the machine's speed falls on all
// alike.
//
// Prints "through_stub", "floor" and "direct", each with median, min and max
// in ms.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/text.h"
#include "tests/win32/support/files.h"
#include "tests/win32/support/standin_record.h"
#include "tools/bench/child_process.h"
#include "tools/bench/file_name.h"
#include "tools/bench/stopwatch.h"
#include "tools/bench/summary.h"

namespace {

using platform::win32::Narrow;

constexpr DWORD kLaunchTimeoutMs = 15000;

// One launch of `program` in `folder`: milliseconds from the start until the
// stand-in game started, or nothing with `error` set.
std::optional<double> TimeLaunch(const std::wstring& folder, const wchar_t* program, const std::wstring& record,
                                 std::string& error) {
    ::DeleteFileW(record.c_str());
    if (!::SetEnvironmentVariableW(L"VANTREL_STANDIN_RECORD", record.c_str())) {
        error = bench::LastErrorText("cannot set VANTREL_STANDIN_RECORD");
        return std::nullopt;
    }
    const unsigned long long start = bench::FileTimeNow();
    bench::ChildProcess launched(folder + L"\\" + program, L"-bench");
    if (!launched.Started()) {
        error = launched.Error();
        return std::nullopt;
    }

    std::vector<e2e::StandinRecord> records;
    const bench::Stopwatch waited;
    try {
        while ((records = e2e::ParseStandinRecords(e2e::ReadFileBytes(record).value_or(""))).empty()) {
            if (waited.Milliseconds() > kLaunchTimeoutMs) {
                error = "the stand-in game did not start within " + std::to_string(kLaunchTimeoutMs) + " ms of " +
                        Narrow(program);
                return std::nullopt;
            }
            ::Sleep(1);
        }
    } catch (const std::runtime_error& e) {
        error = e.what();
        return std::nullopt;
    }

    const e2e::StandinRecord& started = records.front();
    // A FILETIME of 0 (1601) or process 0 (the idle process) means the field
    // was missing.
    if (started.startedAt == 0 || started.processId == 0) {
        error = "the stand-in game's record has no start time or process id";
        return std::nullopt;
    }
    if (!bench::HasFileName(started.program, "Brennic_Original.exe") || started.arguments != "-bench") {
        error = "the stand-in game was started as \"" + started.commandLine + "\"";
        return std::nullopt;
    }
    // The next run must not overlap this one: both programs end by themselves.
    if (!launched.WaitForExit(kLaunchTimeoutMs) ||
        !bench::WaitForProcessGone(started.processId, kLaunchTimeoutMs)) {
        error = Narrow(program) + " or the stand-in game did not end";
        return std::nullopt;
    }
    return static_cast<double>(static_cast<long long>(started.startedAt - start)) / 1e4;
}

void Print(const char* name, const bench::Summary& s) {
    std::printf("%s %.1f %.1f %.1f\n", name, s.median, s.min, s.max);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3 || std::wcstol(argv[2], nullptr, 10) <= 0) {
        std::fprintf(stderr, "usage: bench_launch <folder> <runs>\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    const int runs = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
    const std::wstring record = folder + L"\\bench_launch.record";

    struct Kind {
        const char* name;
        const wchar_t* program;
        std::vector<double> ms;
    };
    Kind kinds[] = {{"through_stub", L"Brennic.exe", {}},
                    {"floor", L"bench_launch_floor.exe", {}},
                    {"direct", L"Brennic_Original.exe", {}}};
    constexpr int kKinds = sizeof kinds / sizeof kinds[0];
    std::string error;
    // One untimed run of each first: the first start of a program file reads
    // it from disk and fills Wine's caches.
    for (int run = -1; run < runs; ++run) {
        for (int turn = 0; turn < kKinds; ++turn) {
            Kind& kind = kinds[(run + 1 + turn) % kKinds];
            const auto ms = TimeLaunch(folder, kind.program, record, error);
            if (!ms) {
                std::fprintf(stderr, "bench_launch: %s\n", error.c_str());
                return 1;
            }
            if (run >= 0) kind.ms.push_back(*ms);
        }
    }
    std::printf("runs %d\n", runs);
    for (const Kind& kind : kinds) Print(kind.name, bench::Summarize(kind.ms));
    return 0;
}
