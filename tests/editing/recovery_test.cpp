// Recovery copies and project files that are not one: what is written, what is refused.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "editing/recovery_copy.h"
#include "editing/recovery_store.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

RecoveryCopy Copy() {
  RecoveryCopy copy;
  copy.project_path = "/songs/\x83\x5C\x83\x93\x83\x4F.vwm";  // ソング.vwm
  copy.written = 1765170000;
  copy.selection = 2;
  copy.project_bytes = "Varnel WRD Maker Format 1\r\n@\r\nA\r\n1\r\n\r\n0\r\n";
  return copy;
}

TEST(RecoveryCopyTest, ItsBytesReadBackAsTheSameCopy) {
  const std::string bytes = RecoveryCopyBytes(Copy());
  EXPECT_EQ(bytes.substr(0, 28), "Varnel WRD Maker Recovery 1\n");
  EXPECT_EQ(ParseRecoveryCopy(bytes), Copy());
}

TEST(RecoveryCopyTest, DamagedCopiesAreRefused) {
  const std::string good = RecoveryCopyBytes(Copy());
  const std::string cases[] = {
      "",
      good.substr(0, good.size() - 1),  // cut short
      good + "x",                       // longer than it says
      "Varnel WRD Maker Recovery 2" + good.substr(27),
      "Varnel WRD Maker Format 1\r\n@\r\n",
      "Varnel WRD Maker Recovery 1\n/a.vwm\n12x\n0\n0\n",
      "Varnel WRD Maker Recovery 1\n/a.vwm\n12\n\n0\n",
      "Varnel WRD Maker Recovery 1\n/a.vwm\n12\n0\n99999999999999999999999\n",
  };
  for (const std::string& bytes : cases) EXPECT_FALSE(ParseRecoveryCopy(bytes)) << bytes;
}

TEST(RecoveryStoreTest, WritesReadsAndRemovesTheCopyOfOneProject) {
  TempFolder temp;
  const RecoveryStore store(temp.Path() / "state" / "varnel-wrd-maker");
  store.Write(Copy());
  EXPECT_EQ(fs::status(store.Folder()).permissions() & fs::perms::all, fs::perms::owner_all);
  EXPECT_EQ(store.Read(Copy().project_path), Copy());
  EXPECT_FALSE(store.Read("/songs/other.vwm"));
  EXPECT_EQ(store.FileFor(Copy().project_path).parent_path(), store.Folder());
  EXPECT_NE(store.FileFor("/a/song.vwm"), store.FileFor("/b/song.vwm"));
  EXPECT_TRUE(store.Remove(Copy().project_path));
  EXPECT_FALSE(store.Exists(Copy().project_path));
  EXPECT_TRUE(store.Remove(Copy().project_path));  // nothing to remove is no failure
}

TEST(RecoveryStoreTest, TheDefaultFolderFollowsAnAbsoluteXdgStateHome) {
  const std::string saved =
      std::getenv("XDG_STATE_HOME") != nullptr ? std::getenv("XDG_STATE_HOME") : "";
  setenv("XDG_STATE_HOME", "/x/state", 1);
  EXPECT_EQ(RecoveryStore::DefaultFolder(), fs::path("/x/state/varnel-wrd-maker"));
  setenv("XDG_STATE_HOME", "relative", 1);
  EXPECT_EQ(RecoveryStore::DefaultFolder().filename(), "varnel-wrd-maker");
  EXPECT_EQ(RecoveryStore::DefaultFolder().parent_path().filename(), "state");
  EXPECT_NE(RecoveryStore::DefaultFolder().string().find("/.local/state/"), std::string::npos);
  setenv("XDG_STATE_HOME", saved.c_str(), 1);
}

}  // namespace
