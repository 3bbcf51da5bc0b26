#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "runtime/convert.h"
#include "runtime/failure.h"

namespace qv {
namespace {

TEST(Conversions, ValueParsesDecimalTextAndFailsOnAnythingElse) {
  struct Case {
    const char* in;
    double out;
  };
  for (Case c : {Case{"72", 72},
                 {"-3", -3},
                 {" 45.5 ", 45.5},
                 {"+7", 7},
                 {".5", 0.5},
                 {"5.", 5},
                 {"1e3", 1000},
                 {"0", 0},
                 {"-0.25", -0.25}})
    EXPECT_EQ(value(c.in), c.out) << c.in;
  for (const char* bad : {"", " ", "abc", "12abc", "1,5", "1 2", "True", "-", ".", "1e999"})
    EXPECT_THROW(value(bad), Failed) << '"' << bad << '"';
}

TEST(Conversions, BeyondTheRangeOfDoublesTooSmallIsZeroAndTooLargeFails) {
  std::string tiny = "0." + std::string(400, '0') + "1";
  std::string huge = "1" + std::string(400, '0');
  EXPECT_EQ(value(tiny), 0);
  EXPECT_EQ(value("1e-400"), 0);
  EXPECT_THROW(value(huge + "e-5"), Failed);  // still about 1e395
  EXPECT_THROW(value(huge), Failed);
  EXPECT_EQ(value("1" + std::string(400, '0') + "e-398"), 100);
  EXPECT_EQ(lead(tiny + "abc"), 0);
  EXPECT_EQ(lead("-" + huge + "x"), -std::numeric_limits<double>::max());
}

TEST(Conversions, LeadReadsTheLeadingNumber) {
  struct Case {
    const char* in;
    double out;
  };
  for (Case c : {Case{"45.5", 45.5},
                 {"  12abc", 12},
                 {"", 0},
                 {"abc", 0},
                 {"-273.2", -273.2},
                 {"1 2 3", 123},
                 {"False", 0},
                 {"3.1.4", 3.1},
                 {"08", 8},
                 {"2e2x", 200},
                 {"7e", 7},
                 {"- 4", -4},
                 {"℃45", 0}})
    EXPECT_EQ(lead(c.in), c.out) << '"' << c.in << '"';
}

TEST(Conversions, WholeRoundsHalvesToEven) {
  struct Case {
    double in;
    std::int64_t out;
  };
  for (Case c : {Case{0.5, 0},
                 {1.5, 2},
                 {2.5, 2},
                 {-0.5, 0},
                 {-1.5, -2},
                 {36000.4, 36000},
                 {0.49999, 0},
                 {35999.5, 36000}})
    EXPECT_EQ(whole(c.in), c.out) << c.in;
  EXPECT_THROW(whole(1e30), Failed);
  EXPECT_THROW(whole(std::nan("")), Failed);
}

TEST(Conversions, NumbersBecomeTheirShortestText) {
  struct Case {
    double in;
    const char* out;
  };
  for (Case c : {Case{45.5, "45.5"},
                 {100, "100"},
                 {-3, "-3"},
                 {0.1 + 0.2, "0.3"},
                 {42.5, "42.5"},
                 {1e15, "1E+15"},
                 {123456789012345, "123456789012345"},
                 {0.0001, "0.0001"},
                 {0.00001, "1E-05"},
                 {-0.0, "0"},
                 {1048576.0 / 1024, "1024"},
                 {62.55, "62.55"},
                 {8388607.99, "8388607.99"}})
    EXPECT_EQ(text(c.in), c.out) << c.in;
  EXPECT_THROW(text(INFINITY), Failed);
}

TEST(Conversions, SinglePrecisionKeepsSevenDigits) {
  EXPECT_EQ(textSingle((3231.0f - 2732.0f) / 10.0f), "49.9");
  EXPECT_EQ(textSingle((3187.0f - 2732.0f) / 10.0f), "45.5");
  EXPECT_EQ(textSingle(50.0f), "50");
  EXPECT_EQ(textSingle(-273.2f), "-273.2");
  EXPECT_EQ(textSingle(1.0f / 3.0f), "0.3333333");
}

TEST(Conversions, ThousandsPatternRoundsHalvesAwayFromZero) {
  struct Case {
    double in;
    const char* out;
  };
  for (Case c : {Case{62.55, "63"},
                 {50, "50"},
                 {0.5, "1"},
                 {2.5, "3"},
                 {1.4999, "1"},
                 {1234.5, "1,235"},
                 {1234567, "1,234,567"},
                 {0, "0"},
                 {-2.5, "-3"}})
    EXPECT_EQ(thousands(c.in), c.out) << c.in;
}

TEST(Conversions, TruthValues) {
  EXPECT_TRUE(truth("True"));
  EXPECT_TRUE(truth("true"));
  EXPECT_FALSE(truth("False"));
  EXPECT_TRUE(truth("1"));
  EXPECT_TRUE(truth("-1"));
  EXPECT_FALSE(truth("0"));
  for (const char* bad : {"", "maybe", "yes"}) EXPECT_THROW(truth(bad), Failed) << bad;
}

TEST(Conversions, LengthsAndCutsCountCharacters) {
  EXPECT_EQ(length("请输入提醒内容!"), 8u);
  EXPECT_EQ(length("abc"), 3u);
  EXPECT_EQ(left("请输入提醒内容!", 3), "请输入");
  EXPECT_EQ(left("ab", 5), "ab");
  EXPECT_EQ(left("温度℃", 2), "温度");
}

TEST(ContinueOnError, AFailedStatementIsSkippedAndAnUnknownConditionHolds) {
  int ran = 0;
  attempt([&] {
    value("x");
    ++ran;
  });
  attempt([&] { ++ran; });
  EXPECT_EQ(ran, 1);
  EXPECT_TRUE(holds([] { return value("x") > 1; }));
  EXPECT_FALSE(holds([] { return value("0") > 1; }));
  // Other exceptions are faults and pass through.
  EXPECT_THROW(attempt([] { throw std::runtime_error("bug"); }), std::runtime_error);
}

}  // namespace
}  // namespace qv
