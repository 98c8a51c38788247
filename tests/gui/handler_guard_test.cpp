// A handler's exception ends in the error box, in the program's language.
#include "app/handler_guard.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "support/scripted_dialogs.h"

namespace {

TEST(HandlerGuard, AnExceptionGoesToTheErrorBoxWithItsMessage) {
  struct Row {
    std::function<void()> handler;
    QString shown;
  };
  const Row rows[] = {
      {[] { throw std::runtime_error("読めません"); }, QStringLiteral("読めません")},
      {[] { throw 42; }, QStringLiteral("不明なエラー")},
  };
  for (const Row& row : rows) {
    ScriptedDialogs dialogs;
    RunHandler(dialogs, row.handler);
    ASSERT_EQ(dialogs.Shown("Error").size(), 1u);
    EXPECT_EQ(dialogs.Shown("Error")[0].text, row.shown);
  }
}

}  // namespace
