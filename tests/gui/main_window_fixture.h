#pragma once

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <ostream>
#include <string>

#include "app/tform1.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_media_player.h"

// A main window with scripted dialogs and player, a temporary folder for its files, and its
// 300 ms timer stopped (tests tick it by hand).
class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    form = std::make_unique<TForm1>(player, dialogs);
    form->findChild<QTimer*>("Timer1")->stop();
    // Recovery copies go to the test's own folder, never to the user's.
    form->SetRecoveryFolder(dir.filePath("state").toStdString());
  }

  template <typename T>
  T* Control(const char* name) {
    T* control = form->findChild<T*>(QString::fromLatin1(name));
    if (control == nullptr) ADD_FAILURE() << "no control " << name;
    return control;
  }

  QLineEdit* Edit(const char* name) { return Control<QLineEdit>(name); }
  QPushButton* Button(const char* name) { return Control<QPushButton>(name); }
  QScrollBar* Bar(const char* name) { return Control<QScrollBar>(name); }
  QComboBox* Combo(const char* name) { return Control<QComboBox>(name); }
  QListWidget* List() { return Control<QListWidget>("EventList"); }
  QString CounterText() { return Control<QLabel>("Counter")->text(); }

  // A file in the temporary folder (UTF-8 path) with the given bytes.
  QString MakeFile(const QString& name, const QByteArray& bytes = {}) {
    const QString path = dir.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }

  // A song the scripted player knows, as a file in the temporary folder.
  QString MakeSong(const QString& name, int32_t length) {
    const QString path = MakeFile(name, "MThd");
    player.lengths[path.toStdString()] = length;
    return path;
  }

  // The song "song.mid" of `length` sixteenths, opened.
  QString OpenSong(int32_t length = 640) {
    song = MakeSong("song.mid", length);
    form->OpenMidiFile(song);
    return song;
  }

  // The song at `position` sixteenths, as the 300 ms timer finds it.
  void PollAt(int32_t position) {
    player.position = position;
    form->Timer1Timer();
  }

  // The bytes of a file in the temporary folder; empty when it is missing.
  QByteArray FileBytes(const QString& name) {
    QFile file(dir.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  // A close request the way the title bar sends it; true when the window accepted it.
  bool RequestClose() {
    QCloseEvent event;
    QCoreApplication::sendEvent(form.get(), &event);
    return event.isAccepted();
  }

  QStringList ListLines() {
    QStringList lines;
    for (int i = 0; i < List()->count(); ++i) lines << List()->item(i)->text();
    return lines;
  }

  // A click on a line of the event list, as the user makes it.
  void ClickLine(int row) {
    List()->setCurrentRow(row);
    form->EventListClick();
  }

  const EventTable& Doc() { return form->Document(); }
  std::string Mark(int slot) { return Doc().events[slot].Mark; }

  QTemporaryDir dir;
  QString song;  // set by OpenSong
  ScriptedDialogs dialogs;
  ScriptedMediaPlayer player;
  std::unique_ptr<TForm1> form;
};

// A mouse event at `at` (the widget's own coordinates), as the platform delivers it: the
// button held from the press until the release.
inline void SendMouse(QWidget* widget, QEvent::Type type, QPointF at,
                      Qt::MouseButton button = Qt::LeftButton) {
  QMouseEvent event(type, at, widget->mapToGlobal(at), button,
                    type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &event);
}

// A press and a release at the widget's centre.
inline void ClickAtCentre(QWidget* widget) {
  const QPointF centre(widget->width() / 2.0, widget->height() / 2.0);
  SendMouse(widget, QEvent::MouseButtonPress, centre);
  SendMouse(widget, QEvent::MouseButtonRelease, centre);
}

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

// The UTF-8 text of a CP932 string (for readable expectations).
std::string Utf8(const std::string& cp932);
// CP932 bytes of a UTF-8 text.
std::string Sjis(const std::string& utf8);
