// Recovery copies hold unsaved work: they stay in a folder of the user's own, are never read or
// written through a link, and a copy whose song another window holds is left alone.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "editing/recovery_store.h"
#include "editing/song_lock.h"
#include "files/file_errors.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

RecoveryCopy Copy(const std::string& project = "/songs/\x95\x5C.vwm") {  // 表.vwm
  RecoveryCopy copy;
  copy.project_path = project;
  copy.written = 1765170000;
  copy.project_bytes = "Varnel WRD Maker Format 1\r\n";
  return copy;
}

std::string WriteError(const RecoveryStore& store) {
  try {
    store.Write(Copy());
  } catch (const FileWriteError& error) {
    return error.what();
  }
  return {};
}

TEST(RecoverySafetyTest, AFolderThatIsNotTheUsersOwnAndPrivateIsNotUsed) {
  struct Case {
    const char* name;
    std::function<void(const fs::path& state)> make;
    std::string reason;
  };
  const Case cases[] = {
      {"a link",
       [](const fs::path& state) {
         fs::create_directory(state.parent_path() / "elsewhere");
         fs::permissions(state.parent_path() / "elsewhere", fs::perms::owner_all);
         fs::create_directory_symlink("elsewhere", state);
       },
       "復元用コピーのフォルダがシンボリックリンクなので使いません: "},
      {"readable by others",
       [](const fs::path& state) {
         fs::create_directory(state);
         fs::permissions(state, fs::perms::owner_all | fs::perms::group_read);
       },
       "復元用コピーのフォルダのアクセス権が 0700 ではないので使いません: "},
      {"a file", [](const fs::path& state) { std::ofstream(state.string()) << "x"; },
       "復元用コピーのフォルダがフォルダではありません: "},
      {"under a file",
       [](const fs::path& state) { std::ofstream(state.parent_path().string()) << "x"; },
       "復元用コピーのフォルダを調べられません: "},
  };
  for (const Case& c : cases) {
    TempFolder temp;
    fs::path state = temp.Path() / "state";
    if (std::string(c.name) == "under a file") state = temp.Path() / "file" / "state";
    c.make(state);
    const RecoveryStore store(state);
    EXPECT_TRUE(store.PrepareFolder().starts_with(c.reason + state.string())) << c.name;
    EXPECT_EQ(WriteError(store), store.PrepareFolder()) << c.name;
    EXPECT_FALSE(
        fs::exists(temp.Path() / "elsewhere" / store.FileFor(Copy().project_path).filename()));
  }
  if (::geteuid() == 0) {
    TempFolder temp;
    fs::create_directory(temp.Path() / "state");
    ASSERT_EQ(::chown((temp.Path() / "state").c_str(), 65534, 65534), 0);
    EXPECT_TRUE(RecoveryStore(temp.Path() / "state")
                    .PrepareFolder()
                    .starts_with("復元用コピーのフォルダが他のユーザーのものなので使いません: "));
  }
}

TEST(RecoverySafetyTest, CopiesArePrivateAndNeverGoThroughALink) {
  TempFolder temp;
  const RecoveryStore store(temp.Path() / "state");
  const mode_t mask = ::umask(0);
  store.Write(Copy());
  ::umask(mask);
  const fs::path file = store.FileFor(Copy().project_path);
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(fs::status(store.Folder()).permissions() & fs::perms::all, fs::perms::owner_all);

  // A copy that is a link is neither read nor written through, and its target stays.
  const std::string target = temp.Write("victim", {'v'});
  fs::remove(file);
  fs::create_symlink(target, file);
  EXPECT_FALSE(store.Read(Copy().project_path));
  EXPECT_NE(WriteError(store).find("シンボリックリンクなので書き込みません"), std::string::npos);
  EXPECT_EQ(fs::file_size(target), 1u);
  EXPECT_TRUE(store.Remove(Copy().project_path));  // the link goes, not its target
  EXPECT_TRUE(fs::exists(target));
}

TEST(SongLockTest, ASongOpenInOneWindowIsSaidSoInAnother) {
  TempFolder temp;
  const RecoveryStore store(temp.Path() / "state");
  const std::string project = Copy().project_path;
  const std::unique_ptr<SongLock> first = store.Lock(project);
  ASSERT_TRUE(first->Held()) << first->Message();
  store.Write(Copy(), *first);
  const std::unique_ptr<SongLock> second = store.Lock(project);
  EXPECT_EQ(second->State(), SongLock::Status::kHeldElsewhere);
  EXPECT_EQ(second->HolderPid(), ::getpid());
  EXPECT_EQ(second->Message(),
            "この曲は別のウィンドウで開かれています (プロセス " + std::to_string(::getpid()) + ")");
  // The live copy is never offered, replaced or removed by the other window.
  EXPECT_FALSE(store.Read(project, *second));
  EXPECT_FALSE(store.Read(project));
  EXPECT_FALSE(store.Remove(project, *second));
  EXPECT_FALSE(store.Remove(project));
  EXPECT_THROW(store.Write(Copy(), *second), FileWriteError);
  EXPECT_EQ(store.Read(project, *first), Copy());
  EXPECT_TRUE(store.Lock("/songs/other.vwm")->Held());  // another song is free
}

TEST(SongLockTest, TheLockOfAWindowThatCrashedIsTakenOver) {
  TempFolder temp;
  const RecoveryStore store(temp.Path() / "state");
  const std::string project = Copy().project_path;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const std::unique_ptr<SongLock> lock = store.Lock(project);
    store.Write(Copy(), *lock);
    ::raise(SIGKILL);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));
  ASSERT_TRUE(fs::exists(store.LockFileFor(project)));  // left behind, but held by no one
  EXPECT_EQ(store.Read(project), Copy());               // offered: its window is gone
  const std::unique_ptr<SongLock> lock = store.Lock(project);
  EXPECT_TRUE(lock->Held());
  EXPECT_EQ(store.Read(project, *lock), Copy());
  EXPECT_TRUE(store.Remove(project, *lock));
}

}  // namespace
