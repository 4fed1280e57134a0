#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <exception>
#include <functional>

// Win32 message box flags and answers, so that callers read like the boxes they ask for.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_RETRYCANCEL = 0x5;
constexpr unsigned MB_ICONHAND = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONASTERISK = 0x40;
constexpr unsigned MB_DEFBUTTON2 = 0x100;
constexpr unsigned MB_DEFBUTTON3 = 0x200;
constexpr unsigned MB_SETFOREGROUND = 0x10000;
constexpr unsigned MB_TOPMOST = 0x40000;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// The application object: main form, message loop, idle event, exception handler and
// message boxes, over the QApplication that main() (or a test) has created.
class TApplication : public QObject {
  Q_OBJECT

 public:
  using TIdleEvent = std::function<void(QObject* Sender, bool& Done)>;
  using TMessageBoxHook = std::function<int(const QString& Text, const QString& Caption, unsigned Flags)>;

  static TApplication& Instance();

  // Hooks the idle event into the event dispatcher; safe to call more than once.
  void Initialize();

  // Creates a form; the first one created becomes the main form.
  template <class TFormClass>
  void CreateForm(TFormClass*& reference) {
    reference = new TFormClass();
    if (FMainForm == nullptr) FMainForm = reference;
  }

  // Shows the main form in its declared state and runs the message loop until it closes.
  int Run();

  QWidget* MainForm() const { return FMainForm; }
  void SetMainForm(QWidget* form) { FMainForm = form; }

  // Called once each time the message queue runs empty. A handler may clear it from
  // inside its own call.
  const TIdleEvent& OnIdle() const { return FOnIdle; }
  void SetOnIdle(TIdleEvent event);

  // Reports an exception in a message box and returns; the program goes on.
  void HandleException(QObject* Sender, std::exception_ptr error);

  // A modal message box built from Win32 flags; returns the Win32 answer code.
  int MessageBox(const QString& Text, const QString& Caption, unsigned Flags);

  // Lets tests answer message boxes without opening them. An empty hook restores the
  // real boxes.
  void SetMessageBoxHook(TMessageBoxHook hook) { FMessageBoxHook = std::move(hook); }

 private:
  TApplication() = default;
  void ScheduleIdle();
  void RunIdle();

  QPointer<QWidget> FMainForm;
  TIdleEvent FOnIdle;
  TMessageBoxHook FMessageBoxHook;
  bool FInitialized = false;
  bool FIdleQueued = false;
};

inline TApplication& Application() { return TApplication::Instance(); }
