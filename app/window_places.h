#pragma once

#include <QObject>
#include <QString>
#include <map>

class QWidget;

// Where the windows beside the main window open: beside it the first time (never over it), then
// where the user left them, at the size they had. The places are kept in the settings file's
// "Windows" group once UseSettingsFile names it; until then, for as long as the program runs.
class WindowPlaces : public QObject {
  Q_OBJECT

 public:
  WindowPlaces(QWidget& owner, QObject* parent);

  void UseSettingsFile(const QString& path) { path_ = path; }
  // Places `window` each time it is first shown, and keeps its place whenever it is hidden.
  void Track(QWidget& window, const QString& key);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Place(QWidget& window, const QString& key);
  void Keep(const QWidget& window, const QString& key);

  QWidget& owner_;
  QString path_;
  std::map<const QObject*, QString> keys_;
  std::map<QString, QRect> kept_;  // without a settings file
};
