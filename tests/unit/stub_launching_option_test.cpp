#include <gtest/gtest.h>

#include "stub/launching_option.h"

namespace {

using stub::AsksForBuild;

TEST(LaunchingOption, ZeroAndTextThatIsNoNumberStartAtOnce) {
    for (const char* text : {"0", "0.0", " 0 ", "\t0\t", "-0", "+0.000", ".0", "0.", "0e5", "00",
                             "", " ", "yes", "1x", "x1", "1 2", "0,0", "1,5", ".", "-", "e1", "1e",
                             "1e+", "0x1", "inf", "nan", "1.2.3"})
        EXPECT_FALSE(AsksForBuild(text)) << '"' << text << '"';
}

TEST(LaunchingOption, AnyOtherNumberAsks) {
    for (const char* text : {"1", "2", "-1", " 1 ", "\t1", "0.5", ".5", "5.", "+3", "1e2", "1E-400",
                             "1e999", "00001", "-0.0001", "12345678901234567890"})
        EXPECT_TRUE(AsksForBuild(text)) << '"' << text << '"';
}

}  // namespace
