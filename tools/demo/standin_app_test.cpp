// The stand-in application: the demo selects it by its caption and counts
// on its exit code to tell a close request from any other end.

#include <gtest/gtest.h>

#include "tests/win32/support/desktop.h"
#include "tests/win32/support/process.h"
#include "tests/win32/support/text.h"

namespace demo {
namespace {

using namespace std::chrono_literals;

std::wstring StandinApp() {
    std::wstring path = e2e::Wide(STANDIN_APP);
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

// Starts the application and answers its window, or nullptr.
HWND Open(std::unique_ptr<e2e::Process>& app, const std::wstring& arguments, const std::wstring& caption) {
    app = std::make_unique<e2e::Process>(StandinApp(), arguments);
    return e2e::WaitForWindow({caption, L"", app->id()});
}

TEST(StandinApp, ItsCaptionIsTheArgumentText) {
    std::unique_ptr<e2e::Process> app;
    EXPECT_NE(Open(app, L"", L"Team Chat"), nullptr) << "no default caption";
    EXPECT_NE(Open(app, L"\"Team Chat\"", L"Team Chat"), nullptr) << "the quotes were kept";
    EXPECT_NE(Open(app, L"Voice  chat ", L"Voice  chat"), nullptr) << "inner blanks lost or trailing kept";
    EXPECT_NE(Open(app, L"\"Quoted\" words", L"\"Quoted\" words"), nullptr)
        << "quotes that do not enclose the whole text were taken off";
}

TEST(StandinApp, EndsWithZeroOnlyWhenAskedToClose) {
    std::unique_ptr<e2e::Process> app;
    HWND window = Open(app, L"Close me", L"Close me");
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(app->WaitForExit(300ms).has_value()) << "it ended by itself";
    e2e::RequestClose(window);
    EXPECT_EQ(app->WaitForExit(5000ms), 0u);

    window = Open(app, L"Killed", L"Killed");
    ASSERT_NE(window, nullptr);
    app->Terminate();
    EXPECT_NE(app->WaitForExit(1000ms), 0u);
}

}  // namespace
}  // namespace demo
