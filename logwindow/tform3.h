#pragma once

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "checks/problem.h"
#include "make/build_log.h"

class QListWidget;
class QListWidgetItem;
class QPushButton;
namespace Ui {
class TForm3;
}

// The build log window: the progress lines of one run of "Make" or of the checks, and OK to
// dismiss it once the run is over. It is kept between runs; each run starts with an empty list.
// Every log operation lets pending window events run, so that the list repaints during the
// build, and keeps the last line in view. Long lines stay whole, with a horizontal scroll bar.
// Closing the window only hides it; lines still arrive in the hidden list. A double click on a
// problem's line asks to go to its event. The window can be resized: the list takes the room.
class TForm3 : public QWidget, public BuildLog {
  Q_OBJECT

 public:
  explicit TForm3(QWidget* parent = nullptr);
  ~TForm3() override;

  // Empties the list and disables OK.
  void BeginLog() override;
  // Appends the CP932 line as the last item (an empty line stays an empty item) and scrolls it
  // into view, without selecting it.
  void AddLogLine(const std::string& line) override;
  // Enables OK.
  void EndLog() override;

  // Appends a line per problem and the closing line that counts the errors and warnings: those
  // of the problems and `moreErrors` and `moreWarnings` of the lines before them.
  void AddProblems(const std::vector<Problem>& problems, int moreErrors = 0, int moreWarnings = 0);

  // The caption names the run: "メイク中" for Make, "チェック中" for the checks alone.
  enum class Run { kMake, kChecks };
  void SetRun(Run run);

  QListWidget* ListBox1() const;
  QPushButton* OK() const;

 public slots:
  void FormCreate();
  void OKClick();
  void ListBox1DblClick(QListWidgetItem* item);

 signals:
  // The user asked to go to the event (from 0) of a problem's line.
  void ProblemChosen(int event);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::unique_ptr<Ui::TForm3> ui_;
};
