#pragma once

#include <QString>

// The timing settings kept between runs, in an INI file: the reaction delay, the channel
// taps snap to and the playback speed. A missing or unreadable file, or a value out of range,
// gives the default. Each change is written at once (QSettings replaces the file whole).
// Without a file (the default constructor) the settings live only as long as the object.
class TimingSettings {
 public:
  TimingSettings() = default;
  explicit TimingSettings(QString path);

  // $XDG_CONFIG_HOME/varnel-wrd-maker/settings.ini (~/.config when the variable is unset).
  static QString DefaultPath();

  int ReactionDelayMs() const { return delay_ms_; }  // -250 .. 1000, default 0
  void SetReactionDelayMs(int ms);
  // 1 .. 16, kSnapSyllables (the song's syllables), or 0: no snapping (default).
  int SnapChannel() const { return snap_channel_; }
  void SetSnapChannel(int channel);
  int Speed() const { return speed_; }  // 25, 50, 75 or 100 (default)
  void SetSpeed(int percent);

  static constexpr int kSnapSyllables = 17;
  static constexpr int kMinDelayMs = -250;
  static constexpr int kMaxDelayMs = 1000;

 private:
  void Write(const char* key, int value) const;

  QString path_;
  int delay_ms_ = 0;
  int snap_channel_ = 0;
  int speed_ = 100;
};
