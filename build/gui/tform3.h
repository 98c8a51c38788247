#pragma once

#include <QWidget>
#include <memory>
#include <string>

#include "build/build_log.h"

class QListWidget;
class QPushButton;
namespace Ui {
class TForm3;
}

// The build log window: the progress lines of one run of "Make", and OK to dismiss it once
// the run is over. It is kept between runs; each run starts with an empty list. Every log
// operation lets pending window events run, so that the list repaints during the build.
// Closing the window only hides it; lines still arrive in the hidden list.
class TForm3 : public QWidget, public BuildLog {
  Q_OBJECT

 public:
  explicit TForm3(QWidget* parent = nullptr);
  ~TForm3() override;

  // Empties the list and disables OK.
  void BeginLog() override;
  // Appends the CP932 line as the last item (an empty line stays an empty item), without
  // selecting or scrolling.
  void AddLogLine(const std::string& line) override;
  // Enables OK.
  void EndLog() override;

  QListWidget* ListBox1() const;
  QPushButton* OK() const;

 public slots:
  void FormCreate();
  void OKClick();

 private:
  std::unique_ptr<Ui::TForm3> ui_;
};
