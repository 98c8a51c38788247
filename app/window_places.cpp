#include "app/window_places.h"

#include <QEvent>
#include <QRect>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <optional>

#include "show/show_window.h"

namespace {

QString SettingsKey(const QString& key) { return QStringLiteral("Windows/") + key; }

}  // namespace

WindowPlaces::WindowPlaces(QWidget& owner, QObject* parent) : QObject(parent), owner_(owner) {}

void WindowPlaces::Track(QWidget& window, const QString& key) {
  keys_[&window] = key;
  window.installEventFilter(this);
  connect(&window, &QObject::destroyed, this, [this, &window] { keys_.erase(&window); });
}

bool WindowPlaces::eventFilter(QObject* watched, QEvent* event) {
  const auto key = keys_.find(watched);
  if (key != keys_.end() && watched->isWidgetType()) {
    auto& window = static_cast<QWidget&>(*watched);
    if (event->type() == QEvent::Show && !window.property("vwrd_placed").toBool()) {
      window.setProperty("vwrd_placed", true);
      Place(window, key->second);
    } else if (event->type() == QEvent::Hide) {
      Keep(window, key->second);
    }
  }
  return QObject::eventFilter(watched, event);
}

void WindowPlaces::Place(QWidget& window, const QString& key) {
  QRect kept;
  if (!path_.isEmpty()) {
    kept = QSettings(path_, QSettings::IniFormat).value(SettingsKey(key)).toRect();
  } else if (const auto found = kept_.find(key); found != kept_.end()) {
    kept = found->second;
  }
  if (kept.isValid()) {
    window.resize(kept.size());
    window.move(kept.topLeft());
    return;
  }
  const QScreen* screen = owner_.screen();
  if (screen == nullptr) return;
  const std::optional<QPoint> at = ShowWindow::BesideOwner(
      owner_.frameGeometry(), window.frameGeometry().size(), screen->availableGeometry());
  if (at) window.move(*at);
}

void WindowPlaces::Keep(const QWidget& window, const QString& key) {
  const QRect place(window.pos(), window.size());
  if (path_.isEmpty()) {
    kept_[key] = place;
    return;
  }
  QSettings settings(path_, QSettings::IniFormat);
  settings.setValue(SettingsKey(key), place);
}
