#include "logwindow/tform3.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QPushButton>

#include "checks/problem_lines.h"
#include "ui_tform3.h"
#include "widgets/cp932_text.h"

namespace {

constexpr int kItemHeight = 12;
// The event (from 1) of a problem's line; none on other lines.
constexpr int kEventRole = Qt::UserRole;

}  // namespace

TForm3::TForm3(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::TForm3>()) {
  ui_->setupUi(this);
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  // Only the main window's closing ends the program.
  setAttribute(Qt::WA_QuitOnClose, false);
  QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
  font.setPixelSize(12);
  setFont(font);
  setMinimumSize(size());
  move(237, 209);
  connect(ui_->OK, &QPushButton::clicked, this, &TForm3::OKClick);
  connect(ui_->ListBox1, &QListWidget::itemDoubleClicked, this, &TForm3::ListBox1DblClick);
  FormCreate();
}

TForm3::~TForm3() = default;

QListWidget* TForm3::ListBox1() const { return ui_->ListBox1; }

QPushButton* TForm3::OK() const { return ui_->OK; }

void TForm3::FormCreate() { ui_->ListBox1->clear(); }

void TForm3::SetRun(Run run) {
  setWindowTitle(run == Run::kChecks ? QStringLiteral("チェック中") : QStringLiteral("メイク中"));
}

void TForm3::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The margins of the designed window: the list fills it, OK keeps to the lower right.
  ui_->ListBox1->setGeometry(8, 8, width() - 19, height() - 46);
  ui_->OK->move(width() - 92, height() - 31);
}

void TForm3::OKClick() { close(); }

void TForm3::BeginLog() {
  ui_->ListBox1->clear();
  ui_->OK->setEnabled(false);
  QCoreApplication::processEvents();
}

void TForm3::AddLogLine(const std::string& line) {
  auto* item = new QListWidgetItem(FromCp932(line));
  item->setSizeHint(
      QSize(ui_->ListBox1->fontMetrics().horizontalAdvance(item->text()) + 4, kItemHeight));
  ui_->ListBox1->addItem(item);
  // The user follows the run without scrolling, up to its last line.
  ui_->ListBox1->scrollToBottom();
  QCoreApplication::processEvents();
}

void TForm3::AddProblems(const std::vector<Problem>& problems, int moreErrors, int moreWarnings) {
  for (const Problem& problem : problems) {
    AddLogLine(ProblemLine(problem));
    if (problem.Event > 0) {
      ui_->ListBox1->item(ui_->ListBox1->count() - 1)->setData(kEventRole, problem.Event);
    }
  }
  AddLogLine(CountLine(CountErrors(problems) + moreErrors, CountWarnings(problems) + moreWarnings));
}

void TForm3::ListBox1DblClick(QListWidgetItem* item) {
  const int event = item != nullptr ? item->data(kEventRole).toInt() : 0;
  if (event > 0) emit ProblemChosen(event - 1);
}

void TForm3::EndLog() {
  ui_->OK->setEnabled(true);
  QCoreApplication::processEvents();
}
