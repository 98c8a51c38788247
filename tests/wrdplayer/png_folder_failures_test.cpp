// The pictures a folder source could not read, each with its reason; a missing one is none.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "files/file_errors.h"
#include "picture/png_reader.h"
#include "wrdplayer/png_folder_source.h"

namespace {

namespace fs = std::filesystem;

TEST(PngFolderFailures, EachPictureThatIsThereButUnreadableIsSaidOnce) {
  const fs::path dir = fs::path(testing::TempDir()) / "png-folder-failures";
  fs::remove_all(dir);
  fs::create_directories(dir);
  ASSERT_EQ(::mkfifo((dir / "pipe.png").c_str(), 0600), 0);
  std::ofstream(dir / "text.png") << "not a picture";
  PngFolderSource source(dir.string());
  for (const char* name : {"pipe.png", "text.png", "missing.png", "pipe.png"}) {
    EXPECT_FALSE(source.Load(0, name)) << name;
  }
  const auto& failures = source.Failures();
  ASSERT_EQ(failures.size(), 2u);
  EXPECT_EQ(failures[0].path, (dir / "pipe.png").string());
  const auto* unread = dynamic_cast<const FileReadError*>(failures[0].error.get());
  ASSERT_NE(unread, nullptr);
  EXPECT_EQ(unread->Reason(), "通常のファイルではありません (名前付きパイプ)");
  const auto* damaged = dynamic_cast<const PngFormatError*>(failures[1].error.get());
  ASSERT_NE(damaged, nullptr);
  EXPECT_EQ(damaged->Offset(), 0u);
  fs::remove_all(dir);
}

}  // namespace
