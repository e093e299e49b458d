// The benchmark's own parts: a wrong median, a misread record or a farm that
// loses close requests would print plausible figures that are simply false.

#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/text.h"
#include "platform/win32/win32_services.h"
#include "switcher/application_list.h"
#include "tests/win32/support/standin_record.h"
#include "tools/bench/child_process.h"
#include "tools/bench/farm_client.h"
#include "tools/bench/farm_titles.h"
#include "tools/bench/file_name.h"
#include "tools/bench/summary.h"

namespace bench {
namespace {

const std::wstring kFarm = platform::win32::Widen(BENCH_FARM);

TEST(Summary, MedianOfOddAndEvenCountsWhateverTheOrder) {
    auto odd = Summarize({9, 1, 5, 7, 3});
    EXPECT_EQ(odd.count, 5u);
    EXPECT_EQ(odd.median, 5);
    EXPECT_EQ(odd.min, 1);
    EXPECT_EQ(odd.max, 9);

    auto even = Summarize({40, 10, 30, 20});
    EXPECT_EQ(even.median, 25);

    // One wild run moves the median by nothing.
    EXPECT_EQ(Summarize({100, 101, 102, 5000, 99}).median, 101);
    EXPECT_EQ(Summarize({}).count, 0u);
}

std::string Field(const std::string& name, const std::string& value) {
    return name + " " + std::to_string(value.size()) + "\n" + value + "\n";
}

std::string Record(const std::string& arguments, const std::string& started) {
    return Field("arguments", arguments) + Field("program", "Z:\\g\\Brennic_Original.exe") +
           Field("started", started) + Field("pid", "42") + Field("end", "");
}

TEST(StandinRecord, ReadsEachRecordsFields) {
    const auto records = e2e::ParseStandinRecords(Record("-bench", "133") + Record("-second", "999"));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].arguments, "-bench");
    EXPECT_EQ(records[0].startedAt, 133u);
    EXPECT_EQ(records[0].processId, 42u);
    EXPECT_EQ(records[0].program, "Z:\\g\\Brennic_Original.exe");
    EXPECT_EQ(records[1].arguments, "-second");
}

TEST(StandinRecord, AnArgumentThatLooksLikeFieldsStaysOneValue) {
    const std::string sly = "x\nstarted 1\n7\nend 0\n\n";
    const auto records = e2e::ParseStandinRecords(Record(sly, "555"));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].arguments, sly);
    EXPECT_EQ(records[0].startedAt, 555u);
}

TEST(StandinRecord, NothingUntilTheRecordIsComplete) {
    // The stand-in writes its record in one go, but a reader may still see
    // any part of it.
    const std::string whole = Record("a b \"c\"", "123456789");
    for (std::size_t n = 0; n < whole.size(); ++n) {
        std::vector<e2e::StandinRecord> records;
        EXPECT_NO_THROW(records = e2e::ParseStandinRecords(whole.substr(0, n))) << "cut after " << n << " bytes";
        EXPECT_TRUE(records.empty()) << "cut after " << n << " bytes";
    }
    EXPECT_EQ(e2e::ParseStandinRecords(whole).size(), 1u);
}

TEST(StandinRecord, MalformedTextIsNoRecord) {
    EXPECT_TRUE(e2e::ParseStandinRecords("garbage").empty());
    EXPECT_THROW(e2e::ParseStandinRecords("started x\n1\nend 0\n\n"), std::runtime_error);
    EXPECT_THROW(e2e::ParseStandinRecords("started -1\n1\nend 0\n\n"), std::runtime_error);
    EXPECT_THROW(e2e::ParseStandinRecords("started 99999999999999999999999\n1\nend 0\n\n"), std::runtime_error);
    EXPECT_THROW(e2e::ParseStandinRecords("started 1\n12\nend 0\n\n"), std::runtime_error);  // no newline after the value
    EXPECT_THROW(e2e::ParseStandinRecords(" 1\nx\nend 0\n\n"), std::runtime_error);          // no name
    EXPECT_EQ(e2e::ParseStandinRecords("end 0\n\n").size(), 1u);
}

TEST(StandinRecord, StartTimeAndProcessIdMustBeWholeNumbers) {
    const auto records = e2e::ParseStandinRecords(Record("-bench", "133436543210000000"));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].startedAt, 133436543210000000ull);
    EXPECT_EQ(records[0].processId, 42u);

    for (const char* bad : {"", "12x", " 12", "+12", "-12", "4294967296"}) {
        const std::string record = Field("started", "133") + Field("pid", bad) + Field("end", "");
        EXPECT_THROW(e2e::ParseStandinRecords(record), std::runtime_error) << "pid \"" << bad << "\"";
    }
    // A record without a start time reads as 0, which no real start is.
    EXPECT_EQ(e2e::ParseStandinRecords(Field("pid", "42") + Field("end", ""))[0].startedAt, 0u);
    EXPECT_THROW(e2e::ParseStandinRecords(Field("started", "99999999999999999999") + Field("end", "")),
                 std::runtime_error);  // past 64 bits
}

