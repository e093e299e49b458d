#include <gtest/gtest.h>

#include "common/settings.h"

namespace {

using common::AsksForBuild;

TEST(StoredOption, VantrelTakesOnlyANumberEqualToOneAsOn) {
    for (const char* on : {"1", " 1 ", "1.0", "01", "+1", "1.", "1e0"}) EXPECT_TRUE(common::StoredOptionIsOn(on)) << on;
    for (const char* off : {"", "0", "2", "-1", "abc", "1x", "11", " ", "0x1", "1.5", "10", ".1", "inf"})
        EXPECT_FALSE(common::StoredOptionIsOn(off)) << '"' << off << '"';
}

TEST(StoredOption, BrennicStartsAtOnceOnZeroAndOnTextThatIsNoNumber) {
    for (const char* text : {"0", "0.0", " 0 ", "\t0\t", "-0", "+0.000", ".0", "0.", "0e5", "00",
                             "", " ", "yes", "1x", "x1", "1 2", "0,0", "1,5", ".", "-", "e1", "1e",
                             "1e+", "0x1", "inf", "nan", "1.2.3"})
        EXPECT_FALSE(AsksForBuild(text)) << '"' << text << '"';
}

TEST(StoredOption, BrennicAsksOnAnyOtherNumber) {
    for (const char* text : {"1", "2", "-1", " 1 ", "\t1", "0.5", ".5", "5.", "+3", "1e2", "1E-400",
                             "1e999", "00001", "-0.0001", "12345678901234567890"})
        EXPECT_TRUE(AsksForBuild(text)) << '"' << text << '"';
}

}  // namespace
