// This product lists no cards: a whole run of its page never loads the card driver, even
// with a driver library where the loader would find it.

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <memory>

#include "app/main_form.h"
#include "driver/kordrv.h"
#include "fakes/driver_load_log.h"
#include "platform/application.h"
#include "setupctrls/board_highlight.h"
#include "setupctrls/setup_supporter.h"
#include "support/test_support.h"

namespace {

// Runs a real event loop, so that the application goes idle, until the condition holds.
bool RunUntil(const std::function<bool()>& condition, int timeoutMs = 10000) {
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (condition()) loop.quit();
  });
  QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
  poll.start(10);
  loop.exec();
  return condition();
}

TEST(ProductPageDriver, AWholeRunNeverLoadsTheDriver) {
  TDriverLoadLog log;
  MessageBoxRecorder boxes;
  {
    auto form = std::make_unique<TMainForm>();
    Application().SetMainForm(form.get());
    form->show();
    // The supporter has built its windows and the help window has opened by itself.
    ASSERT_TRUE(RunUntil([&] { return form->SetSup->HelpForm() && form->SetSup->HelpForm()->isVisible(); }));
    form->ModeHLT->CMMouseEnter(0);
    form->Exit2->trigger();
    Application().SetMainForm(nullptr);
  }
  EXPECT_EQ(log.Loads(), 0);
  EXPECT_FALSE(DriverLoaded);
  EXPECT_TRUE(boxes.Boxes().empty());

  // The watch can see a load: the same library is found when something asks for it.
  LoadDriver();
  EXPECT_EQ(log.Loads(), 1);
}

}  // namespace
