#pragma once

#include <QProgressDialog>
#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "document/event_table.h"
#include "video/video_export.h"

class QTimer;

// "動画を書き出す": exports a document's video on a worker thread while the windows stay usable,
// showing the progress. Cancel stops the export (no file is left behind). When the export ends
// the dialog says where the video went or why it could not be made, and its button closes it
// (the dialog then deletes itself).
class VideoExportDialog : public QProgressDialog {
  Q_OBJECT

 public:
  // Starts exporting `table` (a copy of the document, owned by the export) to `path` (UTF-8).
  VideoExportDialog(std::unique_ptr<EventTable> table, std::string path, VideoOptions options,
                    QWidget* parent = nullptr);
  // Cancels a running export and waits for the worker to stop.
  ~VideoExportDialog() override;

  bool Running() const { return !done_; }
  // What the dialog says: the progress, or how the export ended.
  QString Text() const { return labelText(); }

 private:
  // Shows the worker's progress; when it has ended, shows the outcome.
  void Poll();
  void CancelClicked();
  void Close();

  std::unique_ptr<EventTable> table_;
  std::string path_;
  QTimer* timer_ = nullptr;
  std::atomic<int64_t> written_{0};
  std::atomic<int64_t> end_{0};
  std::atomic<bool> cancel_{false};
  std::atomic<bool> done_{false};
  std::string error_;  // written by the worker before done_
  bool cancelled_ = false;
  bool closing_ = false;
  std::thread worker_;  // last: it uses everything above
};
