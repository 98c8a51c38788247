#include "app/timing_settings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>
#include <utility>

namespace {

const char kDelayKey[] = "timing/reaction_delay_ms";
const char kSnapKey[] = "timing/snap_channel";
const char kSpeedKey[] = "timing/speed_percent";

bool IsSpeed(int percent) {
  return percent == 25 || percent == 50 || percent == 75 || percent == 100;
}

// The stored value when it is a number that `valid` accepts, else `fallback`.
template <typename Valid>
int ReadInt(const QSettings& settings, const char* key, int fallback, Valid valid) {
  bool ok = false;
  const int value = settings.value(QString::fromLatin1(key)).toInt(&ok);
  return ok && valid(value) ? value : fallback;
}

}  // namespace

TimingSettings::TimingSettings(QString path) : path_(std::move(path)) {
  const QSettings settings(path_, QSettings::IniFormat);
  if (settings.status() != QSettings::NoError) return;  // damaged: the defaults
  delay_ms_ =
      ReadInt(settings, kDelayKey, 0, [](int v) { return v >= kMinDelayMs && v <= kMaxDelayMs; });
  snap_channel_ =
      ReadInt(settings, kSnapKey, 0, [](int v) { return v >= 0 && v <= kSnapSyllables; });
  speed_ = ReadInt(settings, kSpeedKey, 100, IsSpeed);
}

QString TimingSettings::DefaultPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/varnel-wrd-maker/settings.ini");
}

void TimingSettings::SetReactionDelayMs(int ms) {
  delay_ms_ = std::clamp(ms, kMinDelayMs, kMaxDelayMs);
  Write(kDelayKey, delay_ms_);
}

void TimingSettings::SetSnapChannel(int channel) {
  snap_channel_ = std::clamp(channel, 0, kSnapSyllables);
  Write(kSnapKey, snap_channel_);
}

void TimingSettings::SetSpeed(int percent) {
  if (!IsSpeed(percent)) return;
  speed_ = percent;
  Write(kSpeedKey, speed_);
}

void TimingSettings::Write(const char* key, int value) const {
  if (path_.isEmpty()) return;
  QSettings settings(path_, QSettings::IniFormat);
  settings.setValue(QString::fromLatin1(key), value);
  settings.sync();
}
