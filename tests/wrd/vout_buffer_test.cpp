#include "wrd/vout_buffer.h"

#include <gtest/gtest.h>

#include "tests/wrd/bytes.h"
#include "wrd/varlen.h"
#include "wrd/verror.h"

namespace {

TEST(VOutBuffer, NewBufferHasNoBlockAndKeepsItsOpcode) {
  VOutBuffer buffer(0x42);
  EXPECT_EQ(buffer.Opcode(), 0x42);
  EXPECT_EQ(buffer.Length(), 0);
  EXPECT_EQ(buffer.Capacity(), 0);
  EXPECT_EQ(buffer.Data(), nullptr);
}

TEST(VOutBuffer, EmptyBytesAndEmptyTextAllocateNothing) {
  VOutBuffer buffer(1);
  buffer.PutBytes(nullptr, 0);
  buffer.PutText("");
  buffer.PutText(nullptr);
  EXPECT_EQ(buffer.Length(), 0);
  EXPECT_EQ(buffer.Capacity(), 0);
}

TEST(VOutBuffer, ValuesAreLittleEndianAndCutToTheirFields) {
  VOutBuffer buffer(0);
  buffer.PutU16(static_cast<uint32_t>(-1));
  buffer.PutU16(640);
  buffer.PutU32(1);
  buffer.PutU8(300);
  buffer.PutU16(0x12345);
  buffer.PutRect({0, 0, 639, 479});
  buffer.PutPoint({80, 60});
  buffer.PutText("ab");
  EXPECT_EQ(Payload(buffer),
            (Bytes{0xFF, 0xFF, 0x80, 0x02, 0x01, 0x00, 0x00, 0x00, 0x2C, 0x45, 0x23, 0x00, 0x00,
                   0x00, 0x00, 0x7F, 0x02, 0xDF, 0x01, 0x50, 0x00, 0x3C, 0x00, 'a',  'b'}));
}

struct VarLenCase {
  uint32_t value;
  Bytes encoded;
};

class VarLenEncoding : public testing::TestWithParam<VarLenCase> {};

TEST_P(VarLenEncoding, GroupsRunFromTheMostSignificant) {
  VOutBuffer buffer(0);
  buffer.PutVarLen(GetParam().value);
  EXPECT_EQ(Payload(buffer), GetParam().encoded);
  EXPECT_EQ(static_cast<size_t>(VarLenSize(GetParam().value)), GetParam().encoded.size());
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, VarLenEncoding,
    testing::Values(VarLenCase{0, {0x00}}, VarLenCase{48, {0x30}}, VarLenCase{127, {0x7F}},
                    VarLenCase{128, {0x81, 0x00}}, VarLenCase{144, {0x81, 0x10}},
                    VarLenCase{192, {0x81, 0x40}}, VarLenCase{16383, {0xFF, 0x7F}},
                    VarLenCase{16384, {0x81, 0x80, 0x00}}, VarLenCase{2097151, {0xFF, 0xFF, 0x7F}},
                    VarLenCase{2097152, {0x81, 0x80, 0x80, 0x00}},
                    VarLenCase{268435455, {0xFF, 0xFF, 0xFF, 0x7F}}));

TEST(VOutBuffer, VarLenOfTwoToThe28IsRefusedAndAppendsNothing) {
  for (uint32_t value : {0x10000000u, 0xFFFFFFFFu}) {
    VOutBuffer buffer(0);
    buffer.PutU8(7);
    EXPECT_THROW(buffer.PutVarLen(value), VErrorInternal);
    EXPECT_EQ(Payload(buffer), Bytes{7});
  }
}

TEST(VOutBuffer, SingleBytesGrowTheBlockByDoubling) {
  VOutBuffer buffer(0);
  std::vector<std::pair<int, int>> growths;  // (length before the append, new capacity)
  int capacity = buffer.Capacity();
  for (int i = 0; i < 2048; ++i) {
    buffer.PutU8(static_cast<uint32_t>(i));
    if (buffer.Capacity() != capacity) {
      capacity = buffer.Capacity();
      growths.emplace_back(i, capacity);
    }
  }
  // The 1st byte gives 256, the 256th 512, the 512th 1024, the 1024th 2048.
  EXPECT_EQ(growths, (std::vector<std::pair<int, int>>{
                         {0, 256}, {255, 512}, {511, 1024}, {1023, 2048}, {2047, 4096}}));
  for (int i = 0; i < 2048; ++i) {
    ASSERT_EQ(buffer.Data()[i], static_cast<uint8_t>(i));
  }
}

TEST(VOutBuffer, LargeRunsRoundTheGrowthUpTo256) {
  Bytes run(1024, 0xAB);
  VOutBuffer small(0);
  small.PutBytes(run.data(), 300);
  EXPECT_EQ(small.Capacity(), 512);

  VOutBuffer exact(0);
  exact.PutBytes(run.data(), 1024);
  EXPECT_EQ(exact.Capacity(), 1024);
  exact.PutU8(1);  // length 1024 reached the capacity: grows by 1025 rounded up
  EXPECT_EQ(exact.Capacity(), 2304);
  EXPECT_EQ(exact.Length(), 1025);
}

TEST(VOutBuffer, GrowingPastTheFirstBlockKeepsEveryByte) {
  VOutBuffer buffer(0x7F);
  Bytes expected;
  for (int i = 0; i < 1000; ++i) {
    buffer.PutU8(static_cast<uint32_t>(i * 7));
    expected.push_back(static_cast<uint8_t>(i * 7));
  }
  EXPECT_EQ(Payload(buffer), expected);
}

TEST(VOutBuffer, MovingHandsOverTheBlock) {
  VOutBuffer source(0x31);
  source.PutU16(7);
  VOutBuffer target(std::move(source));
  EXPECT_EQ(target.Opcode(), 0x31);
  EXPECT_EQ(Payload(target), (Bytes{7, 0}));
  EXPECT_EQ(source.Length(), 0);
  EXPECT_EQ(source.Capacity(), 0);
  EXPECT_EQ(source.Data(), nullptr);

  VOutBuffer large(0x7F);
  for (int i = 0; i < 300; ++i) large.PutU8(static_cast<uint32_t>(i));
  VOutBuffer moved(0);
  moved = std::move(large);
  ASSERT_EQ(moved.Length(), 300);
  EXPECT_EQ(moved.Data()[299], 299 & 0xFF);
  EXPECT_EQ(moved.Opcode(), 0x7F);
}

TEST(VOutBuffer, OversizedPayloadIsRefusedWithoutChange) {
  VOutBuffer buffer(0);
  buffer.PutU16(5);
  EXPECT_THROW(buffer.Reserve(VOutBuffer::kMaxPayload), VErrorInternal);
  EXPECT_THROW(buffer.Reserve(SIZE_MAX), VErrorInternal);
  EXPECT_EQ(buffer.Length(), 2);
  EXPECT_EQ(buffer.Capacity(), 256);
}

}  // namespace
