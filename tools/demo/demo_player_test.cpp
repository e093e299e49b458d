// The demo's own logic: its verdict must never call a broken run a success,
// it must read the build and the log line as they are, and the screenshot
// exchange with the script must neither hang nor take a failure for a file.

#include <gtest/gtest.h>

#include <sstream>

#include "tools/demo/ledger.h"
#include "tools/demo/narrator.h"
#include "tools/demo/readings.h"
#include "tools/demo/screenshots.h"

namespace demo {
namespace {

TEST(Ledger, OnlyEveryPlannedStepHeldIsASuccess) {
    Ledger all({"a", "b", "c"});
    all.Record(true);
    all.Record(true);
    EXPECT_FALSE(all.AllHeld()) << "a run that stopped early passed";
    EXPECT_EQ(all.Verdict(), "Demo: FAILED: 1 of 3 steps did not hold (not tried: c).");
    all.Record(true);
    EXPECT_TRUE(all.AllHeld());
    EXPECT_EQ(all.Verdict(), "Demo: all 3 steps held.");
    all.Record(false);  // past the plan: ignored, not a fourth step
    EXPECT_TRUE(all.AllHeld());

    Ledger one({"only"});
    one.Record(true);
    EXPECT_EQ(one.Verdict(), "Demo: all 1 step held.");
}

TEST(Ledger, TheVerdictNamesFailedAndUntriedStepsInOrder) {
    Ledger ledger({"tray", "options", "question", "log", "exit"});
    EXPECT_EQ(ledger.NextNumber(), 1u);
    EXPECT_EQ(ledger.NextName(), "tray");
    ledger.Record(false);
    ledger.Record(true);
    ledger.Record(false);
    EXPECT_EQ(ledger.NextName(), "log");
    EXPECT_FALSE(ledger.AllHeld());
    EXPECT_EQ(ledger.Verdict(),
              "Demo: FAILED: 4 of 5 steps did not hold (failed: tray, question; not tried: log, exit).");

    Ledger none({"a", "b"});
    EXPECT_EQ(none.Verdict(), "Demo: FAILED: 2 of 2 steps did not hold (not tried: a, b).");
}

TEST(Narrator, OneFailedExpectationSpoilsItsStepOnly) {
    std::ostringstream out;
    Narrator narrator(out, {"first", "second"});
    narrator.Begin("the first");
    EXPECT_FALSE(narrator.Expect(false, "went wrong"));
    EXPECT_TRUE(narrator.Expect(true, "unused"));
    EXPECT_FALSE(narrator.End());
    narrator.Begin("the second");
    narrator.Say("fine");
    EXPECT_TRUE(narrator.End());
    EXPECT_FALSE(narrator.ledger().AllHeld());
    EXPECT_EQ(out.str(),
              "\nStep 1 of 2: the first\n"
              "  NOT AS IT SHOULD BE: went wrong\n"
              "  -> did NOT hold: first\n"
              "\nStep 2 of 2: the second\n"
              "  fine\n"
              "  -> held: second\n");
}

TEST(Readings, TheCurrentBuildComesFromItsMenuCaption) {
    const std::string dump =
        "1\tenabled\tVersion\r\n2\tenabled\tThe Conquerors 1.0c\r\n2\tenabled\tThe Conquerors 1.0e\r\n"
        "1\tenabled\tSaveGame\r\n1\tseparator\t\r\n1\tgreyed\tCurrent version is 1.0e\r\n1\tenabled\tExit\r\n";
    EXPECT_EQ(CurrentVersionCaption(dump), "Current version is 1.0e");
    EXPECT_EQ(CurrentVersionCaption("1\tgreyed\tCurrent version is 1.0c"), "Current version is 1.0c");
    EXPECT_EQ(CurrentVersionCaption("1\tenabled\tVersion\r\n"), std::nullopt);
    EXPECT_EQ(CurrentVersionCaption(""), std::nullopt);

    EXPECT_EQ(BuildNamedBy("Current version is 1.0c"), "1.0c");
    EXPECT_EQ(BuildNamedBy("Current version is 1.0e"), "1.0e");
    // The caption before the build is known, and near misses, name none.
    EXPECT_EQ(BuildNamedBy("Current version is 1.0?"), std::nullopt);
    EXPECT_EQ(BuildNamedBy("Current version is 1.0e "), std::nullopt);
    EXPECT_EQ(BuildNamedBy("1.0e"), std::nullopt);
}

TEST(Readings, TheLogLineIsTheArgumentTextQuotedAsReceived) {
    EXPECT_EQ(CommandLogLine("NOSTARTUP -lobby \"Saturday 2v2\""), "\"NOSTARTUP -lobby \"Saturday 2v2\"\"\r\n");
    EXPECT_EQ(CommandLogLine(""), "\"\"\r\n");

    EXPECT_EQ(AppendedText("", "\"a\"\r\n"), "\"a\"\r\n");
    EXPECT_EQ(AppendedText("\"old\"\r\n", "\"old\"\r\n\"new\"\r\n"), "\"new\"\r\n");
    EXPECT_EQ(AppendedText("\"old\"\r\n", "\"old\"\r\n"), "");
    EXPECT_EQ(AppendedText("\"old\"\r\n", "\"new\"\r\n"), std::nullopt) << "a rewritten log is no append";
    EXPECT_EQ(AppendedText("\"old\"\r\n", ""), std::nullopt);

    EXPECT_EQ(WithoutLineEnd("\"a\"\r\n"), "\"a\"");
    EXPECT_EQ(WithoutLineEnd("\"a\"\r\n\r\n"), "\"a\"");
    EXPECT_EQ(WithoutLineEnd(""), "");
}

TEST(Photographer, AsksWithTheAreaAndWaitsForTheAnswer) {
    std::istringstream answers("saved /tmp/shots/options.png\r\nfailed import is missing\nwhat?\n");
    std::ostringstream requests;
    Photographer photographer(&answers, &requests);
    ASSERT_TRUE(photographer.enabled());

    Shot shot = photographer.Take("options", {10, 20, 300, 340});
    EXPECT_TRUE(shot.saved);
    EXPECT_EQ(shot.detail, "/tmp/shots/options.png");
    EXPECT_EQ(requests.str(), "shot options 10 20 300 340\n");

    shot = photographer.Take("question", {-4, 0, 1, 1});
    EXPECT_FALSE(shot.saved);
    EXPECT_EQ(shot.detail, "import is missing");

    shot = photographer.Take("game", {});
    EXPECT_FALSE(shot.saved) << "an answer it does not know is no saved file";
}

TEST(Photographer, NeitherHangsNorWritesWithoutAScriptOrWithABadName) {
    std::istringstream answers("");
    std::ostringstream requests;
    Photographer photographer(&answers, &requests);
    EXPECT_FALSE(photographer.Take("../../etc/passwd", {}).saved);
    EXPECT_FALSE(photographer.Take("Options", {}).saved);
    EXPECT_FALSE(photographer.Take("", {}).saved);
    EXPECT_EQ(requests.str(), "") << "a name unfit for a file name was sent";

    // The script has gone: one request, then no more waiting.
    EXPECT_FALSE(photographer.Take("options", {}).saved);
    EXPECT_FALSE(photographer.enabled());
    EXPECT_FALSE(photographer.Take("question", {}).saved);
    EXPECT_EQ(requests.str(), "shot options 0 0 0 0\n");

    Photographer none(nullptr, nullptr);
    EXPECT_FALSE(none.enabled());
    EXPECT_FALSE(none.Take("options", {}).saved);
}

}  // namespace
}  // namespace demo
