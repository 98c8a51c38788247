#include "document/project_file.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "document/names.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

const std::string kAiu = "\x82\xA0\x82\xA2\x82\xA4";  // あいう
const std::string kEo = "\x82\xA6\x82\xA8";           // えお

// The 17 lines of the one-event example.
const std::string kExampleBytes =
    "Varnel WRD Maker Format 1\r\n@\r\nA\r\n96\r\na.bmp\r\n1\r\n0\r\n400\r\n639\r\n479\r\n0\r\n"
    "2\r\n16777215\r\n" +
    kAiu + "\r\r\n" + kEo + "\r\n//\r\n@\r\n";

EventItem ExampleEvent() {
  EventItem item;
  item.Mark = "A";
  item.Count = 96;
  item.Picture = "a.bmp";
  item.Effect = 1;
  item.Lyrics = kAiu + "\r\n" + kEo;
  item.X1 = 0;
  item.Y1 = 400;
  item.X2 = 639;
  item.Y2 = 479;
  item.Naraberu = 0;
  item.Align = 2;
  item.Color = 16777215;
  return item;
}

std::unique_ptr<EventTable> Parse(std::string_view bytes) {
  auto table = std::make_unique<EventTable>();
  ParseProject(bytes, *table);
  return table;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(ProjectFileTest, TheExampleEventIsWrittenAsSeventeenLines) {
  auto table = std::make_unique<EventTable>();
  table->events[0] = ExampleEvent();
  table->EventCount = 1;
  EXPECT_EQ(ProjectFileBytes(*table), kExampleBytes);
}

TEST(ProjectFileTest, TheSeventeenLinesReadBackAsTheExampleEvent) {
  auto table = Parse(kExampleBytes);
  ASSERT_EQ(table->EventCount, 1);
  EventItem expected = ExampleEvent();
  expected.Lyrics += "\r\n";  // lyrics without a final line break gain one
  EXPECT_EQ(table->events[0], expected);
  // The gained final break is stored from then on, and the lyrics then stay as they are.
  const std::string resaved = ProjectFileBytes(*table);
  EXPECT_EQ(resaved, kExampleBytes.substr(0, kExampleBytes.size() - 9) + "\r\r\n//\r\n@\r\n");
  EXPECT_EQ(Parse(resaved)->events[0], expected);
}

TEST(ProjectFileTest, AnEmptyTableIsTheHeaderAndOneSeparator) {
  EventTable table;
  EXPECT_EQ(ProjectFileBytes(table), "Varnel WRD Maker Format 1\r\n@\r\n");
  EXPECT_EQ(Parse(ProjectFileBytes(table))->EventCount, 0);
}

TEST(ProjectFileTest, LyricLineEndsAreStoredAsCrCrLf) {
  auto table = std::make_unique<EventTable>();
  table->EventCount = 3;
  table->events[0].Lyrics = "ab";
  table->events[1].Lyrics = "ab\r\ncd";
  table->events[2].Lyrics = "";
  table->events[0].X1 = -5;
  table->events[0].Naraberu = 1;
  const std::string bytes = ProjectFileBytes(*table);
  EXPECT_NE(bytes.find("\r\n-5\r\n0\r\n0\r\n0\r\n1\r\n0\r\n0\r\nab\r\n//\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("0\r\nab\r\r\ncd\r\n//\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("0\r\n0\r\n//\r\n@\r\n"), std::string::npos);
  auto read = Parse(bytes);
  ASSERT_EQ(read->EventCount, 3);
  EXPECT_EQ(read->events[0].Lyrics, "ab\r\n");
  EXPECT_EQ(read->events[1].Lyrics, "ab\r\ncd\r\n");
  EXPECT_EQ(read->events[2].Lyrics, "");
  auto again = Parse(ProjectFileBytes(*read));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(again->events[i], read->events[i]);
}

TEST(ProjectFileTest, LinesOfAnyLengthAreReadWhole) {
  for (size_t length : {2046u, 2047u, 2048u, 10000u}) {
    auto table = std::make_unique<EventTable>();
    table->EventCount = 2;
    table->events[0].Mark = std::string(length, 'm');
    table->events[0].Lyrics = std::string(length, 'l') + "\r\n";
    table->events[1].Mark = "next";
    table->events[1].Count = 7;
    auto read = Parse(ProjectFileBytes(*table));
    ASSERT_EQ(read->EventCount, 2) << length;
    EXPECT_EQ(read->events[0], table->events[0]) << length;
    EXPECT_EQ(read->events[1], table->events[1]) << length;
  }
}

// Random documents: every field, Shift-JIS texts, lyrics with and without a final line break.
class RandomDocument {
 public:
  explicit RandomDocument(unsigned seed) : random_(seed) {}

  // A text line: any bytes but CR, LF and 0x1A, now and then long.
  std::string Line() {
    const int length = Below(20) == 0 ? 1500 + Below(3000) : Below(12);
    std::string line;
    for (int i = 0; i < length; ++i) {
      if (Below(4) == 0) {
        line += static_cast<char>(0x81 + Below(0x1F));  // a double-byte character
        line += static_cast<char>(0x40 + Below(0xBD));
      } else {
        char c;
        do c = static_cast<char>(Below(256));
        while (c == '\r' || c == '\n' || c == '\x1A');
        line += c;
      }
    }
    return line;
  }

  std::string Lyrics(bool finalBreak) {
    std::string lyrics;
    const int lines = Below(5);
    for (int i = 0; i < lines; ++i) {
      std::string line;
      do line = Line();
      while (line == "//");
      if (i > 0) lyrics += "\r\n";
      lyrics += line;
    }
    if (!lyrics.empty() && finalBreak) lyrics += "\r\n";
    return lyrics;
  }

  EventItem Event(bool finalBreak) {
    EventItem item;
    item.Mark = Line();
    item.Count = Int();
    item.Picture = Line();
    item.Effect = Int();
    item.Lyrics = Lyrics(finalBreak);
    item.X1 = Int();
    item.Y1 = Int();
    item.X2 = Int();
    item.Y2 = Int();
    item.Naraberu = Below(2);
    item.Align = Int();
    item.Color = static_cast<uint32_t>(Int());
    return item;
  }

  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  int32_t Int() { return Below(3) == 0 ? Below(2000) - 1000 : static_cast<int32_t>(random_()); }

 private:
  std::mt19937 random_;
};

TEST(ProjectFileTest, RandomDocumentsWithFinalLyricBreaksRoundTripExactly) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    RandomDocument random(seed);
    auto table = std::make_unique<EventTable>();
    table->EventCount = seed == 1 ? EventTable::kCapacity : 1 + random.Below(60);
    for (int i = 0; i < table->EventCount; ++i) table->events[i] = random.Event(true);
    const std::string bytes = ProjectFileBytes(*table);
    auto read = Parse(bytes);
    ASSERT_EQ(read->EventCount, table->EventCount) << "seed " << seed;
    for (int i = 0; i < table->EventCount; ++i) {
      ASSERT_EQ(read->events[i], table->events[i]) << "seed " << seed << " event " << i;
    }
    EXPECT_EQ(ProjectFileBytes(*read), bytes);
  }
}

TEST(ProjectFileTest, LyricsWithoutFinalBreakGainOneAndThenStay) {
  for (unsigned seed = 100; seed < 110; ++seed) {
    RandomDocument random(seed);
    auto table = std::make_unique<EventTable>();
    table->EventCount = 30;
    for (int i = 0; i < table->EventCount; ++i) table->events[i] = random.Event(false);
    const std::string bytes = ProjectFileBytes(*table);
    auto read = Parse(bytes);
    ASSERT_EQ(read->EventCount, 30);
    for (int i = 0; i < 30; ++i) {
      EventItem expected = table->events[i];
      if (!expected.Lyrics.empty() && !expected.Lyrics.ends_with("\n")) expected.Lyrics += "\r\n";
      ASSERT_EQ(read->events[i], expected) << "seed " << seed << " event " << i;
    }
    const std::string resaved = ProjectFileBytes(*read);
    auto again = Parse(resaved);
    for (int i = 0; i < 30; ++i) ASSERT_EQ(again->events[i], read->events[i]);
    EXPECT_EQ(ProjectFileBytes(*again), resaved);
  }
}

TEST(ProjectFileTest, TheShippedDemoProjectIsWhatTheProgramSavesAgain) {
  std::ifstream in(VWRD_SOURCE_DIR "/examples/demo.vwm", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  auto table = Parse(bytes);
  ASSERT_EQ(table->EventCount, 5);
  EXPECT_EQ(ProjectFileBytes(*table), bytes);
}

TEST(ProjectFileTest, AFileWithMoreThan1024EventsLoadsTheFirst1024) {
  std::string bytes = "Varnel WRD Maker Format 1\r\n@\r\n";
  for (int i = 0; i < 1030; ++i) {
    bytes += "e" + std::to_string(i) + "\r\n" + std::to_string(i) +
             "\r\n\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n//\r\n@\r\n";
  }
  auto table = Parse(bytes);
  EXPECT_EQ(table->EventCount, 1024);
  EXPECT_EQ(table->events[1023].Mark, "e1023");
  EXPECT_EQ(table->events[1023].Count, 1023);
}

TEST(ProjectFileTest, TheSlotAfterTheLastEventIsEmptiedButNotCounted) {
  auto table = std::make_unique<EventTable>();
  table->events[1] = ExampleEvent();
  ParseProject(kExampleBytes, *table);
  EXPECT_EQ(table->EventCount, 1);
  EXPECT_EQ(table->events[1], EventItem{});
}

std::string Event(const std::string& mark, const std::string& count, const std::string& tail) {
  return mark + "\r\n" + count + "\r\npic.bmp\r\n1\r\n2\r\n3\r\n4\r\n5\r\n1\r\n2\r\n255\r\n" + tail;
}

struct BadInput {
  const char* name;
  std::string bytes;
  int events;
  std::vector<std::string> marks;
};

void PrintTo(const BadInput& input, std::ostream* out) { *out << input.name; }

class ProjectLoaderTest : public testing::TestWithParam<BadInput> {};

TEST_P(ProjectLoaderTest, ReadsAsFarAsTheLinesCarry) {
  auto table = Parse(GetParam().bytes);
  ASSERT_EQ(table->EventCount, GetParam().events);
  for (size_t i = 0; i < GetParam().marks.size(); ++i) {
    EXPECT_EQ(table->events[i].Mark, GetParam().marks[i]) << i;
  }
}

const std::string kHead = "Varnel WRD Maker Format 1\r\n@\r\n";

INSTANTIATE_TEST_SUITE_P(
    Files, ProjectLoaderTest,
    testing::Values(
        BadInput{"empty", "", 0, {}},
        BadInput{"header_only", "Varnel WRD Maker Format 1\r\n", 0, {}},
        BadInput{"two_good_events",
                 kHead + Event("a", "1", "x\r\n//\r\n@\r\n") + Event("b", "2", "//\r\n@\r\n"),
                 2,
                 {"a", "b"}},
        BadInput{"missing_final_lyrics_end",
                 kHead + Event("a", "1", "//\r\n@\r\n") + Event("b", "2", "lyric\r\n"),
                 1,
                 {"a"}},
        BadInput{"missing_separator_loses_the_next_event",
                 kHead + Event("a", "1", "//\r\n") + Event("b", "2", "//\r\n@\r\n") +
                     Event("c", "3", "//\r\n@\r\n"),
                 2,
                 {"a", "c"}},
        BadInput{"lyric_line_ending_the_lyrics",
                 kHead + Event("a", "1", "one\r\n//\r\ndropped\r\n@\r\n") +
                     Event("b", "2", "//\r\n@\r\n"),
                 2,
                 {"a", "b"}},
        BadInput{"other_first_line_and_lines_before_the_separator",
                 "something else\r\nskipped\r\n@@\r\n" + Event("a", "1", "//\r\n@\r\n"),
                 1,
                 {"a"}},
        BadInput{"eof_mark_in_the_middle",
                 kHead + Event("a", "1", "//\r\n@\r\n") + "\x1A" + Event("b", "2", "//\r\n@\r\n"),
                 1,
                 {"a"}},
        BadInput{"no_line_ends_at_all_but_lf",
                 "Varnel WRD Maker Format 1\n@\nA\n96\n\n0\n0\n0\n0\n0\n0\n0\n0\n//\n@\n",
                 1,
                 {"A"}},
        BadInput{"separator_without_final_line_end", kHead + Event("a", "1", "//\r\n@"), 1, {"a"}},
        BadInput{"fields_missing_at_the_end", kHead + "a\r\n1\r\n", 0, {}}),
    [](const testing::TestParamInfo<BadInput>& info) { return std::string(info.param.name); });

TEST(ProjectFileTest, NonNumericFieldsReadAsZero) {
  auto table =
      Parse(kHead + "m\r\nabc\r\np\r\nx\r\n12px\r\n -7\r\n+3\r\n\r\n?\r\n1e5\r\n-\r\n//\r\n@\r\n");
  ASSERT_EQ(table->EventCount, 1);
  const EventItem& item = table->events[0];
  EXPECT_EQ(item.Count, 0);
  EXPECT_EQ(item.Effect, 0);
  EXPECT_EQ(item.X1, 12);
  EXPECT_EQ(item.Y1, -7);
  EXPECT_EQ(item.X2, 3);
  EXPECT_EQ(item.Y2, 0);
  EXPECT_EQ(item.Naraberu, 0);
  EXPECT_EQ(item.Align, 1);
  EXPECT_EQ(item.Color, 0u);
}

TEST(ProjectFileTest, BinaryGarbageNeverCrashesTheLoader) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    std::string bytes(random() % 4000, '\0');
    for (char& c : bytes) {
      const unsigned pick = random() % 16;
      c = pick == 0 ? '\n' : pick == 1 ? '@' : pick == 2 ? '/' : static_cast<char>(random());
    }
    auto table = Parse(bytes);
    EXPECT_GE(table->EventCount, 0);
    EXPECT_LE(table->EventCount, EventTable::kCapacity);
  }
}

