#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QApplication>

namespace {

// One QApplication for the whole test executable, created before the first test.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "setup_tests";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance() == nullptr) app_ = new QApplication(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Setup"));
  }

 private:
  QApplication* app_ = nullptr;
};

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

MessageBoxRecorder::MessageBoxRecorder(int answer) : FAnswer(answer) {
  Application().SetMessageBoxHook([this](const QString& text, const QString& caption, unsigned flags) {
    FBoxes.push_back({text, caption, flags});
    return FAnswer;
  });
}

MessageBoxRecorder::~MessageBoxRecorder() { Application().SetMessageBoxHook({}); }

void Settle() {
  for (int i = 0; i < 5; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
}
