// The main window's controls as its form describes them: name, kind, place, text and hint.
#include <QAbstractButton>
#include <QFrame>
#include <QShortcut>

#include "main_window_fixture.h"

namespace {

struct ControlRow {
  const char* name;
  const char* kind;
  QRect geometry;  // for labels only the left and top count: they are as wide as their text
  const char* text;
  const char* hint;
};

// The rows after Panel1 are the controls on it; their positions are relative to it.
const ControlRow kControls[] = {
    {"Open", "QPushButton", {8, 8, 121, 25}, "MIDIファイルを開く", ""},
    {"Save", "QPushButton", {128, 8, 75, 25}, "保存", ""},
    {"Make", "QPushButton", {128, 32, 75, 25}, "VWRD作成", ""},
    {"Label1", "QLabel", {224, 16, 0, 0}, "時間", ""},
    {"TimeBar", "QScrollBar", {256, 16, 273, 12}, "", "MIDIファイルのバー"},
    {"Button1", "QPushButton", {536, 8, 57, 25}, "頭出し", ""},
    {"Play", "QPushButton", {600, 8, 75, 25}, "再生", ""},
    {"Test", "QPushButton", {600, 32, 75, 25}, "テスト表示", ""},
    {"Label21", "QLabel", {256, 40, 0, 0}, "タイム", ""},
    {"Counter", "QLabel", {312, 40, 0, 0}, "Counter", ""},
    {"Label2", "QLabel", {8, 40, 0, 0}, "イベントリスト", ""},
    {"EventList", "QListWidget", {8, 64, 233, 313}, "", "イベントです"},
    {"Add", "QPushButton", {8, 384, 161, 25}, "現在時間に新規イベント追加", ""},
    {"Delete", "QPushButton", {168, 384, 75, 25}, "削除", "指定したイベントを削除します。"},
    {"Label6", "QLabel", {352, 392, 316, 12}, "Varnel WRD Maker ver.1.1", ""},
    {"Panel1", "QFrame", {248, 64, 425, 321}, "", ""},
    {"Label5", "QLabel", {8, 8, 0, 0}, "イベント名", ""},
    {"Mark", "QLineEdit", {64, 8, 353, 20}, "", "イベントの目印となります"},
    {"Label20", "QLabel", {8, 32, 0, 0}, "タイム", ""},
    {"Count", "QLineEdit", {64, 32, 57, 20}, "", "このイベントを実行する時間"},
    {"TimeBar2", "QScrollBar", {128, 32, 177, 17}, "", "このイベントを実行する時間"},
    {"Time", "QPushButton", {312, 32, 105, 25}, "現在時間に設定", ""},
    {"Label4", "QLabel", {8, 56, 0, 0}, "画像 (BMP 256色のみ)", ""},
    {"Picture",
     "QComboBox",
     {8, 72, 329, 20},
     "",
     "表示する画像のファイル名 256色のBMP形式のみ指定可能"},
    {"PictureButton", "QPushButton", {344, 72, 73, 25}, "参照", ""},
    {"Naraberu", "QCheckBox", {56, 96, 97, 17}, "並べて表示", ""},
    {"Label7", "QLabel", {161, 96, 0, 0}, "効果", ""},
    {"Effect", "QComboBox", {192, 96, 145, 20}, "", "画面切り替え時の特殊効果を指定"},
    {"Preview",
     "QPushButton",
     {344, 96, 73, 25},
     "プレビュー",
     "実際の表示を燃した画面を出します。"},
    {"Label3", "QLabel", {8, 128, 0, 0}, "歌詞", ""},
    {"Lyrics", "QPlainTextEdit", {8, 152, 409, 121}, "", ""},
    {"Panel2", "QFrame", {296, 128, 41, 25}, "", ""},
    {"Color", "QPushButton", {344, 128, 73, 25}, "文字色設定", "かしの色を指定します。"},
    {"Label8", "QLabel", {8, 284, 0, 0}, "表示位置 (", ""},
    {"X1", "QLineEdit", {72, 280, 33, 20}, "", "歌詞の表示位置です。"},
    {"Label9", "QLabel", {108, 284, 0, 0}, ",", ""},
    {"Y1", "QLineEdit", {120, 280, 33, 20}, "", "歌詞の表示位置です。"},
    {"Label10", "QLabel", {160, 284, 0, 0}, ") - (", ""},
    {"X2", "QLineEdit", {192, 280, 33, 20}, "", "歌詞の表示位置です。"},
    {"Label11", "QLabel", {229, 284, 0, 0}, ",", ""},
    {"Y2", "QLineEdit", {240, 280, 33, 20}, "", "歌詞の表示位置です。"},
    {"Label12", "QLabel", {276, 284, 0, 0}, ")", ""},
    {"Align", "QComboBox", {304, 280, 113, 20}, "", "歌詞の横方向のそろえ方"},
};

QString TextOf(QWidget* widget) {
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
  if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) return memo->toPlainText();
  if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->currentText();
  return {};
}

using FormLayoutTest = MainWindowTest;

