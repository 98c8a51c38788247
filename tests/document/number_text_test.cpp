#include "document/number_text.h"

#include <gtest/gtest.h>

namespace {

struct NumberCase {
  const char* text;
  int32_t value;
};

class ReadNumberTest : public testing::TestWithParam<NumberCase> {};

TEST_P(ReadNumberTest, ReadsTheLeadingNumberLeniently) {
  EXPECT_EQ(ReadNumber(GetParam().text), GetParam().value) << "text: [" << GetParam().text << "]";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadNumberTest,
    testing::Values(NumberCase{"0", 0}, NumberCase{"96", 96}, NumberCase{"12px", 12},
                    NumberCase{"abc", 0}, NumberCase{" -5", -5}, NumberCase{"\t\r\n 7", 7},
                    NumberCase{"+42", 42}, NumberCase{"-", 0}, NumberCase{"+-3", 0},
                    NumberCase{"- 3", 0}, NumberCase{"", 0}, NumberCase{"3 4", 3},
                    NumberCase{"16777215", 16777215}, NumberCase{"2147483647", 2147483647},
                    NumberCase{"-2147483648", INT32_MIN},
                    // No range check: wraps as 32-bit arithmetic.
                    NumberCase{"2147483648", INT32_MIN}, NumberCase{"4294967295", -1},
                    NumberCase{"4294967296", 0}, NumberCase{"99999999999999999999", 1661992959},
                    NumberCase{"007", 7}, NumberCase{"1.5", 1}));

TEST(ReadNumberTest, AColourAboveTheSignedRangeKeepsItsBits) {
  EXPECT_EQ(static_cast<uint32_t>(ReadNumber("4294967295")), 0xFFFFFFFFu);
}

}  // namespace
