#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <stdexcept>

#include "app/application.h"
#include "recording_dialogs.h"

namespace {

// Routes the program's error box to recording dialogs for one test.
class ApplicationTest : public testing::Test {
 protected:
  ApplicationTest() : app_(static_cast<Application*>(QCoreApplication::instance())) {
    app_->SetDialogs(&dialogs_);
  }
  ~ApplicationTest() override { app_->SetDialogs(nullptr); }

  void Click(QPushButton& button) {
    const QPointF at(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, at, button.mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, button.mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&button, &press);
    QCoreApplication::sendEvent(&button, &release);
  }

  Application* app_;
  RecordingDialogs dialogs_;
};

}  // namespace

TEST_F(ApplicationTest, ExceptionInAClickHandlerBecomesOneErrorBox) {
  QPushButton button;
  button.resize(40, 20);
  int clicks = 0;
  QObject::connect(&button, &QPushButton::clicked, [&] {
    ++clicks;
    throw std::runtime_error("ファイルを開けません");
  });
  Click(button);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(dialogs_.errors, QStringList{QStringLiteral("ファイルを開けません")});
  // The program carries on: the next click runs the handler again.
  Click(button);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(dialogs_.errors.size(), 2);
}

// Something that is no standard exception is still reported.
TEST_F(ApplicationTest, ExceptionInAQueuedCallBecomesOneErrorBox) {
  QObject target;
  QMetaObject::invokeMethod(
      &target, [] { throw std::runtime_error("queued"); }, Qt::QueuedConnection);
  QMetaObject::invokeMethod(
      &target, [] { throw 42; }, Qt::QueuedConnection);
  QCoreApplication::processEvents();
  ASSERT_EQ(dialogs_.errors.size(), 2);
  EXPECT_EQ(dialogs_.errors[0], QStringLiteral("queued"));
  EXPECT_FALSE(dialogs_.errors[1].isEmpty());
}

TEST_F(ApplicationTest, ExceptionInATimerBecomesOneErrorBox) {
  bool fired = false;
  QTimer::singleShot(0, [&] {
    fired = true;
    throw std::logic_error("timer");
  });
  for (int round = 0; round < 100 && !fired; ++round) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  ASSERT_TRUE(fired);
  EXPECT_EQ(dialogs_.errors, QStringList{QStringLiteral("timer")});
}

TEST_F(ApplicationTest, ReportErrorGoesToTheErrorBoxOfTheNamedApplication) {
  app_->ReportError(QStringLiteral("reported"));
  EXPECT_EQ(dialogs_.errors, QStringList{QStringLiteral("reported")});
  EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Varnel WRD Maker"));
}
