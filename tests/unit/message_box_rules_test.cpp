// When a message box is brought back to the front after a tray click, and
// that a program which cannot go on shows one message, whatever the threads.
#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/first_failure.h"
#include "platform/front_guard.h"

namespace {

using platform::Foreground;
using platform::FrontGuard;
using Step = FrontGuard::Step;

constexpr std::uint32_t kClick = 5000;  // the time of the click, the user's last input

TEST(FrontGuard, TakesTheForegroundBackFromTheShellOnlyNeverWhenNoWindowHasIt) {
    FrontGuard guard;
    guard.Start(kClick);
    EXPECT_EQ(guard.Check(Foreground::None, kClick), Step::Wait);  // Alt+Tab on its way
    EXPECT_EQ(guard.Check(Foreground::Other, kClick), Step::Wait);
    EXPECT_EQ(guard.Check(Foreground::Shell, kClick), Step::TakeBack);
    EXPECT_EQ(guard.Check(Foreground::Shell, kClick), Step::TakeBack);
}

TEST(FrontGuard, StopsForGoodAtTheUsersInputOnceTheBoxWasInFrontOrAfterASecond) {
    FrontGuard guard;
    guard.Start(kClick);
    EXPECT_EQ(guard.Check(Foreground::Other, kClick + 30), Step::Stop);  // the user picked that window
    EXPECT_EQ(guard.Check(Foreground::Shell, kClick + 30), Step::Stop);
    EXPECT_EQ(guard.Check(Foreground::Shell, kClick), Step::Stop);

    guard.Start(kClick);
    EXPECT_EQ(guard.Check(Foreground::Box, kClick), Step::Stop);
    EXPECT_EQ(guard.Check(Foreground::Shell, kClick), Step::Stop);

    guard.Start(kClick);
    for (int i = 0; i < FrontGuard::kChecks; ++i) EXPECT_EQ(guard.Check(Foreground::None, kClick), Step::Wait);
    EXPECT_EQ(guard.Check(Foreground::Shell, kClick), Step::Stop);
}

TEST(FirstFailure, OnlyOneOfManyThreadsFailingAtOnceShowsTheMessage) {
    platform::FirstFailure first;
    std::atomic<int> claimed{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i) threads.emplace_back([&] { claimed += first.Claim(); });
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(claimed, 1);
    EXPECT_FALSE(first.Claim());
}

}  // namespace
