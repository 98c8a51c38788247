#include "app/timing_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <string>

#include "app/timing_settings.h"
#include "song/fluid_synth_output.h"

namespace {

constexpr int64_t kBeatMicros = 500000;   // 120 BPM: a steady, easy beat
constexpr int64_t kLeadMicros = 1000000;  // time to get ready before the first click
constexpr uint8_t kDrums = 0x09;          // General MIDI percussion channel
constexpr uint8_t kWoodBlock = 76;

}  // namespace

TimingDialog::TimingDialog(TimingSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
  setWindowTitle(QStringLiteral("タイミングの設定"));
  auto* form = new QFormLayout;
  delay_ = new QSpinBox(this);
  delay_->setObjectName(QStringLiteral("Delay"));
  delay_->setRange(TimingSettings::kMinDelayMs, TimingSettings::kMaxDelayMs);
  delay_->setSuffix(QStringLiteral(" ms"));
  delay_->setValue(settings.ReactionDelayMs());
  form->addRow(QStringLiteral("反応の遅れ"), delay_);
  snap_ = new QComboBox(this);
  snap_->setObjectName(QStringLiteral("Snap"));
  snap_->addItem(QStringLiteral("しない"));
  for (int channel = 1; channel <= 16; ++channel) {
    snap_->addItem(QStringLiteral("チャンネル %1").arg(channel));
  }
  snap_->addItem(QStringLiteral("歌詞"));  // index kSnapSyllables: the song's syllables
  snap_->setCurrentIndex(settings.SnapChannel());
  form->addRow(QStringLiteral("音符の頭に合わせる"), snap_);

  measure_ = new QPushButton(QStringLiteral("遅れを測る"), this);
  tap_ = new QPushButton(QStringLiteral("タップ"), this);
  tap_->setEnabled(false);
  beat_ = new QLabel(this);
  beat_->setAlignment(Qt::AlignCenter);
  beat_->setMinimumHeight(32);
  result_ = new QLabel(
      QStringLiteral("「遅れを測る」の後、8 回のクリックに合わせてキーかタップを押してください"),
      this);
  result_->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons_ = buttons;

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(measure_);
  layout->addWidget(tap_);
  layout->addWidget(beat_);
  layout->addWidget(result_);
  layout->addWidget(buttons);

  timer_ = new QTimer(this);
  timer_->setTimerType(Qt::PreciseTimer);
  timer_->setInterval(2);
  connect(timer_, &QTimer::timeout, this, &TimingDialog::Tick);
  connect(measure_, &QPushButton::clicked, this, &TimingDialog::StartCalibration);
  connect(tap_, &QPushButton::pressed, this, [this] {
    if (calibration_) calibration_->Tap(clock_.NowMicros());
  });
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    Save();
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

TimingDialog::~TimingDialog() {
  qApp->removeEventFilter(this);
  timer_->stop();
  if (sound_) sound_->SoundsOff();
}

bool TimingDialog::eventFilter(QObject* watched, QEvent* event) {
  // While measuring, any key but Escape is a tap, at the moment it is pressed, wherever the
  // focus is; its release presses no button either.
  const bool key_event = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
  if (calibration_ && key_event) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Escape) {
      if (event->type() == QEvent::KeyPress && !key->isAutoRepeat()) {
        calibration_->Tap(clock_.NowMicros());
      }
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TimingDialog::StartCalibration() {
  if (!sound_ && !sound_tried_) {
    // Once per dialog: loading the soundfont takes a moment, and a missing device stays missing.
    sound_tried_ = true;
    std::string problem;
    sound_ = FluidSynthOutput::Create({}, &problem);
    if (!sound_) result_->setText(QString::fromStdString(problem));  // the flashes still lead
  }
  calibration_.emplace(kBeatMicros);
  first_click_ = clock_.NowMicros() + kLeadMicros;
  sent_ = 0;
  measure_->setEnabled(false);
  buttons_->setEnabled(false);
  tap_->setEnabled(true);
  tap_->setFocus();
  // Keys reach the dialog's widgets through the application: each one is a tap.
  qApp->installEventFilter(this);
  timer_->start();
}

void TimingDialog::Tick() {
  const int64_t now = clock_.NowMicros();
  if (sent_ < Calibration::kClicks && now >= first_click_ + sent_ * kBeatMicros) {
    int64_t heard = now;
    if (sound_) {
      sound_->Channel(0x90 | kDrums, kWoodBlock, 127);
      heard += sound_->LatencyMicros();
    }
    calibration_->Click(heard);
    ++sent_;
    beat_->setText(QString(sent_, QChar(0x25CF)));  // one dot per click
  }
  if (sent_ == Calibration::kClicks && now >= first_click_ + sent_ * kBeatMicros) Finish();
}

void TimingDialog::Finish() {
  timer_->stop();
  if (sound_) sound_->NotesOff();
  const std::optional<int> delay = calibration_->DelayMs();
  calibration_.reset();
  qApp->removeEventFilter(this);
  measure_->setEnabled(true);
  buttons_->setEnabled(true);
  // The focus rests where a late tap changes nothing: the result is read before OK keeps it.
  delay_->setFocus();
  tap_->setEnabled(false);
  if (!delay) {
    result_->setText(QStringLiteral("タップが足りません。もう一度測ってください"));
    return;
  }
  delay_->setValue(*delay);
  result_->setText(QStringLiteral("遅れは %1 ms でした").arg(*delay));
}

void TimingDialog::Save() {
  settings_.SetReactionDelayMs(delay_->value());
  settings_.SetSnapChannel(snap_->currentIndex());
}
