#pragma once

#include <QDialog>
#include <memory>
#include <optional>

#include "song/calibration.h"
#include "song/time_source.h"

class FluidSynthOutput;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimer;
class TimingSettings;

// "タイミングの設定": the reaction delay (typed in, or measured by tapping along with eight
// clicks), and the channel whose note starts taps snap to. OK keeps them in the settings.
// While measuring, every key (but Escape) is a tap and no button takes it; the measured delay
// is shown in the delay field and kept only by OK.
class TimingDialog : public QDialog {
  Q_OBJECT

 public:
  TimingDialog(TimingSettings& settings, QWidget* parent = nullptr);
  ~TimingDialog() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void StartCalibration();
  void Tick();
  void Finish();
  void Save();

  TimingSettings& settings_;
  QSpinBox* delay_ = nullptr;
  QComboBox* snap_ = nullptr;
  QPushButton* measure_ = nullptr;
  QPushButton* tap_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
  QLabel* beat_ = nullptr;
  QLabel* result_ = nullptr;
  QTimer* timer_ = nullptr;

  SteadyTimeSource clock_;
  std::unique_ptr<FluidSynthOutput> sound_;
  bool sound_tried_ = false;
  std::optional<Calibration> calibration_;
  int64_t first_click_ = 0;
  int sent_ = 0;
};
