// How much time the stub adds to a launch. Not a check, a measurement: run
// it by hand with --gtest_also_run_disabled_tests --gtest_filter='*Timing*'.

#include <algorithm>
#include <cstdio>

#include "tests/win32/stub/stub_install.h"

namespace stub_e2e {
namespace {

unsigned long long NowFileTime() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

class LaunchTiming : public StubTest {};

TEST_F(LaunchTiming, DISABLED_StubAgainstDirectStart) {
    SetLaunching(L"0");
    constexpr int kRuns = 21;
    std::vector<double> throughStub, direct;
    for (int i = 0; i < kRuns; ++i) {
        for (bool viaStub : {true, false}) {
            const std::size_t before = Records().size();
            const auto start = NowFileTime();
            Process p(Path(viaStub ? L"Brennic.exe" : L"Brennic_Original.exe"), L"-timing");
            ASSERT_TRUE(WaitUntil([&] { return Records().size() == before + 1; }, 10000ms, 1ms));
            const double ms = static_cast<double>(Records().back().startedAt - start) / 1e4;
            (viaStub ? throughStub : direct).push_back(ms);
            ASSERT_TRUE(p.WaitForExit());
        }
    }
    std::printf("runs: %d each\nthrough Brennic.exe: median %.1f ms (min %.1f, max %.1f)\n"
                "stand-in started directly: median %.1f ms (min %.1f, max %.1f)\n",
                kRuns, Median(throughStub), *std::min_element(throughStub.begin(), throughStub.end()),
                *std::max_element(throughStub.begin(), throughStub.end()), Median(direct),
                *std::min_element(direct.begin(), direct.end()), *std::max_element(direct.begin(), direct.end()));
}

}  // namespace
}  // namespace stub_e2e
