// Feeds arbitrary bytes to the project file reader: it must read them without crashing, and a
// table it read must come back unchanged through a save and a second read.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "document/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto first = std::make_unique<EventTable>();
  ParseProject(std::string_view(reinterpret_cast<const char*>(data), size), *first);
  if (first->EventCount < 0 || first->EventCount > EventTable::kCapacity) std::abort();

  auto second = std::make_unique<EventTable>();
  ParseProject(ProjectFileBytes(*first), *second);
  if (second->EventCount != first->EventCount) std::abort();
  for (int i = 0; i < first->EventCount; ++i) {
    if (!(second->events[i] == first->events[i])) std::abort();
  }
  return 0;
}
