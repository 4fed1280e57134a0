#include "setupctrls/setup_supporter.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QScreen>

#include "driver/kordrv.h"
#include "platform/anchors.h"
#include "platform/application.h"
#include "platform/colour.h"
#include "platform/message_timer.h"

namespace {

constexpr int kHeaderFontPoints = 18;

// The controls placed directly on a form: a main window's central widget holds them.
QWidget* ClientAreaOf(QWidget* form) {
  if (auto* mainWindow = qobject_cast<QMainWindow*>(form)) {
    if (mainWindow->centralWidget() != nullptr) return mainWindow->centralWidget();
  }
  return form;
}

QMenuBar* MainMenuOf(QWidget* form) {
  if (auto* mainWindow = qobject_cast<QMainWindow*>(form)) {
    if (auto* bar = qobject_cast<QMenuBar*>(mainWindow->menuWidget())) return bar;
  }
  return form->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly);
}

QSize ScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->geometry().size() : QSize();
}

}  // namespace

TSetupSupporter::TSetupSupporter(QObject* owner) : QObject(owner) {
  FMessageWindow = new TMessageTimer([this] { MessageWindowProc(); }, this);
}

TSetupSupporter::~TSetupSupporter() {
  FCalibrating = false;
  // A help window still pending has nobody left to show it; nor may a destructor start a
  // timer and fail.
  FShowHelpPending = false;
  UpdateTimer();
  delete FMessageWindow;
  FMessageWindow = nullptr;
}

void TSetupSupporter::SetCompanyName(const QString& value) {
  if (FCompanyName == value) return;
  FCompanyName = value;
}

void TSetupSupporter::SetCardNameA(const QString& value) {
  if (FCardNameA == value) return;
  FCardNameA = value;
}

void TSetupSupporter::SetCardNameB(const QString& value) {
  if (FCardNameB == value) return;
  FCardNameB = value;
}

void TSetupSupporter::SetUseCardNameB(bool value) {
  if (FUseCardNameB == value) return;
  FUseCardNameB = value;
}

void TSetupSupporter::SetCallHow(const QString& value) {
  if (FCallHow == value) return;
  FCallHow = value;
}

void TSetupSupporter::SetMultiPort(bool value) {
  if (FMultiPort == value) return;
  FMultiPort = value;
}

void TSetupSupporter::SetChannels(std::uint8_t value) {
  if (FChannels == value) return;
  FChannels = value;
}

void TSetupSupporter::SetChangeButtons(bool value) {
  if (FChangeButtons == value) return;
  FChangeButtons = value;
}

void TSetupSupporter::SetbSeries(bool value) {
  if (FbSeries == value) return;
  FbSeries = value;
}

void TSetupSupporter::SetOnBeginCalib(TNotifyEvent event) {
  FOnBeginCalib = std::move(event);
  UpdateTimer();
}

void TSetupSupporter::FirstIdle(QObject* /*Sender*/, bool& /*Done*/) {
  Application().SetOnIdle({});
  BuildWindows();
}

void TSetupSupporter::BuildWindows() {
  // The windows exist once; a second call builds nothing more.
  if (FBuilt) return;
  QWidget* mainForm = Application().MainForm();
  if (mainForm == nullptr) return;
  FBuilt = true;
  const QString cardName = CardName();

  QWidget* client = ClientAreaOf(mainForm);
  auto* header = new QLabel(client);
  header->setObjectName(QStringLiteral("HeaderLabel"));
  header->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  QFont headerFont(QStringLiteral("Tahoma"), kHeaderFontPoints);
  headerFont.setBold(true);
  header->setFont(headerFont);
  QPalette colours = header->palette();
  colours.setColor(QPalette::WindowText, ToQColor(clBlack));
  header->setPalette(colours);
  // Aligned to the top: the full client width, one line of the font high.
  header->setGeometry(0, 0, client->width(), QFontMetrics(headerFont).height());
  SetAnchors(header, akLeft | akTop | akRight);
  header->show();
  FHeaderLabel = header;

  const bool listsCards = static_cast<bool>(FOnGetCardString);
  FHelpForm = new THelpForm(
      mainForm, THelpForm::HelpText(FCompanyName, cardName, FbSeries, FMultiPort, listsCards), ScreenSize());
  const QPointer<TSetupSupporter> self(this);
  FTechForm =
      new TTechForm(mainForm, TTechForm::SupportText(FCompanyName, FCallHow), [self](QObject* sender) {
        if (self) self->CloseButtonClick(sender);
      });

  const bool found = listsCards ? BuildInstalledCards(cardName) : true;

  if (found) {
    header->setText(cardName + (FbSeries ? QStringLiteral(" Series") : QString()) +
                    QStringLiteral(" Settings Program"));
  } else {
    header->setText(QStringLiteral("No ") + cardName +
                    (FbSeries ? QStringLiteral(" Series Card") : QString()) + QStringLiteral(" Found"));
  }

  FShowHelpPending = true;
  UpdateTimer();
}

