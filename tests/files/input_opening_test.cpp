// A user's file is read in one way: through the regular-file reader, which never waits on a
// named pipe or reads a device without end. Every other way of opening an input (a stream, the
// C library, the bare system call) found in the core's sources outside files/ fails this test.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char* const kCoreFolders[] = {"errors",   "text",      "files",     "wrd",  "picture",
                                    "document", "editing",   "song",      "make", "checks",
                                    "lyrics",   "wrdplayer", "showmodel", "video"};

// Where another way is allowed, and why.
const std::set<std::string> kAllowed = {
    "files/regular_file.cpp",      // the reader itself
    "files/file_replacement.cpp",  // writes, and looks at the file it replaces without waiting
    // The program's own lock file beside the recovery copies, opened to be locked.
    "editing/song_lock.cpp",
};

// The line without its comment and string literals, nothing of an #include (a block comment's
// lines are rare in this code and left as they are).
std::string Code(const std::string& line) {
  if (line.find_first_not_of(" ") == line.find('#')) return "";
  static const std::regex literal(R"("(\\.|[^"\\])*"|'(\\.|[^'\\])*')");
  std::string code = std::regex_replace(line, literal, "\"\"");
  const size_t comment = code.find("//");
  return comment == std::string::npos ? code : code.substr(0, comment);
}

// Whether the line opens a file in another way than the reader.
bool OpensAnInput(const std::string& line) {
  static const std::regex other(R"(\b(basic_)?i?fstream\b|\bf(re)?open\s*\(|\bopenat\s*\(|)"
                                R"((^|[^\w.>])(::)?open\s*\()");
  return std::regex_search(Code(line), other);
}

TEST(InputOpening, TheScanFindsEachOtherWayAndNothingElse) {
  for (const char* opens : {"std::ifstream in(path);", "FILE* f = fopen(p, \"rb\");",
                            "int fd = ::open(p, O_RDONLY);", "fd = open(p, O_RDONLY);"}) {
    EXPECT_TRUE(OpensAnInput(opens)) << opens;
  }
  for (const char* other : {"std::ofstream out(path);", "player.Open(path);", "#include <fstream>",
                            "// open() would block", "Fail(\"cannot open(it)\");"}) {
    EXPECT_FALSE(OpensAnInput(other)) << other;
  }
}

TEST(InputOpening, TheCoreOpensInputsOnlyThroughTheRegularFileReader) {
  const fs::path root = VWRD_SOURCE_DIR;
  std::vector<std::string> found;
  for (const char* folder : kCoreFolders) {
    ASSERT_TRUE(fs::is_directory(root / folder)) << folder;
    for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
      const std::string extension = entry.path().extension().string();
      if (extension != ".cpp" && extension != ".h") continue;
      const std::string name = fs::relative(entry.path(), root).generic_string();
      if (kAllowed.contains(name)) continue;
      std::ifstream in(entry.path());
      std::string line;
      for (int number = 1; std::getline(in, line); ++number) {
        if (OpensAnInput(line)) found.push_back(name + ":" + std::to_string(number) + ": " + line);
      }
    }
  }
  EXPECT_EQ(found, std::vector<std::string>{}) << "read a user's file through files/regular_file.h";
}

}  // namespace
