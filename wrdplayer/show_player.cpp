#include "wrdplayer/show_player.h"

#include <algorithm>

#include "wrd/opcodes.h"
#include "wrdplayer/command_runner.h"

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

// Whether two records run the same command (wherever and whenever they stand).
bool SameCommand(const VnlRecordView& a, const VnlRecordView& b) {
  return a.opcode == b.opcode && std::ranges::equal(a.payload, b.payload);
}

}  // namespace

ShowPlayer::ShowPlayer(std::vector<uint8_t> vnl, std::unique_ptr<PictureSource> pictures)
    : ShowPlayer(std::move(vnl), std::move(pictures), Options{}) {}

ShowPlayer::ShowPlayer(std::vector<uint8_t> vnl, std::unique_ptr<PictureSource> pictures,
                       Options options)
    : ShowPlayer(std::move(vnl), std::move(pictures), std::move(options), nullptr) {}

ShowPlayer::ShowPlayer(std::vector<uint8_t> vnl, std::unique_ptr<PictureSource> pictures,
                       const ShowPlayer& previous)
    : ShowPlayer(std::move(vnl), std::move(pictures), previous.options_, &previous) {}

ShowPlayer::ShowPlayer(std::vector<uint8_t> vnl, std::unique_ptr<PictureSource> pictures,
                       Options options, const ShowPlayer* previous)
    : pictures_(std::move(pictures)),
      options_(std::move(options)),
      font_(previous != nullptr ? previous->font_ : std::make_shared<GlyphFont>(options_.fontPath)),
      current_(options_.memoryBudget),
      snapshotSpacing_(kSnapshotSpacing) {
  // The records point into the bytes, copying nothing: a long show has tens of thousands.
  vnl_ = std::move(vnl);
  records_ = ReadVnlRecords(vnl_);
  auto data = std::find_if(records_.begin(), records_.end(),
                           [](const VnlRecordView& record) { return record.block == 1; });
  const auto end = records_.end() - 1;  // the Data block's end record
  auto timed = data;
  for (auto record = data; record != end; ++record) {
    CheckRecord(*record);
    if (record->opcode == wrd_opcode::kStart) timed = record + 1;
  }
  untimed_ = std::span<const VnlRecordView>(data, timed);
  timed_ = std::span<const VnlRecordView>(timed, end);
  if (previous != nullptr &&
      std::equal(untimed_.begin(), untimed_.end(), previous->untimed_.begin(),
                 previous->untimed_.end(), SameCommand)) {
    TakeOver(*previous);
  } else {
    for (const VnlRecordView& record : untimed_) RunRecord(record, current_, *font_, *pictures_);
    snapshots_.push_back({0, current_});
  }
  overwrittenAt_ = FindOverwrittenDrawing(timed_, snapshots_.front().state);
}

void ShowPlayer::TakeOver(const ShowPlayer& previous) {
  // The state after the first n timed records depends on their commands alone, not on their
  // ticks: every state the previous player reached within the common records is this one's.
  const auto differs = std::mismatch(timed_.begin(), timed_.end(), previous.timed_.begin(),
                                     previous.timed_.end(), SameCommand);
  const size_t common = size_t(differs.first - timed_.begin());
  for (const Snapshot& snapshot : previous.snapshots_) {
    if (snapshot.position <= common) snapshots_.push_back(snapshot);
  }
  snapshotSpacing_ = previous.snapshotSpacing_;
  const bool currentNearer =
      previous.position_ <= common && previous.position_ > snapshots_.back().position;
  current_ = currentNearer ? previous.current_ : snapshots_.back().state;
  position_ = currentNearer ? previous.position_ : snapshots_.back().position;
  costSinceSnapshot_ = currentNearer ? previous.costSinceSnapshot_ : 0;
  copiedAtCheck_ = current_.CopiedBytes();
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
      costSinceSnapshot_ += RunRecord(timed_[position_], current_, *font_, *pictures_);
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
    auto end =
        std::upper_bound(timed_.begin(), timed_.end(), tick,
                         [](int64_t t, const VnlRecordView& r) { return t < int64_t(r.tick); });
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
