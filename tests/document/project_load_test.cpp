// What reading a project file finds: no project at all, a file cut short, too many events.

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>
#include <random>
#include <string>

#include "document/project_file.h"
#include "files/file_errors.h"

namespace {

using Status = ProjectLoad::Status;

// One event as the program writes it, with CR LF line ends.
std::string Event(const std::string& mark) {
  return mark +
         "\r\n96\r\na.bmp\r\n1\r\n0\r\n400\r\n639\r\n479\r\n0\r\n2\r\n16777215\r\nla\r\n//"
         "\r\n@\r\n";
}

std::string RandomBytes() {
  std::mt19937 random(7);
  std::string bytes;
  for (int i = 0; i < 4096; ++i) bytes += static_cast<char>(random());
  return bytes;
}

struct NotAProject {
  const char* name;
  std::string bytes;
  const char* reason;
};

TEST(ProjectLoadTest, BytesThatAreNoProjectLeaveTheTableUntouched) {
  const NotAProject cases[] = {
      {"empty", "", "空のファイルです"},
      {"only a 0x1A", "\x1A Varnel WRD Maker Format 1\r\n@\r\n", "空のファイルです"},
      {"CR line ends only", "Varnel WRD Maker Format 1\r@\rA\r96\r", "「@」の行がありません"},
      {"no separator line", "Varnel WRD Maker Format 1\r\nA\r\n96\r\n", "「@」の行がありません"},
      {"random bytes", RandomBytes(), ""},
  };
  for (const NotAProject& c : cases) {
    auto table = std::make_unique<EventTable>();
    table->events[0].Mark = "kept";
    table->EventCount = 1;
    const ProjectLoad load = ParseProject(c.bytes, *table);
    EXPECT_EQ(load.status, Status::kNotAProject) << c.name;
    EXPECT_FALSE(load.Loaded()) << c.name;
    EXPECT_NE(load.Message.find("プロジェクトファイルではありません"), std::string::npos) << c.name;
    EXPECT_NE(load.Message.find(c.reason), std::string::npos) << c.name << ": " << load.Message;
    EXPECT_EQ(table->EventCount, 1) << c.name;
    EXPECT_EQ(table->events[0].Mark, "kept") << c.name;
  }
}

TEST(ProjectLoadTest, AFileCutShortInsideItsLastEventSaysWhichWasDropped) {
  const std::string whole = "Varnel WRD Maker Format 1\r\n@\r\n" + Event("A") + Event("B");
  for (size_t cut : {whole.size() - 12, whole.size() - 30}) {  // in the lyrics, in the fields
    auto table = std::make_unique<EventTable>();
    const ProjectLoad load = ParseProject(whole.substr(0, cut), *table);
    EXPECT_EQ(load.status, Status::kCutShort) << cut;
    EXPECT_EQ(load.DroppedEvent, 1);
    EXPECT_NE(load.Message.find("2番目"), std::string::npos) << load.Message;
    EXPECT_EQ(table->EventCount, 1);
    EXPECT_EQ(table->events[0].Mark, "A");
  }
  // Ending after the last "@" line, or with empty lines, is a whole file.
  for (const std::string& tail : {std::string(), std::string("\r\n\r\n")}) {
    auto table = std::make_unique<EventTable>();
    EXPECT_EQ(ParseProject(whole + tail, *table).status, Status::kLoaded);
    EXPECT_EQ(table->EventCount, 2);
  }
}

TEST(ProjectLoadTest, MoreThan1024EventsSayHowManyWereNotRead) {
  std::string bytes = "Varnel WRD Maker Format 1\r\n@\r\n";
  for (int i = 0; i < 1030; ++i) bytes += Event("E" + std::to_string(i));
  auto table = std::make_unique<EventTable>();
  const ProjectLoad load = ParseProject(bytes, *table);
  EXPECT_EQ(load.status, Status::kTooManyEvents);
  EXPECT_EQ(load.EventsNotRead, 6);
  EXPECT_NE(load.Message.find("残りの6個"), std::string::npos) << load.Message;
  EXPECT_EQ(table->EventCount, 1024);
  EXPECT_EQ(table->events[1023].Mark, "E1023");
}

// Every load that is not whole carries its error object: the message, the event left out, the
// system's reason of a file that could not be read.
TEST(ProjectLoadTest, ALoadThatIsNotWholeCarriesItsError) {
  const std::string whole = "Varnel WRD Maker Format 1\r\n@\r\n" + Event("A") + Event("B");
  auto table = std::make_unique<EventTable>();
  EXPECT_EQ(ParseProject(whole, *table).Failure, nullptr);
  const ProjectLoad cut = ParseProject(whole.substr(0, whole.size() - 12), *table);
  ASSERT_NE(dynamic_cast<const ProjectFormatError*>(cut.Failure.get()), nullptr);
  EXPECT_EQ(cut.Failure->what(), cut.Message);
  EXPECT_EQ(cut.Failure->Event(), 1);
  const ProjectLoad none = ParseProject("", *table);
  ASSERT_NE(dynamic_cast<const ProjectFormatError*>(none.Failure.get()), nullptr);
  EXPECT_EQ(none.Failure->Event(), VwrdError::kNoEvent);
  const ProjectLoad missing = ReadProjectFile("/nonexistent-folder/a.vwm", *table);
  ASSERT_NE(dynamic_cast<const FileReadError*>(missing.Failure.get()), nullptr);
  EXPECT_EQ(missing.Failure->SystemReason(), ENOENT);
  EXPECT_EQ(missing.Failure->what(), missing.Message);
}

}  // namespace