bool TSetupSupporter::BuildInstalledCards(const QString& cardName) {
  AddDisplayPCIEntry(cardName);
  const QPointer<TSetupSupporter> self(this);
  FPCIForm = new TPCIForm(Application().MainForm(), cardName, [self](QObject* sender) {
    if (self) self->CloseButtonClick(sender);
  });

  LoadDriver();
  // Without a complete driver there is nobody to ask: no card.
  const std::int32_t count = DriverLoaded && GetNumCards != nullptr ? GetNumCards() : 0;

  // A copy, because the handler may assign another one while it runs.
  const TPCIEvent describe = FOnGetCardString;
  bool found = false;
  if (count > 0) {
    FPCIForm->PCIMemo->clear();
    for (std::int32_t index = 0; index < count; ++index) {
      const QString text = describe(this, index);
      if (text.isEmpty() || FPCIForm == nullptr) continue;
      FPCIForm->PCIMemo->appendPlainText(text);
      found = true;
    }
  }
  if (!found && FPCIForm != nullptr) FPCIForm->PCIMemo->setPlainText(QStringLiteral("No Card Found"));
  return found;
}

void TSetupSupporter::AddDisplayPCIEntry(const QString& cardName) {
  QMenuBar* mainMenu = MainMenuOf(Application().MainForm());
  if (mainMenu == nullptr) return;
  for (QAction* item : mainMenu->actions()) {
    QMenu* fileMenu = item->menu();
    if (fileMenu == nullptr || item->text() != QStringLiteral("&File")) continue;
    auto* entry =
        new QAction(QStringLiteral("Display ") + cardName + QStringLiteral(" Cards Installed"), fileMenu);
    entry->setObjectName(QStringLiteral("DisplayPCI"));
    connect(entry, &QAction::triggered, this,
            [this, entry] { Guarded(this, [&] { DisplayPCIClick(entry); }); });
    const QList<QAction*> commands = fileMenu->actions();
    fileMenu->insertAction(commands.isEmpty() ? nullptr : commands.first(), entry);
    return;
  }
}

void TSetupSupporter::CloseButtonClick(QObject* Sender) {
  auto* control = qobject_cast<QWidget*>(Sender);
  if (control == nullptr || control->parentWidget() == nullptr) return;
  control->parentWidget()->hide();
}

void TSetupSupporter::DisplayPCIClick(QObject* /*Sender*/) {
  if (FPCIForm == nullptr) return;
  FPCIForm->show();
  FPCIForm->raise();
}

void TSetupSupporter::UpdateTimer() {
  FMessageWindow->Kill();
  if (!FCalibrating && !FShowHelpPending) return;
  if (!FMessageWindow->Start(kTimerInterval)) throw EOutOfResources("Not enough timers available");
}

void TSetupSupporter::MessageWindowProc() {
  // An exception that escapes the tick is reported and the loop goes on. The timer does not
  // tick again while its own tick runs, also not from the loop of a message box opened in it.
  Guarded(this, [this] { TimerTick(); });
}

void TSetupSupporter::TimerTick() {
  if (FShowHelpPending) {
    if (FHelpForm != nullptr) {
      FHelpForm->show();
      FHelpForm->raise();
    }
    FShowHelpPending = false;
    UpdateTimer();
    return;
  }
  CalibrationTick();
}

void TSetupSupporter::SetCalibrating(bool Value) {
  if (FCalibrating == Value) return;
  FCalibrating = Value;
  UpdateTimer();
}

bool TSetupSupporter::AddCalibDisplay(const TCalibDisplay& display) {
  if (FCalibDisplays.size() >= kMaxCalibDisplays) return false;
  FCalibDisplays.append(display);
  return true;
}
