#pragma once
// Inputs that are no regular file, as a user's folder may hold them: a named pipe (opening it
// waits for a writer for ever), a folder, links to devices (/dev/zero never ends), a link to
// nothing and a name that is not there. Each is a name in one folder, so that a reader that only
// looks inside its folder meets them too.

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

namespace test_support {

struct NonRegularInput {
  std::string name;  // "pipe" + extension, ...
  std::string
      kind;  // the reader's word for it: "名前付きパイプ", "フォルダ", "デバイス"; "" if absent
};

// Makes the inputs in `folder`, each named by its case and `extension` (".png").
inline std::vector<NonRegularInput> MakeNonRegularInputs(const std::filesystem::path& folder,
                                                         const std::string& extension) {
  namespace fs = std::filesystem;
  const std::vector<NonRegularInput> inputs = {
      {"pipe" + extension, "名前付きパイプ"}, {"folder" + extension, "フォルダ"},
      {"null" + extension, "デバイス"},       {"zero" + extension, "デバイス"},
      {"dangling" + extension, ""},           {"missing" + extension, ""},
  };
  ::mkfifo((folder / inputs[0].name).c_str(), 0600);
  fs::create_directory(folder / inputs[1].name);
  fs::create_symlink("/dev/null", folder / inputs[2].name);
  fs::create_symlink("/dev/zero", folder / inputs[3].name);
  fs::create_symlink(folder / ("gone" + extension), folder / inputs[4].name);
  return inputs;
}

}  // namespace test_support
