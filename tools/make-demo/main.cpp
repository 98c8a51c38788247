// make-demo FOLDER: writes the demo song, its pictures and its project file into FOLDER:
// demo.mid, sunrise.bmp, night.bmp, tile.bmp, field.bmp and demo.vwm. The output is the same on
// every run.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "files/atomic_file.h"
#include "tools/make-demo/demo_pictures.h"
#include "tools/make-demo/demo_project.h"
#include "tools/make-demo/demo_song.h"
#include "vwrd_version.h"

namespace {

void Write(const std::filesystem::path& folder, const char* name, const std::string& bytes) {
  const std::filesystem::path path = folder / name;
  WriteFileAtomically(path.string(), bytes);
  std::printf("%s (%zu bytes)\n", path.string().c_str(), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (PrintVersionIfAsked(argc, argv, "make-demo")) return 0;
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-demo FOLDER\n");
    return 2;
  }
  try {
    const std::filesystem::path folder(argv[1]);
    std::filesystem::create_directories(folder);
    Write(folder, "demo.mid", DemoSongBytes());
    Write(folder, "sunrise.bmp", BmpBytes(SunrisePicture()));
    Write(folder, "night.bmp", BmpBytes(NightPicture()));
    Write(folder, "tile.bmp", BmpBytes(TilePicture()));
    Write(folder, "field.bmp", BmpBytes(FieldPicture()));
    Write(folder, "demo.vwm", DemoProjectBytes());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make-demo: %s\n", error.what());
    return 1;
  }
  return 0;
}
