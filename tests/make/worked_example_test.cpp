// The event "intro" with the picture sky.bmp, end to end: the script byte for byte, the VNL file
// byte for byte and, through the reader, in its order of records.

#include <gtest/gtest.h>

#include "document/names.h"
#include "make/build_case.h"
#include "make/build_test_support.h"
#include "make/make_wrd_files.h"
#include "make/test_bmp_writer.h"

namespace {

using namespace build_test;
using Bytes = std::vector<uint8_t>;

const std::string kFadeOutComment = "// \x83\x74\x83\x46\x81\x5B\x83\x68\x83\x41\x83\x45\x83\x67";
const std::string kColourComment = "// \x95\xB6\x8E\x9A\x90\x46";
const std::string kTextPageComment = "// \x83\x65\x83\x4C\x83\x58\x83\x67\x89\xE6\x96\xCA";
const std::string kFadeInComment = "// \x83\x74\x83\x46\x81\x5B\x83\x68\x83\x43\x83\x93";

std::string CrLfLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

void PutVarLen(Bytes& out, uint32_t value) {
  Bytes groups{static_cast<uint8_t>(value & 0x7F)};
  while ((value >>= 7) != 0) groups.insert(groups.begin(), 0x80 | (value & 0x7F));
  out.insert(out.end(), groups.begin(), groups.end());
}

// One record: for the Data block with its delta tick.
void Record(Bytes& out, int delta, uint8_t opcode, const Bytes& payload) {
  if (delta >= 0) PutVarLen(out, static_cast<uint32_t>(delta));
  PutVarLen(out, static_cast<uint32_t>(payload.size() + 1));
  out.push_back(opcode);
  out.insert(out.end(), payload.begin(), payload.end());
}

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

// BlendPalette(first, second, -2, 0, 8, 0, 0, 8, 0, 100 - pct, pct).
Bytes Blend(Bytes firstAndSecond, int pct) {
  return Join({firstAndSecond, {0xFE, 0xFF, 0, 8, 0, 0, 8, 0}, {uint8_t(100 - pct), uint8_t(pct)}});
}

const int kPercent[19] = {0,  5,  11, 16, 22, 27, 33, 38, 44, 50,
                          55, 61, 66, 72, 77, 83, 88, 94, 100};

Bytes ExpectedVnl() {
  Bytes out = Text("Varnel WRD");
  out.insert(out.end(), {0, 0, 1, 0, 0, 0});
  Record(out, -1, 0x71, Text("Varnel WRD Maker ver.1.1"));
  Record(out, -1, 0x21, {0x30, 0x00});
  Record(out, -1, 0x00, {});
  Record(out, 0, 0x25, {0xFF, 0xFF, 0x80, 0x02, 0xE0, 0x01, 0x00});
  for (uint8_t id : {0xFF, 0xFE, 0xFD, 0xFC}) Record(out, 0, 0x21, {id, 0xFF});
  for (uint8_t id : {0xFD, 0xFC}) {
    Bytes payload{id, 0xFF};
    const uint8_t level = id == 0xFD ? 0xFF : 0x00;
    for (int i = 0; i < 256; ++i) payload.insert(payload.end(), {uint8_t(i), level, level, level});
    Record(out, 0, 0x41, payload);
  }
  Record(out, 0, 0x27, Join({{0, 0, 0, 0}, Text("sky.png")}));
  Record(out, 0, 0x01, {});
  // The fade-out, 576 to 720, comes first in the file.
  for (int step = 0; step < 19; ++step) {
    Record(out, step == 0 ? 576 : 8, 0x42, Blend({0xFF, 0xFF, 0xFD, 0xFF}, kPercent[step]));
    Record(out, 0, 0x31, {0xFE, 0xFF});
  }
  // Then everything at 768 in the order of issue.
  Record(out, 48, 0x52, {0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0x7F, 0x02, 0xDF, 0x01, 0});
  Record(out, 0, 0x61,
         {0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0x3F, 0x01, 0xEF, 0, 0xA0, 0, 0x78, 0});
  Record(out, 0, 0x43, {0, 0, 0xFF, 0xFF});
  Record(out, 0, 0x41, {0xFF, 0xFF, 0xFF, 0x00, 0xFF, 0x00});
  Record(out, 0, 0x51,
         Join({{0xFF, 0xFF, 0xFF, 0x01, 0xFF, 0x00, 0x2C, 0x01, 0x90, 0x01}, Text("Hello")}));
  Record(out, 0, 0x35, {0xFF, 0xFF, 0, 0, 0, 0});
  // The fade-in, 768 to 912, then the end record at the last tick.
  for (int step = 0; step < 19; ++step) {
    Record(out, step == 0 ? 0 : 8, 0x42, Blend({0xFD, 0xFF, 0xFF, 0xFF}, kPercent[step]));
    Record(out, 0, 0x31, {0xFE, 0xFF});
  }
  Record(out, 0, 0x00, {});
  return out;
}

class WorkedExampleTest : public testing::Test {
 protected:
  void SetUp() override {
    // 320 x 240, index 255 unused.
    test_bmp::WritePlainBmp(folder_.Path() / "sky.bmp", 320, 240, 7);
    table_ = std::make_unique<EventTable>();
    SetMidiPath(*table_, folder_ / "song.mid");
    SetWorkedExampleEvent(table_->events[0]);
    table_->EventCount = 1;
    result_ = MakeWrdFiles(*table_, log_);
  }

