// The player's command line: a demo that starts with a path cut short or an
// option it did not understand would fail later with a misleading story.

#include <gtest/gtest.h>

#include "tools/demo/player_settings.h"

namespace demo {
namespace {

const std::vector<std::wstring> kAll = {L"/vantrel:C:\\Program Files\\Vantrel\\Vantrel.exe",
                                        L"/game:C:\\Games\\Empires\\Gamebin", L"/host:Z:\\b\\standin_host.exe",
                                        L"/app:Z:\\b\\standin_app.exe"};

TEST(PlayerSettings, TakesEachPathWholeInAnyOrder) {
    auto s = ParsePlayerSettings(kAll);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->vantrel, L"C:\\Program Files\\Vantrel\\Vantrel.exe");
    EXPECT_EQ(s->game, L"C:\\Games\\Empires\\Gamebin");
    EXPECT_EQ(s->host, L"Z:\\b\\standin_host.exe");
    EXPECT_EQ(s->app, L"Z:\\b\\standin_app.exe");
    EXPECT_FALSE(s->shots);

    std::vector<std::wstring> reordered = {L"/shots", kAll[3], kAll[1], kAll[0], kAll[2]};
    s = ParsePlayerSettings(reordered);
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->shots);
    EXPECT_EQ(s->vantrel, L"C:\\Program Files\\Vantrel\\Vantrel.exe");
}

TEST(PlayerSettings, TheGameFolderLosesATrailingSeparator) {
    auto args = kAll;
    args[1] = L"/game:C:\\Games\\Empires\\Gamebin\\";
    auto s = ParsePlayerSettings(args);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->game, L"C:\\Games\\Empires\\Gamebin");

    args[1] = L"/game:\\";  // nothing left of it
    EXPECT_FALSE(ParsePlayerSettings(args));
}

TEST(PlayerSettings, RefusesMissingEmptyOrUnknownArguments) {
    for (std::size_t missing = 0; missing < kAll.size(); ++missing) {
        auto args = kAll;
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(missing));
        EXPECT_FALSE(ParsePlayerSettings(args)) << "accepted without " << missing;
    }
    auto args = kAll;
    args[2] = L"/host:";
    EXPECT_FALSE(ParsePlayerSettings(args));
    for (const wchar_t* odd : {L"/shot", L"/SHOTS", L"vantrel:x", L"/game"}) {
        args = kAll;
        args.push_back(odd);
        EXPECT_FALSE(ParsePlayerSettings(args)) << "accepted an unknown argument";
    }
    EXPECT_FALSE(ParsePlayerSettings({}));
}

}  // namespace
}  // namespace demo
