#include <gtest/gtest.h>

#include <QPaintEvent>
#include <QTest>
#include <QWidget>
#include <memory>

#include "platform/application.h"
#include "support/test_support.h"

namespace {

// A main form that counts its paints and, once, asks for one more repaint from inside its
// first paint, the way a control that moves itself while painting does.
class TCountingForm : public QWidget {
 public:
  int paints = 0;
  bool repaintFromFirstPaint = false;

 protected:
  void paintEvent(QPaintEvent*) override {
    ++paints;
    if (paints == 1 && repaintFromFirstPaint) update();
  }
};

// Runs the loop until the idle handler has run once; returns the paints seen by then, or -1.
int PaintsWhenIdle(TCountingForm* form) {
  int seen = -1;
  Application().SetOnIdle([&](QObject*, bool& done) {
    if (seen < 0) seen = form != nullptr ? form->paints : 0;
    done = true;
  });
  (void)QTest::qWaitFor([&] { return seen >= 0; }, 5000);
  Application().SetOnIdle({});
  return seen;
}

struct TFormScope {
  std::unique_ptr<TCountingForm> form = std::make_unique<TCountingForm>();
  TFormScope() { Application().SetMainForm(form.get()); }
  ~TFormScope() { Application().SetMainForm(nullptr); }
};

TEST(IdleEvent, ComesAfterTheShownMainFormsFirstPaintAndTheRepaintItAskedFor) {
  TFormScope scope;
  scope.form->repaintFromFirstPaint = true;
  scope.form->resize(200, 100);
  scope.form->show();
  EXPECT_EQ(PaintsWhenIdle(scope.form.get()), 2);
}

TEST(IdleEvent, RunsWithAHiddenMainFormOrNone) {
  {
    TFormScope scope;
    EXPECT_EQ(PaintsWhenIdle(scope.form.get()), 0);
  }
  EXPECT_EQ(PaintsWhenIdle(nullptr), 0);
}

TEST(IdleEvent, AMainFormClosedBeforeItsFirstPaintDoesNotHoldTheHandlerBack) {
  auto scope = std::make_unique<TFormScope>();
  scope->form->show();
  bool ran = false;
  Application().SetOnIdle([&](QObject*, bool& done) {
    ran = true;
    done = true;
  });
  scope.reset();  // the form goes before the loop runs
  EXPECT_TRUE(QTest::qWaitFor([&] { return ran; }, 5000));
  Application().SetOnIdle({});
}

}  // namespace
