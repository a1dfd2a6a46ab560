#include "tests/support/tc35_clock.h"

#include <gtest/gtest.h>

namespace {

using tc35::ModuleClock;

TEST(ModuleClock, ParsesOnlyRealDatesAndTimes) {
    const struct {
        const char* text;
        bool valid;
    } cases[] = {
        {"00/01/01,00:00:00", true},     {"07/01/05,23:59:59", true},
        {"08/02/29,12:00:00", true},     {"00/02/29,12:00:00", true},
        {"99/12/31,23:59:59", true},     {"07/02/29,12:00:00", false},
        {"07/04/31,00:00:00", false},    {"07/00/05,00:00:00", false},
        {"07/01/00,00:00:00", false},    {"07/13/05,00:00:00", false},
        {"07/01/05,24:00:00", false},    {"07/01/05,23:60:00", false},
        {"07/01/05,23:59:60", false},    {"07/01/05 23:59:59", false},
        {"07-01-05,23:59:59", false},    {"7/01/05,23:59:59", false},
        {"07/01/05,23:59:5", false},     {"0a/01/05,23:59:59", false},
        {"07/01/05,23:59:59+08", false}, {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ModuleClock::Parse(c.text).has_value(), c.valid) << c.text;
    }
}

TEST(ModuleClock, RollsOver) {
    const struct {
        const char* set;
        std::int64_t seconds;
        const char* reads;
    } cases[] = {
        {"07/01/05,23:59:59", 0, "07/01/05,23:59:59"},
        {"07/01/05,23:59:59", 1, "07/01/06,00:00:00"},
        {"07/01/05,10:59:59", 3601, "07/01/05,12:00:00"},
        {"07/01/31,23:59:59", 1, "07/02/01,00:00:00"},
        {"07/02/28,23:59:59", 1, "07/03/01,00:00:00"},
        {"08/02/28,23:59:59", 1, "08/02/29,00:00:00"},
        {"08/02/29,23:59:59", 1, "08/03/01,00:00:00"},
        {"07/04/30,23:59:59", 1, "07/05/01,00:00:00"},
        {"07/12/31,23:59:59", 1, "08/01/01,00:00:00"},
        {"08/01/01,00:00:00", 366 * 86400, "09/01/01,00:00:00"},
        {"99/12/31,23:59:59", 1, "00/01/01,00:00:00"},
    };
    for (const auto& c : cases) {
        const ModuleClock clock{*ModuleClock::Parse(c.set), 0, true};
        EXPECT_EQ(clock.readAt(c.seconds * 1'000'000), c.reads) << c.set << " + " << c.seconds;
    }
}

TEST(ModuleClock, FormatRoundTrips) {
    for (const char* text : {"00/01/01,00:00:00", "07/01/05,23:59:59", "99/12/31,23:59:59"}) {
        EXPECT_EQ(ModuleClock::Format(*ModuleClock::Parse(text)), text);
    }
}

}  // namespace
