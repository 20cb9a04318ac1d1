#include "controls/numeric.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zentra {
namespace {

TEST(NumericTest, LogBaseIsTheLogarithmToTheGivenBase) {
  EXPECT_DOUBLE_EQ(LogBase(10, 1000), 3.0);
  EXPECT_DOUBLE_EQ(LogBase(2, 1024), 10.0);
  EXPECT_DOUBLE_EQ(LogBase(10, 1), 0.0);
  EXPECT_NEAR(LogBase(10, 32767), std::log10(32767.0), 1e-12);
  EXPECT_DOUBLE_EQ(LogBase(0.5, 4), -2.0);
}

TEST(NumericTest, PowerOfIsOneForAZeroExponentAndExpLnOtherwise) {
  for (double base : {0.0, 1.0, 10.0, 123.456, -5.0}) EXPECT_EQ(PowerOf(base, 0.0), 1.0) << base;
  EXPECT_DOUBLE_EQ(PowerOf(10, 2), 100.0);
  EXPECT_DOUBLE_EQ(PowerOf(2, 0.5), std::sqrt(2.0));
  EXPECT_DOUBLE_EQ(PowerOf(10, -1), 0.1);
  // No integer shortcut: a negative base has no real logarithm.
  EXPECT_TRUE(std::isnan(PowerOf(-2, 2)));
}

TEST(NumericTest, PowerOfUndoesLogBase) {
  for (double x : {0.001, 0.5, 1.0, 7.0, 32767.0}) EXPECT_NEAR(PowerOf(10, LogBase(10, x)), x, x * 1e-12);
}

}  // namespace
}  // namespace zentra
