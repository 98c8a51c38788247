#include "show/video_export_dialog.h"

#include <QTimer>
#include <algorithm>
#include <exception>

#include "video/show_video.h"
#include "video/video_error.h"

namespace {

constexpr int kPollMillis = 100;
constexpr int kSteps = 1000;

QString Seconds(int64_t micros) { return QString::number(micros / 1e6, 'f', 1); }

}  // namespace

VideoExportDialog::VideoExportDialog(std::unique_ptr<EventTable> table, std::string path,
                                     VideoOptions options, QWidget* parent)
    : QProgressDialog(parent), table_(std::move(table)), path_(std::move(path)) {
  setWindowTitle(QStringLiteral("動画を書き出す"));
  setWindowModality(Qt::NonModal);
  setAttribute(Qt::WA_DeleteOnClose);
  setAutoClose(false);
  setAutoReset(false);
  setMinimumDuration(0);
  setRange(0, kSteps);
  setValue(0);
  setLabelText(QStringLiteral("動画を書き出しています..."));
  setCancelButtonText(QStringLiteral("キャンセル"));
  // The button cancels while the export runs and closes the dialog afterwards.
  disconnect(this, SIGNAL(canceled()), this, SLOT(cancel()));
  connect(this, &QProgressDialog::canceled, this, &VideoExportDialog::CancelClicked);
  timer_ = new QTimer(this);
  connect(timer_, &QTimer::timeout, this, &VideoExportDialog::Poll);
  timer_->start(kPollMillis);
  worker_ = std::thread([this, options] {
    try {
      ExportShowVideo(*table_, path_, options, [this](int64_t written, int64_t end) {
        written_ = written;
        end_ = end;
        return !cancel_;
      });
    } catch (const std::exception& error) {
      error_ = error.what();
    }
    done_ = true;
  });
}

VideoExportDialog::~VideoExportDialog() {
  cancel_ = true;
  if (worker_.joinable()) worker_.join();
}

void VideoExportDialog::CancelClicked() {
  if (!done_) {
    cancel_ = true;
    cancelled_ = true;
    setLabelText(QStringLiteral("取り消しています..."));
    return;
  }
  Close();
}

void VideoExportDialog::Close() {
  // Closing emits canceled() again; once is enough.
  if (closing_) return;
  closing_ = true;
  close();
}

void VideoExportDialog::Poll() {
  if (!done_) {
    if (cancelled_) return;
    const int64_t end = end_, written = written_;
    if (end > 0) setValue(static_cast<int>(std::min<int64_t>(kSteps, written * kSteps / end)));
    setLabelText(
        QStringLiteral("動画を書き出しています: %1 / %2 秒").arg(Seconds(written), Seconds(end)));
    return;
  }
  timer_->stop();
  worker_.join();
  worker_ = std::thread();
  if (cancelled_) {
    Close();
    return;
  }
  if (error_.empty()) {
    setValue(kSteps);
    setLabelText(QStringLiteral("書き出しました: %1").arg(QString::fromStdString(path_)));
  } else {
    setLabelText(QString::fromStdString(error_));
  }
  setCancelButtonText(QStringLiteral("閉じる"));
}