TEST(ProjectFileTest, SavedProjectReadsBackFromItsFile) {
  TempFolder folder;
  auto table = std::make_unique<EventTable>();
  SetMidiPath(*table, folder.Path().string() + "/song.mid");
  table->events[0] = ExampleEvent();
  table->EventCount = 1;
  WriteProject(*table);
  EXPECT_EQ(ReadAll(folder.Path() / "song.vwm"), kExampleBytes);
  auto read = std::make_unique<EventTable>();
  SetMidiPath(*read, table->MidiPath);
  EXPECT_EQ(ReadProject(*read).status, ProjectLoad::Status::kLoaded);
  EXPECT_EQ(read->EventCount, 1);
  EXPECT_EQ(read->events[0].Mark, "A");
  // Nothing but the project file is left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

TEST(ProjectFileTest, AMissingProjectFileReadsAsFalse) {
  TempFolder folder;
  auto table = std::make_unique<EventTable>();
  SetMidiPath(*table, folder.Path().string() + "/none.mid");
  EXPECT_EQ(ReadProject(*table).status, ProjectLoad::Status::kMissing);
  fs::create_directory(folder.Path() / "dir.vwm");
  SetMidiPath(*table, folder.Path().string() + "/dir.mid");
  EXPECT_EQ(ReadProject(*table).status, ProjectLoad::Status::kUnreadable);
}

TEST(ProjectFileTest, AProjectThatCannotBeWrittenThrowsAndNamesThePath) {
  TempFolder folder;
  auto table = std::make_unique<EventTable>();
  SetMidiPath(*table, folder.Path().string() + "/missing/song.mid");
  try {
    WriteProject(*table);
    FAIL() << "no error";
  } catch (const ProjectFileError& error) {
    EXPECT_NE(std::string(error.what()).find("missing/song.vwm"), std::string::npos);
  }
  // A directory in the file's place stays.
  fs::create_directory(folder.Path() / "song.vwm");
  SetMidiPath(*table, folder.Path().string() + "/song.mid");
  EXPECT_THROW(WriteProject(*table), ProjectFileError);
  EXPECT_TRUE(fs::is_directory(folder.Path() / "song.vwm"));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

TEST(ProjectFileTest, AFailedWriteLeavesTheOldProjectFileIntact) {
  TempFolder folder;
  auto table = std::make_unique<EventTable>();
  SetMidiPath(*table, folder.Path().string() + "/song.mid");
  table->events[0] = ExampleEvent();
  table->EventCount = 1;
  WriteProject(*table);
  table->EventCount = 1024;
  for (int i = 1; i < 1024; ++i) table->events[i] = ExampleEvent();
  // A file-size limit makes the write fail half-way, even for root.
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit limit = old;
  limit.rlim_cur = 1000;
  setrlimit(RLIMIT_FSIZE, &limit);
  bool threw = false;
  try {
    WriteProject(*table);
  } catch (const ProjectFileError&) {
    threw = true;
  }
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_TRUE(threw);
  EXPECT_EQ(ReadAll(folder.Path() / "song.vwm"), kExampleBytes);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

}  // namespace
