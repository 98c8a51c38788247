#include "make/parallel_collection.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "document/names.h"
#include "picture/bitmap_file.h"

namespace {

// The lines of one picture, kept until its turn in the log.
class HeldLines : public BuildLog {
 public:
  struct Line {
    std::optional<LineSeverity> severity;  // none: a progress line
    std::string text;
  };

  void BeginLog() override {}
  void AddLogLine(const std::string& line) override { lines.push_back({std::nullopt, line}); }
  void AddProblemLine(LineSeverity severity, const std::string& line) override {
    lines.push_back({severity, line});
  }
  void EndLog() override {}

  void PassOn(BuildLog& log) const {
    for (const Line& line : lines) {
      if (line.severity) {
        log.AddProblemLine(*line.severity, line.text);
      } else {
        log.AddLogLine(line.text);
      }
    }
  }

  std::vector<Line> lines;
};

struct Outcome {
  HeldLines log;
  bool converted = false;
  std::exception_ptr error;
  bool done = false;  // guarded by the mutex of the run
};

// Picture numbers grouped by PNG file name, each group in table order, the groups in the order
// of their first picture.
std::vector<std::vector<size_t>> GroupBySharedPng(const PictureTable& pictures) {
  std::vector<std::vector<size_t>> groups;
  std::unordered_map<std::string, size_t> groupOfName;
  for (size_t j = 0; j < pictures.size(); ++j) {
    const auto [found, added] =
        groupOfName.emplace(NameKey(PngName(pictures[j].Path)), groups.size());
    if (added) groups.emplace_back();
    groups[found->second].push_back(j);
  }
  return groups;
}

}  // namespace

CollectionResult CollectPicturesInParallel(const EventTable& table, BuildLog& log, bool convert,
                                           int threads) {
  CollectionResult result;
  result.Pictures = ListPictures(table);
  if (threads <= 0) threads = static_cast<int>(std::thread::hardware_concurrency());
  const std::vector<std::vector<size_t>> groups = GroupBySharedPng(result.Pictures);
  const size_t workerCount = std::min(static_cast<size_t>(std::max(threads, 1)), groups.size());
  if (workerCount <= 1) {
    // One thread: no need to hold lines back.
    BitmapFile image;
    for (Picture& picture : result.Pictures) {
      if (CollectPicture(table, picture, image, log, convert)) ++result.Converted;
    }
    return result;
  }

  std::vector<Outcome> outcomes(result.Pictures.size());
  std::mutex mutex;
  std::condition_variable finished;
  std::atomic<size_t> nextGroup{0};
  std::atomic<bool> stop{false};
  auto work = [&] {
    BitmapFile image;
    for (size_t g = nextGroup++; g < groups.size() && !stop; g = nextGroup++) {
      for (size_t j : groups[g]) {
        Outcome& outcome = outcomes[j];
        try {
          outcome.converted =
              CollectPicture(table, result.Pictures[j], image, outcome.log, convert);
        } catch (...) {
          outcome.error = std::current_exception();
        }
        {
          const std::lock_guard lock(mutex);
          outcome.done = true;
        }
        finished.notify_all();
      }
    }
  };
  std::vector<std::jthread> workers;
  // Joined before anything they use is gone, also when the log throws.
  struct StopOnExit {
    std::atomic<bool>& stop;
    std::vector<std::jthread>& workers;
    ~StopOnExit() {
      stop = true;
      workers.clear();
    }
  } stopOnExit{stop, workers};
  for (size_t t = 0; t < workerCount; ++t) workers.emplace_back(work);

  for (Outcome& outcome : outcomes) {
    {
      std::unique_lock lock(mutex);
      finished.wait(lock, [&] { return outcome.done; });
    }
    outcome.log.PassOn(log);
    if (outcome.error) std::rethrow_exception(outcome.error);
    if (outcome.converted) ++result.Converted;
  }
  return result;
}
