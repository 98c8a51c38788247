#include "player/show_player.h"

#include <algorithm>

#include "player/command_runner.h"

namespace {

// Work (about bytes touched) between snapshots: two full screens, so a frame replays little
// and the snapshots of a long show stay within kSnapshotLimit.
constexpr size_t kSnapshotSpacing = size_t{2} * Screen::kWidth * Screen::kHeight;
// Snapshots are taken only at multiples of this many records (see RunTo).
constexpr size_t kSnapshotBlock = 256;
// When there are this many snapshots, or they hold more than the memory budget plus
// kSnapshotExtraBytes, every other one is dropped and the spacing doubled.
constexpr size_t kSnapshotLimit = 256;
constexpr size_t kSnapshotExtraBytes = size_t{64} << 20;

}  // namespace

ShowPlayer::ShowPlayer(std::vector<uint8_t> vnl, std::unique_ptr<PictureSource> pictures)
    : ShowPlayer(std::move(vnl), std::move(pictures), Options{}) {}

ShowPlayer::ShowPlayer(std::vector<uint8_t> vnl, std::unique_ptr<PictureSource> pictures,
                       Options options)
    : pictures_(std::move(pictures)),
      options_(std::move(options)),
      font_(options_.fontPath),
      current_(options_.memoryBudget),
      snapshotSpacing_(kSnapshotSpacing) {
  VnlFile file = ReadVnl(vnl);
  std::vector<VnlRecord> data;
  for (VnlRecord& record : file.records) {
    if (record.block != 1) continue;
    CheckRecord(record);
    data.push_back(std::move(record));
  }
  data.pop_back();  // the end record
  size_t lastStart = 0;
  for (size_t i = 0; i < data.size(); ++i) {
    if (data[i].opcode == player_opcode::kStart) lastStart = i + 1;
  }
  for (size_t i = 0; i < lastStart; ++i) {
    RunRecord(data[i], current_, font_, *pictures_);
  }
  timed_.assign(std::make_move_iterator(data.begin() + std::ptrdiff_t(lastStart)),
                std::make_move_iterator(data.end()));
  snapshots_.push_back({0, current_});
  overwrittenAt_ = FindOverwrittenDrawing(timed_, current_);
}

ShowPlayer::~ShowPlayer() = default;

int64_t ShowPlayer::LastTick() const { return timed_.empty() ? 0 : timed_.back().tick; }

void ShowPlayer::TakeSnapshot() {
  costSinceSnapshot_ = 0;
  snapshots_.push_back({position_, current_});
  if (snapshots_.size() >= kSnapshotLimit) ThinSnapshots();
  // What the snapshots hold grows only by what the current state copied away from them;
  // measure it exactly only when that could have passed the limit.
  if (current_.CopiedBytes() - copiedAtCheck_ < kSnapshotExtraBytes / 4) return;
  copiedAtCheck_ = current_.CopiedBytes();
  while (snapshots_.size() > 2 && SnapshotBytes() > options_.memoryBudget + kSnapshotExtraBytes) {
    ThinSnapshots();
  }
}

void ShowPlayer::ThinSnapshots() {
  // Keep snapshots 0, 2, 4, ...
  size_t kept = 0;
  for (size_t i = 0; i < snapshots_.size(); i += 2) snapshots_[kept++] = std::move(snapshots_[i]);
  snapshots_.erase(snapshots_.begin() + std::ptrdiff_t(kept), snapshots_.end());
  snapshotSpacing_ *= 2;
}

size_t ShowPlayer::SnapshotBytes() const {
  std::unordered_set<const void*> seen;
  size_t bytes = 0;
  for (const Snapshot& snapshot : snapshots_) bytes += snapshot.state.CountNewBytes(seen);
  return bytes;
}

void ShowPlayer::RunTo(size_t position) {
  // The latest snapshot at or before the position, unless the current state is nearer.
  auto after = std::upper_bound(snapshots_.begin(), snapshots_.end(), position,
                                [](size_t p, const Snapshot& s) { return p < s.position; });
  const Snapshot& nearest = *(after - 1);
  if (position_ > position || nearest.position > position_) {
    current_ = nearest.state;
    position_ = nearest.position;
    costSinceSnapshot_ = 0;
  }
  while (position_ < position) {
    // Drawing hidden by a later fill is skipped only when the fill comes before both the target
    // and the next block boundary, so that the state at every boundary is whole and may become
    // a snapshot.
    const size_t boundary =
        options_.keepSnapshots ? (position_ / kSnapshotBlock + 1) * kSnapshotBlock : timed_.size();
    const size_t hiddenBy = overwrittenAt_[position_];
    if (hiddenBy >= std::min(position, boundary)) {
      costSinceSnapshot_ += RunRecord(timed_[position_], current_, font_, *pictures_);
    }
    ++position_;
    if (options_.keepSnapshots && position_ % kSnapshotBlock == 0 &&
        costSinceSnapshot_ >= snapshotSpacing_ && position_ > snapshots_.back().position) {
      TakeSnapshot();
    }
  }
}

const Screen& ShowPlayer::ScreenAt(int64_t tick) {
  int64_t position = -1;
  if (tick >= 0) {
    auto end = std::upper_bound(timed_.begin(), timed_.end(), tick,
                                [](int64_t t, const VnlRecord& r) { return t < int64_t(r.tick); });
    position = end - timed_.begin();
  }
  if (position == screenPosition_) return screen_;
  if (position < 0) {
    screen_ = Screen{};
  } else {
    RunTo(size_t(position));
    current_.Compose(screen_);
  }
  screenPosition_ = position;
  return screen_;
}
