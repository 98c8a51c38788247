#include "storyboard/storyboard_window.h"

#include <QFileDialog>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>

#include "files/atomic_file.h"
#include "showmodel/storyboard_model.h"
#include "storyboard/storyboard_view.h"
#include "wrdplayer/contact_sheet.h"
#include "wrdplayer/glyph_font.h"

StoryboardWindow::StoryboardWindow(std::shared_ptr<PictureCache> cache, QWidget* parent)
    : QWidget(parent, Qt::Window),
      model_(std::make_unique<StoryboardModel>(std::move(cache))),
      view_(new StoryboardView(*model_)),
      scroll_(new QScrollArea(this)),
      filling_(new QTimer(this)) {
  setWindowTitle(QStringLiteral("ストーリーボード"));
  scroll_->setWidget(view_);
  scroll_->setWidgetResizable(true);
  scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scroll_);
  resize(StoryboardView::WidthFor(4) + scroll_->verticalScrollBar()->sizeHint().width() + 4, 600);
  filling_->setInterval(0);
  connect(filling_, &QTimer::timeout, this, &StoryboardWindow::FillSome);
  view_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(view_, &QWidget::customContextMenuRequested, this, &StoryboardWindow::ShowContextMenu);
  connect(view_, &StoryboardView::EventClicked, this, &StoryboardWindow::EventSelected);
  connect(view_, &StoryboardView::EventDoubleClicked, this, &StoryboardWindow::ShowRequested);
  chooser_ = [this] {
    return QFileDialog::getSaveFileName(this, QStringLiteral("コンタクトシートを書き出す"),
                                        QString(), QStringLiteral("PNG画像 (*.png)"));
  };
}

StoryboardWindow::~StoryboardWindow() = default;

void StoryboardWindow::SetDocument(const EventTable& table) {
  if (!model_->Update(table)) return;
  view_->ModelChanged();
  fillFrom_ = 0;
  filling_->start();
}

void StoryboardWindow::FillSome() {
  // A few tiles a turn (each well under a millisecond), so that input is never kept waiting.
  constexpr int kTilesPerTurn = 4;
  int filled = 0;
  for (; fillFrom_ < model_->Count() && filled < kTilesPerTurn; ++fillFrom_) {
    if (!model_->IsStale(fillFrom_)) continue;
    model_->Tile(fillFrom_);
    ++filled;
  }
  if (fillFrom_ >= model_->Count()) filling_->stop();
}

void StoryboardWindow::SetSong(const Meter& meter, int64_t division) {
  model_->SetSong(meter, division);
  view_->update();
}

void StoryboardWindow::SetProblems(const std::vector<Problem>& problems) {
  model_->SetProblems(problems);
  view_->update();
}

void StoryboardWindow::SelectEvent(int event) {
  view_->SetSelected(event);
  const int index = model_->IndexOfEvent(event);
  if (index >= 0) {
    const QRect tile = view_->TileRect(index);
    scroll_->ensureVisible(tile.center().x(), tile.center().y(), tile.width() / 2 + 8,
                           tile.height() / 2 + 40);
  }
}

void StoryboardWindow::WriteSheet(const std::string& path, int columns) {
  GlyphFont font;
  const ContactSheet sheet = ComposeContactSheet(model_->SheetEntries(), columns, font);
  WriteFileAtomically(path, ContactSheetPng(sheet));
}

void StoryboardWindow::SetSheetPathChooser(std::function<QString()> chooser) {
  chooser_ = std::move(chooser);
}

void StoryboardWindow::WriteSheetAsked() {
  const QString path = chooser_();
  if (path.isEmpty()) return;
  try {
    WriteSheet(path.toStdString());
  } catch (const std::exception& error) {
    emit Failed(QString::fromStdString(error.what()));
  }
}

void StoryboardWindow::ShowContextMenu(const QPoint& at) {
  QMenu menu(this);
  menu.addAction(QStringLiteral("コンタクトシートを書き出す..."), this,
                 &StoryboardWindow::WriteSheetAsked);
  menu.exec(view_->mapToGlobal(at));
}
