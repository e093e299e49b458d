#include <gtest/gtest.h>

#include "common/settings.h"

namespace {

enum class Number { Zero, One, Other, None };

// One stored text, one number, in both programs: Vantrel's box is checked
// only for 1, Brennic starts at once for 0 and for text that is no number.
TEST(StoredNumber, BothProgramsReadTheSameNumber) {
    const std::pair<const char*, Number> cases[] = {
        {"1", Number::One},      {"1e0", Number::One},      {"\t1", Number::One},
        {"1\t", Number::One},    {" +1.000 ", Number::One}, {"10e-1", Number::One},
        {"0.1E1", Number::One},  {"0", Number::Zero},       {"\t0", Number::Zero},
        {"-0.0", Number::Zero},  {"0e5", Number::Zero},     {"2", Number::Other},
        {"-1", Number::Other},   {"1e-400", Number::Other}, {"1.0000000000000000001", Number::Other},
        {"", Number::None},      {"1x", Number::None},      {"1e", Number::None},
    };
    for (const auto& [text, number] : cases) {
        EXPECT_EQ(common::StoredOptionIsOn(text), number == Number::One) << '"' << text << '"';
        EXPECT_EQ(common::AsksForBuild(text), number == Number::One || number == Number::Other)
            << '"' << text << '"';
    }
}

}  // namespace