TEST(StandinRecord, TheProgramIsToldByItsFileNameAlone) {
    EXPECT_TRUE(HasFileName("Z:\\g\\Brennic_Original.exe", "Brennic_Original.exe"));
    EXPECT_TRUE(HasFileName("C:/G/BRENNIC_ORIGINAL.EXE", "Brennic_Original.exe"));
    EXPECT_TRUE(HasFileName("Brennic_Original.exe", "Brennic_Original.exe"));
    EXPECT_FALSE(HasFileName("Z:\\g\\Brennic.exe", "Brennic_Original.exe"));
    EXPECT_FALSE(HasFileName("Z:\\g\\xBrennic_Original.exe", "Brennic_Original.exe"));
    EXPECT_FALSE(HasFileName("Z:\\Brennic_Original.exe\\other.exe", "Brennic_Original.exe"));
}

TEST(ChildProcessTest, ReportsTheExitCodeAndWhyAStartFailed) {
    ChildProcess cmd(L"C:\\windows\\system32\\cmd.exe", L"/c exit 7");
    ASSERT_TRUE(cmd.Started()) << cmd.Error();
    EXPECT_EQ(cmd.WaitForExit(10000), 7u);
    EXPECT_FALSE(cmd.Running());
    EXPECT_TRUE(WaitForProcessGone(cmd.Id(), 1000));

    ChildProcess missing(L"C:\\no such folder\\none.exe", L"");
    EXPECT_FALSE(missing.Started());
    EXPECT_NE(missing.Error().find("none.exe"), std::string::npos) << missing.Error();
    EXPECT_FALSE(missing.WaitForExit(0));
}

TEST(ChildProcessTest, OneStillRunningIsEndedWithItsObject) {
    DWORD id = 0;
    {
        // The farm waits in its message loop until told to stop.
        ChildProcess farm(kFarm, L"1");
        ASSERT_TRUE(farm.Started()) << farm.Error();
        id = farm.Id();
        // Not while it is still starting: under Wine, a program ended then
        // can leave the desktop process it was bringing up stuck, holding
        // ctest's output pipe open until the test times out.
        ASSERT_TRUE(farm.WaitUntilIdle(5000));
        EXPECT_FALSE(WaitForProcessGone(id, 200));
    }
    EXPECT_TRUE(WaitForProcessGone(id, 5000));
}

TEST(WindowFarmTest, WindowsSurviveCloseRequestsAndCountThem) {
    WindowFarm farm(kFarm, 40, 30000);
    ASSERT_TRUE(farm.Ready()) << farm.Error();

    platform::win32::Win32Services os;
    switcher::ApplicationList list;
    list.ListWindows(os);
    int listed = 0;
    for (std::size_t i = 0; i < list.Entries().size(); ++i) {
        const std::wstring title = platform::win32::Widen(list.Entries()[i].title);
        for (int k = 0; k < 40; ++k) {
            if (title != farm.Title(k)) continue;
            ++listed;
            if (k % 10 == 3) list.SetSelected(i, true);  // 3, 13, 23, 33
        }
    }
    EXPECT_EQ(listed, 40);
    list.CloseSelected(os);
    list.CloseSelected(os);  // an emptied list sends nothing more
    ::PostMessageW(::FindWindowW(nullptr, farm.Title(13).c_str()), WM_CLOSE, 0, 0);

    EXPECT_EQ(farm.Stop(10000), 5u);
}

TEST(WindowFarmTest, ABadCountEndsTheFarmAtOnce) {
    WindowFarm farm(kFarm, 0, 10000);
    EXPECT_FALSE(farm.Ready());
    EXPECT_NE(farm.Error().find("ended"), std::string::npos) << farm.Error();
}

TEST(FarmTitles, DistinctPerFarmAndWindow) {
    EXPECT_EQ(FarmWindowTitle(12, 7), L"Farm 12 window 00007");
    EXPECT_NE(FarmWindowTitle(1, 20), FarmWindowTitle(12, 0));
    EXPECT_NE(FarmControlTitle(1), FarmControlTitle(12));
}

}  // namespace
}  // namespace bench