TEST_F(FormLayoutTest, EveryControlHasItsKindParentPlaceTextAndHint) {
  QWidget* parent = form.get();
  for (const ControlRow& row : kControls) {
    SCOPED_TRACE(row.name);
    QWidget* widget = form->findChild<QWidget*>(QString::fromLatin1(row.name));
    ASSERT_NE(widget, nullptr);
    EXPECT_STREQ(widget->metaObject()->className(), row.kind);
    EXPECT_EQ(widget->parentWidget(), parent);
    if (std::string(row.name) == "Panel1") parent = widget;
    if (row.geometry.width() == 0) {
      EXPECT_EQ(widget->pos(), row.geometry.topLeft());
      EXPECT_GT(widget->width(), 0);
    } else {
      EXPECT_EQ(widget->geometry(), row.geometry);
    }
    EXPECT_EQ(TextOf(widget), QString::fromUtf8(row.text));
    EXPECT_EQ(widget->toolTip(), QString::fromUtf8(row.hint));
  }
}

TEST_F(FormLayoutTest, WindowIsFixedAt684By414WithItsCaptionAndFont) {
  EXPECT_EQ(form->size(), QSize(684, 414));
  EXPECT_EQ(form->minimumSize(), QSize(684, 414));
  EXPECT_EQ(form->maximumSize(), QSize(684, 414));
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Varnel WRD Maker"));
  EXPECT_EQ(form->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
  EXPECT_EQ(form->font().pixelSize(), 12);
  EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(form->windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST_F(FormLayoutTest, ControlsHaveTheirSettingsAndShowAnEmptyDocument) {
  EXPECT_FALSE(Button("Test")->isHidden());
  EXPECT_FALSE(Edit("Count")->isReadOnly());  // a time can be typed
  EXPECT_TRUE(Combo("Picture")->isEditable());
  EXPECT_FALSE(Combo("Effect")->isEditable());
  EXPECT_FALSE(Combo("Align")->isEditable());
  EXPECT_EQ(List()->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(Control<QPlainTextEdit>("Lyrics")->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  for (const char* name : {"TimeBar", "TimeBar2"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Bar(name)->orientation(), Qt::Horizontal);
    EXPECT_EQ(Bar(name)->minimum(), 0);
    EXPECT_EQ(Bar(name)->maximum(), 100);
    EXPECT_EQ(Bar(name)->singleStep(), 1);
    EXPECT_EQ(Bar(name)->pageStep(), 1);
  }
  QTimer* timer = form->findChild<QTimer*>("Timer1");
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->interval(), 300);
  // It runs from construction (the fixture stops it).
  EXPECT_TRUE(TForm1(player, dialogs).findChild<QTimer*>("Timer1")->isActive());
  // A fresh window shows an empty document.
  EXPECT_EQ(List()->count(), 0);
  EXPECT_TRUE(Control<QPlainTextEdit>("Lyrics")->toPlainText().isEmpty());
  EXPECT_EQ(Combo("Effect")->currentIndex(), -1);
  EXPECT_EQ(Combo("Align")->currentIndex(), -1);
  EXPECT_EQ(Combo("Effect")->count(), 3);
  EXPECT_EQ(Combo("Effect")->itemText(1), QStringLiteral("フェードイン／アウト(白)"));
  EXPECT_EQ(Combo("Effect")->itemText(2), QStringLiteral("フェードイン／アウト(黒)"));
  EXPECT_EQ(Combo("Align")->itemText(0), QStringLiteral("左詰め"));
  EXPECT_EQ(Combo("Align")->itemText(1), QStringLiteral("右詰め"));
  EXPECT_EQ(Combo("Align")->itemText(2), QStringLiteral("中央寄せ"));
  EXPECT_EQ(CounterText(), QStringLiteral("Counter"));
  EXPECT_EQ(form->Selection(), -1);
  EXPECT_EQ(Doc().EventCount, 0);
  EXPECT_FALSE(form->Modified());
}

TEST_F(FormLayoutTest, KeyboardShortcutsAreThere) {
  QStringList keys;
  for (QShortcut* shortcut : form->findChildren<QShortcut*>()) {
    keys << shortcut->key().toString(QKeySequence::PortableText);
  }
  keys.sort();
  EXPECT_EQ(keys,
            (QStringList{"Alt+Left", "Alt+Right", "Ctrl+Down", "Ctrl+K", "Ctrl+Left", "Ctrl+Right",
                         "Ctrl+S", "Ctrl+Shift+Left", "Ctrl+Shift+Right", "Ctrl+T", "Ctrl+Up",
                         "Esc", "F7", "F8", "Home", "Ins", "L", "Shift+F8", "Space"}));
}

TEST_F(FormLayoutTest, CtrlSSavesTheProject) {
  form->OpenMidiFile(MakeSong("song.mid", 10));
  Edit("Mark")->setText("changed");
  for (QShortcut* shortcut : form->findChildren<QShortcut*>()) {
    if (shortcut->key() == QKeySequence(Qt::CTRL | Qt::Key_S)) emit shortcut->activated();
  }
  EXPECT_FALSE(form->Modified());
  EXPECT_TRUE(QFile::exists(dir.filePath("song.vwm")));
}

}  // namespace
