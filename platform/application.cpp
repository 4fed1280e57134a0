#include "platform/application.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include "platform/events.h"

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
  if (!FOnIdle || FIdleQueued) return;
  FIdleQueued = true;
  QTimer::singleShot(0, this, &TApplication::RunIdle);
}

void TApplication::RunIdle() {
  FIdleQueued = false;
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
