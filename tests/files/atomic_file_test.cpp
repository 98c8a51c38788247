// Replacing a file: the old file's mode and owner stay, a symbolic link is written through, and
// a writer killed half-way leaves nothing behind.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "files/atomic_file.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using Temporary = FileReplacement::Temporary;

using test_support::ReadAll;

struct stat Status(const std::string& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info;
}

TEST(AtomicFileTest, AReplacedFileKeepsItsModeAndOwner) {
  for (Temporary temporary : {Temporary::kUnnamedWhereOffered, Temporary::kNamed}) {
    for (mode_t mode : {0444, 0640, 0604}) {
      TempFolder folder;
      const std::string path = folder.Write("song.vnl", {'o', 'l', 'd'});
      ASSERT_EQ(::chmod(path.c_str(), mode), 0);
      const bool root = ::geteuid() == 0;
      if (root) {
        ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
      }
      AtomicFile file(path, AtomicFile::Durability::kUnsynced, temporary);
      file.Stream() << "new";
      file.Commit();
      EXPECT_EQ(ReadAll(path), "new");
      EXPECT_EQ(Status(path).st_mode & 07777, mode);
      if (root) {
        EXPECT_EQ(Status(path).st_uid, 65534u);
      }
      EXPECT_EQ(folder.Names().size(), 1u);
    }
  }
}

TEST(AtomicFileTest, ASymbolicLinkIsWrittenThroughAndStays) {
  TempFolder folder;
  fs::create_directory(folder.File("real"));
  const std::string target = folder.Write("real/song.vwm", {'o', 'l', 'd'});
  fs::create_symlink("real/song.vwm", folder.File("song.vwm"));
  WriteFileAtomically(folder.File("song.vwm"), "new");
  EXPECT_TRUE(fs::is_symlink(folder.File("song.vwm")));
  EXPECT_EQ(ReadAll(target), "new");
  // A link to a file not yet made makes that file.
  fs::create_symlink("real/new.vwm", folder.File("new.vwm"));
  WriteFileAtomically(folder.File("new.vwm"), "made");
  EXPECT_TRUE(fs::is_symlink(folder.File("new.vwm")));
  EXPECT_EQ(ReadAll(folder.File("real/new.vwm")), "made");
}

// Where the file system has no unnamed files, a killed writer leaves its hidden temporary file;
// the next write to the folder removes it, but never one still being written.
TEST(AtomicFileTest, TheNextWriteRemovesATemporaryFileLeftByAKilledWriter) {
  TempFolder folder;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    AtomicFile file(folder.File("a.png"), AtomicFile::Durability::kUnsynced, Temporary::kNamed);
    file.Stream() << "half" << std::flush;
    ::raise(SIGKILL);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));
  ASSERT_EQ(folder.Names().size(), 1u);
  EXPECT_TRUE(folder.Names()[0].starts_with(".a.png.vwrd-tmp-")) << folder.Names()[0];

  AtomicFile live(folder.File("b.png"), AtomicFile::Durability::kUnsynced, Temporary::kNamed);
  ASSERT_EQ(folder.Names().size(), 1u);  // the stale one went, the live one is there
  EXPECT_TRUE(folder.Names()[0].starts_with(".b.png.vwrd-tmp-")) << folder.Names()[0];
  WriteFileAtomically(folder.File("c.png"), "c", AtomicFile::Durability::kUnsynced);
  EXPECT_EQ(folder.Names().size(), 2u);
  live.Commit();
  EXPECT_EQ(folder.Names().size(), 2u);
}

// A song folder unpacked from someone else's archive may hold links; within the folder they are
// written through, anywhere else the write is refused and the target stays as it was.
TEST(AtomicFileTest, ALinkIsWrittenThroughOnlyWithinItsFolder) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> links;  // link (in song/) -> what it holds
    std::string target;                                      // where the write would land
    bool written;
  };
  const Case cases[] = {
      {"relative inside", {{"out.png", "sub/real.png"}}, "song/sub/real.png", true},
      {"absolute inside", {{"out.png", "@/song/real.png"}}, "song/real.png", true},
      {"back in through ..", {{"out.png", "../song/real.png"}}, "song/real.png", true},
      {"chain inside",
       {{"out.png", "b.png"}, {"b.png", "sub/real.png"}},
       "song/sub/real.png",
       true},
      {"relative outside", {{"out.png", "../outside/victim.txt"}}, "outside/victim.txt", false},
      {"absolute outside", {{"out.png", "@/outside/victim.txt"}}, "outside/victim.txt", false},
      {"chain outside",
       {{"out.png", "b.png"}, {"b.png", "../outside/victim.txt"}},
       "outside/victim.txt",
       false},
      {"folder link outside",
       {{"out.png", "away/victim.txt"}, {"away", "../outside"}},
       "outside/victim.txt",
       false},
  };
  for (const Case& c : cases) {
    TempFolder temp;
    fs::create_directories(temp.Path() / "song/sub");
    fs::create_directories(temp.Path() / "outside");
    const std::string target = temp.Write(c.target, {'o', 'l', 'd'});
    for (const auto& [link, to] : c.links) {
      const std::string held = to.starts_with('@') ? temp.Path().string() + to.substr(1) : to;
      fs::create_symlink(held, temp.Path() / "song" / link);
    }
    const std::string path = temp.File("song/out.png");
    try {
      WriteFileAtomically(path, "new", AtomicFile::Durability::kUnsynced,
                          AtomicFile::Links::kWithinFolder);
      EXPECT_TRUE(c.written) << c.name;
    } catch (const LinkRefusedError& error) {
      EXPECT_FALSE(c.written) << c.name;
      EXPECT_NE(std::string(error.what()).find("リンク先が曲のフォルダの外なので書き込みません"),
                std::string::npos)
          << error.what();
    }
    EXPECT_EQ(ReadAll(target), c.written ? "new" : "old") << c.name;
    EXPECT_TRUE(fs::is_symlink(path)) << c.name;
  }
}

TEST(AtomicFileTest, ARefusedLinkIsNeverWrittenThrough) {
  TempFolder temp;
  const std::string target = temp.Write("real.copy", {'o', 'l', 'd'});
  fs::create_symlink("real.copy", temp.File("copy"));
  EXPECT_THROW(WriteFileAtomically(temp.File("copy"), "new", AtomicFile::Durability::kUnsynced,
                                   AtomicFile::Links::kRefused),
               LinkRefusedError);
  EXPECT_EQ(ReadAll(target), "old");
  WriteFileAtomically(temp.File("plain"), "new", AtomicFile::Durability::kUnsynced,
                      AtomicFile::Links::kRefused);
  EXPECT_EQ(ReadAll(temp.File("plain")), "new");
}

}  // namespace
