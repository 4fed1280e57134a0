#include "platform/application.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <functional>

#include "platform/events.h"

namespace {

// Paints come before the idle moment: a main window that is shown but not yet on the
// screen still has its first paint to do. This watch holds the idle event back until the
// window is exposed, and resumes it once the exposure (and its paint) is delivered.
class TExposeWatch : public QObject {
 public:
  TExposeWatch(QWindow* window, std::function<void()> resume) : QObject(window), FResume(std::move(resume)) {
    window->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
      watched->removeEventFilter(this);
      Watching() = nullptr;
      deleteLater();
      // Queued, so that it runs after the paint this exposure brings.
      QTimer::singleShot(0, FResume);
    }
    return false;
  }

  // The watch in force, if any; it goes with its window.
  static QPointer<TExposeWatch>& Watching() {
    static QPointer<TExposeWatch> watch;
    return watch;
  }

 private:
  std::function<void()> FResume;
};

QPointer<TExposeWatch>& ExposeWatch() { return TExposeWatch::Watching(); }

// True while the idle event waits for the form's window to come on the screen.
bool AwaitsFirstPaint(QWidget* form, const std::function<void()>& resume) {
  if (ExposeWatch() != nullptr) return true;
  if (form == nullptr || !form->isVisible()) return false;
  QWindow* window = form->windowHandle();
  if (window == nullptr || window->isExposed()) return false;
  ExposeWatch() = new TExposeWatch(window, resume);
  return true;
}

}  // namespace

TApplication& TApplication::Instance() {
  static TApplication* instance = new TApplication();
  return *instance;
}

void TApplication::Initialize() {
  if (FInitialized) return;
  FInitialized = true;
  if (auto* dispatcher = QAbstractEventDispatcher::instance(QThread::currentThread())) {
    connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TApplication::ScheduleIdle);
  }
}

void TApplication::SetOnIdle(TIdleEvent event) {
  FOnIdle = std::move(event);
  if (!FOnIdle) return;
  Initialize();
  // The queue may already be empty, and loops that never block (a test's event
  // processing) never report it: look once more when the pending events are done.
  ScheduleIdle();
}

// The queue has run empty. A zero timer fires once the pending events are processed;
// the handler then runs from the loop itself rather than inside the dispatcher's
// notification, so it may open windows and message boxes freely.
void TApplication::ScheduleIdle() {
  // While the main window waits for the screen, its exposure resumes the idle event; looking
  // again at every pause would only spin.
  if (!FOnIdle || FIdleQueued || ExposeWatch() != nullptr) return;
  FIdleQueued = true;
  QTimer::singleShot(0, this, &TApplication::RunIdle);
}

void TApplication::RunIdle() {
  FIdleQueued = false;
  if (!FOnIdle) return;
  if (AwaitsFirstPaint(FMainForm, [this] { ScheduleIdle(); })) return;
  // Repaints asked for during a paint (a control that moved itself) are pending work too.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
  // A copy, because the handler may clear the event while it runs.
  const TIdleEvent handler = FOnIdle;
  if (!handler) return;
  bool done = true;
  Guarded(this, [&] { handler(this, done); });
}

int TApplication::Run() {
  Initialize();
  if (FMainForm != nullptr) {
    if (FMainForm->windowState() & Qt::WindowMaximized) {
      // Without a window manager nobody maximises the window: take the work area.
      if (QScreen* screen = QGuiApplication::primaryScreen())
        FMainForm->setGeometry(screen->availableGeometry());
    }
    FMainForm->show();
    QApplication::setQuitOnLastWindowClosed(false);
    FMainForm->setAttribute(Qt::WA_QuitOnClose, true);
    // quit() is static, so the connection needs a context object; the form ends it when it goes.
    connect(qApp, &QApplication::lastWindowClosed, FMainForm, [] { QApplication::quit(); });
  }
  return QApplication::exec();
}

void TApplication::HandleException(QObject* /*Sender*/, std::exception_ptr error) {
  QString text = QStringLiteral("An unknown error occurred");
  try {
    if (error) std::rethrow_exception(error);
  } catch (const std::exception& e) {
    text = QString::fromUtf8(e.what());
  } catch (...) {
  }
  if (!text.endsWith(QLatin1Char('.'))) text += QLatin1Char('.');
  MessageBox(text, QCoreApplication::applicationName(), MB_OK | MB_ICONHAND);
}

int TApplication::MessageBox(const QString& Text, const QString& Caption, unsigned Flags) {
  if (FMessageBoxHook) return FMessageBoxHook(Text, Caption, Flags);

  QMessageBox box;
  box.setText(Text);
  box.setWindowTitle(Caption);
  switch (Flags & 0xF0) {
    case MB_ICONHAND: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONASTERISK: box.setIcon(QMessageBox::Information); break;
    default: break;
  }
  struct Answer {
    QMessageBox::StandardButton button;
    int code;
  };
  QList<Answer> answers;
  switch (Flags & 0xF) {
    case MB_OKCANCEL: answers = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}}; break;
    case MB_ABORTRETRYIGNORE:
      answers = {
          {QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
      break;
    case MB_YESNOCANCEL:
      answers = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
      break;
    case MB_YESNO: answers = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}}; break;
    case MB_RETRYCANCEL: answers = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}}; break;
    default: answers = {{QMessageBox::Ok, IDOK}}; break;
  }
  QList<QAbstractButton*> buttons;
  for (const Answer& a : answers) buttons << box.addButton(a.button);
  const int defaultIndex = qMin(int((Flags & 0xF00) >> 8), int(buttons.size()) - 1);
  box.setDefaultButton(qobject_cast<QPushButton*>(buttons[defaultIndex]));
  // Esc answers Cancel where there is one, and the only button of a one-button box.
  for (int i = 0; i < answers.size(); ++i) {
    if (answers[i].code == IDCANCEL || answers.size() == 1) box.setEscapeButton(buttons[i]);
  }
  if (Flags & MB_TOPMOST) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  if (Flags & MB_SETFOREGROUND) {
    box.show();
    box.raise();
    box.activateWindow();
  }
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  for (int i = 0; i < answers.size(); ++i) {
    if (buttons[i] == clicked) return answers[i].code;
  }
  // Closed by the close box: Cancel where there is one, else the single answer.
  for (const Answer& a : answers) {
    if (a.code == IDCANCEL) return IDCANCEL;
  }
  return answers.size() == 1 ? answers.front().code : IDCANCEL;
}

void Guarded(QObject* sender, const std::function<void()>& action) {
  try {
    action();
  } catch (...) {
    TApplication::Instance().HandleException(sender, std::current_exception());
  }
}
