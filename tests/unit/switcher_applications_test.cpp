#include "switcher/application_list.h"

#include <gtest/gtest.h>

#include "tests/unit/fake_services.h"

namespace {

using testing_support::FakeServices;
using switcher::ApplicationList;

TEST(ListWindows, EveryTitledWindowInZOrderWholeAndUnfiltered) {
    FakeServices os;
    const std::string longTitle(40000, 'x');
    os.AddWindow(1, "Vantrel");
    os.AddWindow(2, "");
    os.AddWindow(3, "  Same  ");
    os.AddWindow(4, "  Same  ");
    os.AddWindow(5, longTitle);
    os.AddWindow(6, "Журнал — ünïcode");
    ApplicationList list;
    list.ListWindows(os);
    std::vector<std::string> titles;
    for (const auto& e : list.Entries()) {
        titles.push_back(e.title);
        EXPECT_FALSE(e.selected);
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Vantrel", "  Same  ", "  Same  ", longTitle,
                                                "Журнал — ünïcode"}));
}

TEST(ListWindows, RefillDropsTheOldEntriesAndTheirSelection) {
    FakeServices os;
    os.AddWindow(1, "A");
    ApplicationList list;
    list.ListWindows(os);
    list.SetSelected(0, true);
    list.SetSelected(7, true);  // no such entry: ignored
    os.AddWindow(2, "B");
    list.ListWindows(os);
    ASSERT_EQ(list.Entries().size(), 2u);
    EXPECT_FALSE(list.Entries()[0].selected);
}

TEST(CloseSelected, ClosesSelectedInOrderThenEmpties) {
    FakeServices os;
    os.AddWindow(10, "First");
    os.AddWindow(20, "Second");
    os.AddWindow(30, "Third");
    ApplicationList list;
    list.ListWindows(os);
    list.SetSelected(2, true);
    list.SetSelected(0, true);
    list.CloseSelected(os);
    EXPECT_EQ(os.closeRequests, (std::vector<platform::WindowHandle>{10, 30}));
    EXPECT_TRUE(list.Empty());
}

TEST(CloseSelected, NothingSelectedOrEmptySendsNothing) {
    FakeServices os;
    ApplicationList list;
    list.CloseSelected(os);
    EXPECT_TRUE(list.Empty());
    os.AddWindow(10, "First");
    list.ListWindows(os);
    list.CloseSelected(os);
    EXPECT_TRUE(os.closeRequests.empty());
    EXPECT_TRUE(list.Empty());
}

TEST(CloseSelected, TwoWindowsOfOneTitleGetTwoRequestsToTheFirstFound) {
    FakeServices os;
    os.AddWindow(10, "Twin");
    os.AddWindow(11, "Twin");
    ApplicationList list;
    list.ListWindows(os);
    list.SetSelected(0, true);
    list.SetSelected(1, true);
    list.CloseSelected(os);
    EXPECT_EQ(os.closeRequests, (std::vector<platform::WindowHandle>{10, 10}));
}

TEST(CloseSelected, GoneOrRenamedWindowIsSkippedAndThePassGoesOn) {
    FakeServices os;
    os.AddWindow(10, "Gone");
    os.AddWindow(20, "Renamed");
    os.AddWindow(30, "Stays");
    ApplicationList list;
    list.ListWindows(os);
    for (std::size_t i = 0; i < 3; ++i) list.SetSelected(i, true);
    os.RemoveWindow(10);
    os.windows[0].title = "Renamed - changed";
    list.CloseSelected(os);
    EXPECT_EQ(os.closeRequests, (std::vector<platform::WindowHandle>{30}));
    EXPECT_TRUE(list.Empty());
}

TEST(CloseWindowByTitle, MatchesWholeTitlesOnly) {
    FakeServices os;
    os.AddWindow(10, "Untitled - Notepad");
    switcher::CloseWindowByTitle(os, "Notepad");
    switcher::CloseWindowByTitle(os, "Untitled - Notepad ");
    EXPECT_TRUE(os.closeRequests.empty());
    switcher::CloseWindowByTitle(os, "Untitled - Notepad");
    EXPECT_EQ(os.closeRequests, (std::vector<platform::WindowHandle>{10}));
}

}  // namespace