  TempFolder folder_;
  std::unique_ptr<EventTable> table_;
  RecordingLog log_;
  BuildResult result_;
};

TEST_F(WorkedExampleTest, TheScriptListsTheEventLineByLine) {
  std::vector<std::string> lines = kScriptHead;
  for (std::string line :
       {"LoadPicture(1,1,\"sky.png\");", "Start();", "// intro", "SetTick(768);", "ActivePage(0);",
        "Move(0, 0, 319, 239, 160, 120, 1, 0);", "SetTick(576);", "Fade(0, 32766, 144);"}) {
    lines.push_back(line);
  }
  lines.push_back("SetTick(768); " + kFadeOutComment);
  lines.push_back("CopyPalette(0, 1);");
  lines.push_back("SetPalette(0, 255, 65280); " + kColourComment);
  lines.push_back("ActivePage(32767); " + kTextPageComment);
  lines.push_back("DrawText(300, 400, 255, \"Hello\");");
  lines.push_back("Fade(32766, 1, 144); " + kFadeInComment);
  EXPECT_EQ(ReadFile(folder_.Path() / "song.evn"), CrLfLines(lines));
}

TEST_F(WorkedExampleTest, TheVnlFileHoldsExactlyTheSortedRecords) {
  const std::string file = ReadFile(folder_.Path() / "song.vnl");
  const Bytes expected = ExpectedVnl();
  ASSERT_EQ(Hex(Bytes(file.begin(), file.end())), Hex(expected));
}

TEST_F(WorkedExampleTest, TheReaderSeesFadeOutThenTheEventThenTheFadeIn) {
  const VnlFile vnl = ReadVnlFile(folder_ / "song.vnl");
  std::vector<std::string> order;
  for (const VnlRecord& record : vnl.records) {
    if (record.block == 1 && record.tick > 0) {
      order.push_back(std::to_string(record.tick) + ":" + DescribeRecord(record).substr(0, 6));
    }
  }
  ASSERT_EQ(order.size(), 19u * 2 + 6 + 19u * 2 + 1);
  EXPECT_EQ(order[0], "576:BlendP");
  EXPECT_EQ(order[1], "576:Change");
  EXPECT_EQ(order[36], "720:BlendP");
  const std::vector<std::string> at768(order.begin() + 38, order.begin() + 46);
  EXPECT_EQ(at768,
            (std::vector<std::string>{"768:FillRe", "768:Move(0", "768:CopyPa", "768:SetPal",
                                      "768:DrawTe", "768:Displa", "768:BlendP", "768:Change"}));
  EXPECT_EQ(order[order.size() - 3], "912:BlendP");
  EXPECT_EQ(order.back(), "912:EndBlo");
}

TEST_F(WorkedExampleTest, TheLogTellsEveryStep) {
  const std::vector<std::string> expected = {
      "",
      "BMP\x83\x74\x83\x40\x83\x43\x83\x8B\x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x92\x86 " +
          folder_ / "sky.bmp",
      "\x96\xA2\x8E\x67\x97\x70\x90\x46\x82\xF0\x8C\x9F\x8D\xF5\x92\x86",
      "PNG\x82\xD6\x95\xCF\x8A\xB7\x92\x86",
      "",
      "VNL/EVN\x83\x74\x83\x40\x83\x43\x83\x8B\x8F\x6F\x97\xCD\x92\x86 " + folder_ / "song.vnl",
      "\x83\x77\x83\x62\x83\x5F\x8F\x6F\x97\xCD\x92\x86",
      "\x89\xE6\x91\x9C\x83\x8D\x81\x5B\x83\x5F\x8F\x6F\x97\xCD\x92\x86",
      "\x8F\x49\x97\xB9",
  };
  EXPECT_EQ(log_.lines, expected);
  EXPECT_EQ(log_.events.front(), "begin");
  EXPECT_EQ(log_.events.back(), "end");
  EXPECT_EQ(result_.ErrorLines, 0);
  EXPECT_EQ(result_.PicturesConverted, 1);
  EXPECT_TRUE(fs::exists(folder_.Path() / "sky.png"));
}

}  // namespace
