#include "wrd/vbinary_out.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/wrd/bytes.h"
#include "wrd/verror.h"
#include "wrd/vnl_reader.h"

namespace {

Bytes Written(const std::ostringstream& out) { return ToBytes(out.str()); }

TEST(VBinaryOut, HeaderIsWrittenAtConstruction) {
  std::ostringstream out;
  VBinaryOut writer(out);
  EXPECT_EQ(Written(out), kHeader);
}

TEST(VBinaryOut, EmptyWriterWritesExactly21Bytes) {
  std::ostringstream out;
  { VBinaryOut writer(out); }
  EXPECT_EQ(Written(out), Concat({kHeader, {0x01, 0x00}, {0x00, 0x01, 0x00}}));
}

TEST(VBinaryOut, DestructionClosesWhateverBlockIsOpen) {
  // state 0: both end records; state 1: one; state 2: nothing more.
  for (int endBlocks = 0; endBlocks <= 3; ++endBlocks) {
    std::ostringstream out;
    {
      VBinaryOut writer(out);
      for (int i = 0; i < endBlocks; ++i) {
        writer.EndBlock();
      }
      EXPECT_EQ(writer.BlockState(), std::min(endBlocks, 2));
    }
    EXPECT_EQ(Written(out), Concat({kHeader, {0x01, 0x00}, {0x00, 0x01, 0x00}}))
        << endBlocks << " EndBlock calls";
  }
}

TEST(VBinaryOut, CallersStreamStaysOpenAndUsable) {
  std::ostringstream out;
  { VBinaryOut writer(out); }
  out << "after";
  EXPECT_TRUE(out.good());
  EXPECT_EQ(out.str().substr(21), "after");
}

TEST(VBinaryOut, DefinitionRecordsAreUntimed) {
  std::ostringstream out;
  {
    VBinaryOut writer(out);
    writer.SetTimebase(48);
    writer.SetTitle("T");
  }
  EXPECT_EQ(Written(out), Concat({kHeader,
                                  {0x03, 0x21, 0x30, 0x00},
                                  {0x02, 0x71, 'T'},
                                  {0x01, 0x00},
                                  {0x00, 0x01, 0x00}}));
}

TEST(VBinaryOut, EqualTicksKeepTheOrderOfQueueing) {
  std::ostringstream out;
  {
    VBinaryOut writer(out);
    writer.EndBlock();
    writer.SetTick(10);
    writer.ChangePalette(1);
    writer.ChangePalette(2);
    writer.ChangePalette(3);
  }
  EXPECT_EQ(Written(out), Concat({kHeader,
                                  {0x01, 0x00},
                                  {0x0A, 0x03, 0x31, 0x01, 0x00},
                                  {0x00, 0x03, 0x31, 0x02, 0x00},
                                  {0x00, 0x03, 0x31, 0x03, 0x00},
                                  {0x00, 0x01, 0x00}}));
}

TEST(VBinaryOut, BatchAfterStartIsSortedWithDeltasFromZero) {
  std::ostringstream out;
  {
    VBinaryOut writer(out);
    writer.EndBlock();
    writer.SetTick(7);
    writer.ChangePalette(9);
    writer.Start();
    EXPECT_EQ(writer.CurrentTick(), 0u);
    writer.SetTick(100);
    writer.ChangePalette(1);
    writer.SetTick(50);
    writer.ChangePalette(2);
    writer.ChangePalette(3);
  }
  EXPECT_EQ(Written(out), Concat({kHeader,
                                  {0x01, 0x00},
                                  {0x07, 0x03, 0x31, 0x09, 0x00},
                                  {0x00, 0x01, 0x01},  // Start
                                  {0x32, 0x03, 0x31, 0x02, 0x00},
                                  {0x00, 0x03, 0x31, 0x03, 0x00},
                                  {0x32, 0x03, 0x31, 0x01, 0x00},
                                  {0x00, 0x01, 0x00}}));
}

TEST(VBinaryOut, EndRecordOfAnEmptyQueueIsAtTheCurrentTick) {
  std::ostringstream out;
  {
    VBinaryOut writer(out);
    writer.EndBlock();
    writer.Start();
    writer.SetTick(300);
  }
  EXPECT_EQ(Written(out),
            Concat({kHeader, {0x01, 0x00}, {0x00, 0x01, 0x01}, {0x82, 0x2C, 0x01, 0x00}}));
}

TEST(VBinaryOut, EndBlockMovesTheTickToTheLastCommand) {
  std::ostringstream out;
  VBinaryOut writer(out);
  writer.EndBlock();
  writer.SetTick(90);
  writer.ChangePalette(1);
  writer.SetTick(20);
  writer.EndBlock();
  EXPECT_EQ(writer.CurrentTick(), 90u);
}

TEST(VBinaryOut, AddTickAdvancesTheCurrentTick) {
  std::ostringstream out;
  VBinaryOut writer(out);
  writer.SetTick(100);
  writer.AddTick(44);
  EXPECT_EQ(writer.CurrentTick(), 144u);
}

TEST(VBinaryOut, TicksOfTwoToThe28AreRefusedAndTheFileStaysWellFormed) {
  std::ostringstream out;
  {
    VBinaryOut writer(out);
    writer.EndBlock();
    writer.SetTick(0x0FFFFFFF);
    writer.ChangePalette(1);
    EXPECT_THROW(writer.SetTick(0x10000000), VErrorInput);
    EXPECT_THROW(writer.SetTick(static_cast<uint32_t>(-12)), VErrorInput);
    EXPECT_THROW(writer.AddTick(1), VErrorInput);
    EXPECT_THROW(writer.AddTick(0xFFFFFFFF), VErrorInput);
    EXPECT_EQ(writer.CurrentTick(), 0x0FFFFFFFu);
    writer.ChangePalette(2);
    EXPECT_TRUE(writer.Close());
  }
  EXPECT_EQ(Written(out), Concat({kHeader,
                                  {0x01, 0x00},
                                  {0xFF, 0xFF, 0xFF, 0x7F, 0x03, 0x31, 0x01, 0x00},
                                  {0x00, 0x03, 0x31, 0x02, 0x00},
                                  {0x00, 0x01, 0x00}}));
}

TEST(VBinaryOut, RecordLengthUsesTheVarLenEncoding) {
  std::ostringstream out;
  {
    VBinaryOut writer(out);
    writer.EndBlock();
    Bytes raw(127, 0xEE);  // length 128: two bytes
    writer.RawCommand(0x7F, raw.data(), 127);
  }
  Bytes expected = Concat(
      {kHeader, {0x01, 0x00}, {0x00, 0x81, 0x00, 0x7F}, Bytes(127, 0xEE), {0x00, 0x01, 0x00}});
  EXPECT_EQ(Written(out), expected);
}

TEST(VBinaryOut, CallerBuiltCommandIsQueuedAtTheCurrentTick) {
  std::ostringstream out;
  {
    VBinaryOut writer(out);
    writer.EndBlock();
    writer.SetTick(3);
    auto command = std::make_unique<VOutBuffer>(0x99);
    command->PutU8(1);
    writer.Enqueue(std::move(command));
    EXPECT_THROW(writer.Enqueue(std::unique_ptr<VOutBuffer>()), VErrorInternal);
  }
  EXPECT_EQ(Written(out),
            Concat({kHeader, {0x01, 0x00}, {0x03, 0x02, 0x99, 0x01}, {0x00, 0x01, 0x00}}));
}

TEST(VBinaryOut, GuardsFollowTheBlockState) {
  std::ostringstream out;
  VBinaryOut writer(out);
  EXPECT_NO_THROW(writer.CheckDefinitionBlock());
  try {
    writer.CheckDataBlock();
    FAIL() << "no error";
  } catch (const VError& e) {
    EXPECT_STREQ(e.what(), "Must be WRD command in Data block");
  }
  writer.EndBlock();
  EXPECT_NO_THROW(writer.CheckDataBlock());
  try {
    writer.CheckDefinitionBlock();
    FAIL() << "no error";
  } catch (const VError& e) {
    EXPECT_STREQ(e.what(), "Cannot define command in Data block");
  }
  writer.EndBlock();
  EXPECT_THROW(writer.CheckDefinitionBlock(), VError);
  EXPECT_THROW(writer.CheckDataBlock(), VError);
}

TEST(VBinaryOut, GuardsNeitherWriteNorChangeState) {
  std::ostringstream out;
  VBinaryOut writer(out);
  writer.SetTitle("x");
  EXPECT_THROW(writer.CheckDataBlock(), VError);
  EXPECT_EQ(writer.BlockState(), 0);
  EXPECT_EQ(writer.QueuedCount(), 1u);
  EXPECT_EQ(Written(out), kHeader);
}

TEST(VBinaryOut, NothingIsWrittenAfterTheDataBlockEnds) {
  std::ostringstream out;
  {
    VBinaryOut writer(out);
    writer.EndBlock();
    writer.EndBlock();
    writer.ChangePalette(1);
    writer.Start();
    writer.EndBlock();
  }
  EXPECT_EQ(Written(out), Concat({kHeader, {0x01, 0x00}, {0x00, 0x01, 0x00}}));
}

TEST(VBinaryOut, CloseWritesOnceAndRefusesLaterCommands) {
  std::ostringstream out;
  VBinaryOut writer(out);
  writer.EndBlock();
  writer.ChangePalette(1);
  EXPECT_TRUE(writer.Close());
  EXPECT_TRUE(writer.Close());
  EXPECT_THROW(writer.ChangePalette(2), VErrorInternal);
  EXPECT_EQ(Written(out),
            Concat({kHeader, {0x01, 0x00}, {0x00, 0x03, 0x31, 0x01, 0x00}, {0x00, 0x01, 0x00}}));
}

TEST(VBinaryOut, FileWriterOwnsAndClosesItsFile) {
  auto path = std::filesystem::path(testing::TempDir()) / "owned.vnl";
  {
    VBinaryOut writer(path.c_str());
    EXPECT_FALSE(writer.Failed());
  }
  std::ifstream in(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(ToBytes(text), Concat({kHeader, {0x01, 0x00}, {0x00, 0x01, 0x00}}));
  std::filesystem::remove(path);
}

TEST(VBinaryOut, UncreatableFileIsReported) {
  VBinaryOut writer("/nonexistent-folder/x.vnl");
  EXPECT_TRUE(writer.Failed());
  writer.ChangePalette(1);
  EXPECT_FALSE(writer.Close());
}

TEST(VBinaryOut, FullDiskIsReportedByClose) {
  if (!std::filesystem::exists("/dev/full")) {
    GTEST_SKIP() << "no /dev/full";
  }
  VBinaryOut writer("/dev/full");
  writer.EndBlock();
  for (int i = 0; i < 10000; ++i) {
    writer.ChangePalette(i);
  }
  EXPECT_FALSE(writer.Close());
  EXPECT_TRUE(writer.Failed());
}

TEST(VBinaryOut, FailingCallersStreamIsReported) {
  std::ostringstream out;
  VBinaryOut writer(out);
  out.setstate(std::ios::badbit);
  writer.EndBlock();
  EXPECT_TRUE(writer.Failed());
  EXPECT_FALSE(writer.Close());
}

TEST(VBinaryOut, StreamThatThrowsIsCaughtAndReported) {
  std::ostringstream out;
  out.exceptions(std::ios::badbit | std::ios::failbit);
  VBinaryOut writer(out);
  writer.EndBlock();
  writer.ChangePalette(1);
  try {
    out.setstate(std::ios::badbit);
  } catch (const std::ios_base::failure&) {
  }
  EXPECT_NO_THROW(writer.Close());
  EXPECT_TRUE(writer.Failed());
}

}  // namespace

namespace {

TEST(VBinaryOut, ManyCommandsComeOutByTickThenInTheOrderOfQueueing) {
  // Ticks over the whole range, with many repeats, queued out of order: the file must hold
  // them by tick, and commands of one tick in the order they were queued.
  std::ostringstream out;
  std::vector<std::pair<uint32_t, uint32_t>> expected;  // tick, queueing number
  {
    VBinaryOut writer(out);
    writer.EndBlock();
    uint32_t state = 12345;
    for (uint32_t i = 0; i < 5000; ++i) {
      state = state * 1103515245u + 12345u;
      const uint32_t tick = (i % 3 == 0) ? (state >> 4) % VBinaryOut::kTickLimit : (state >> 20);
      writer.SetTick(tick);
      writer.ChangePalette(static_cast<int>(i));  // the id carries the queueing number
      expected.emplace_back(tick, i & 0xFFFF);
    }
  }
  std::stable_sort(expected.begin(), expected.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  const std::string bytes = out.str();
  const VnlFile file =
      ReadVnl(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
  std::vector<std::pair<uint32_t, uint32_t>> written;
  for (const VnlRecord& record : file.records) {
    if (record.block == 1 && record.opcode == 0x31) {
      written.emplace_back(record.tick, record.payload[0] | (record.payload[1] << 8));
    }
  }
  EXPECT_EQ(written, expected);
}

TEST(VBinaryOut, LargeCommandsAroundTheWriteBufferSizeKeepTheirBytes) {
  // Payload sizes below, at and above the writer's 64 KiB output pieces, mixed with small ones.
  const std::vector<size_t> sizes = {10, 65530, 3, 65536, 65537, 1, 200000, 0, 70000};
  std::ostringstream out;
  {
    VBinaryOut writer(out);
    writer.EndBlock();
    for (size_t k = 0; k < sizes.size(); ++k) {
      std::vector<uint8_t> payload(sizes[k]);
      for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<uint8_t>(i * 31 + k);
      writer.SetTick(static_cast<uint32_t>(k));
      writer.RawCommand(0x7E, payload.data(), static_cast<int>(payload.size()));
    }
  }
  const std::string bytes = out.str();
  const VnlFile file =
      ReadVnl(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
  size_t k = 0;
  for (const VnlRecord& record : file.records) {
    if (record.opcode != 0x7E) continue;
    ASSERT_LT(k, sizes.size());
    ASSERT_EQ(record.payload.size(), sizes[k]);
    for (size_t i = 0; i < record.payload.size(); ++i) {
      ASSERT_EQ(record.payload[i], static_cast<uint8_t>(i * 31 + k)) << "record " << k;
    }
    ++k;
  }
  EXPECT_EQ(k, sizes.size());
}

// The failure a caller can throw: the file's name and the system's reason where there is one.
TEST(VBinaryOut, FailureCarriesTheFileAndTheReason) {
  std::string bytes;
  VBinaryOut good(bytes);
  EXPECT_TRUE(good.Close());
  EXPECT_EQ(good.Failure(), nullptr);

  VBinaryOut uncreatable("/nonexistent-folder/x.vnl");
  EXPECT_FALSE(uncreatable.Close());
  ASSERT_NE(uncreatable.Failure(), nullptr);
  EXPECT_EQ(uncreatable.Failure()->SystemReason(), ENOENT);
  EXPECT_EQ(std::string(uncreatable.Failure()->what()).rfind("/nonexistent-folder/x.vnl: ", 0), 0u);

  std::ostringstream out;
  VBinaryOut onStream(out);
  out.setstate(std::ios::badbit);
  EXPECT_FALSE(onStream.Close());
  ASSERT_NE(onStream.Failure(), nullptr);
  EXPECT_EQ(onStream.Failure()->SystemReason(), 0);
}

}  // namespace
