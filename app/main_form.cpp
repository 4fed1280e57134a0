#include "app/main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPalette>

#include "platform/application.h"
#include "platform/colour.h"
#include "platform/declare.h"
#include "platform/events.h"
#include "setupctrls/board_image.h"
#include "setupctrls/setup_supporter.h"

TMainForm* MainForm = nullptr;

namespace {

constexpr QRect kRestoredBounds(272, 212, 873, 598);
constexpr QRect kBoardImageBounds(142, 74, 600, 384);
constexpr auto kBoardPhotograph = ":/assets/board.jpg";

}  // namespace

// The photograph is compiled into the app library; a static library's resources are
// registered only when asked for.
static void RegisterAssets() { Q_INIT_RESOURCE(assets); }

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("MainForm"));
  DeclareWindow();
  DeclareMenu();
  DeclareBoardImage();
  DeclarePage();
  WireCommand(Howtousethisprogram1, this, &TMainForm::Howtousethisprogram1Click);
  WireCommand(TechnicalSupport1, this, &TMainForm::TechnicalSupport1Click);
  Guarded(this, [this] { FormCreate(this); });
}

TMainForm::~TMainForm() {
  if (MainForm == this) MainForm = nullptr;
}

void TMainForm::DeclareWindow() {
  setWindowTitle(QStringLiteral("Setup"));
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("Client"));
  QPalette palette = client->palette();
  palette.setColor(QPalette::Window, ToQColor(clWhite));
  client->setPalette(palette);
  client->setAutoFillBackground(true);
  setCentralWidget(client);

  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(11);
  setFont(font);
  setGeometry(kRestoredBounds);
  setWindowState(Qt::WindowMaximized);
}

void TMainForm::DeclareMenu() {
  MainMenu1 = menuBar();
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

  File1 = MainMenu1->addMenu(QStringLiteral("&File"));
  File1->setObjectName(QStringLiteral("File1"));
  Exit2 = File1->addAction(QStringLiteral("&Exit"));
  Exit2->setObjectName(QStringLiteral("Exit2"));
  WireCommand(Exit2, this, &TMainForm::Exit2Click);

  Help1 = MainMenu1->addMenu(QStringLiteral("&Help"));
  Help1->setObjectName(QStringLiteral("Help1"));
  Howtousethisprogram1 = Help1->addAction(QStringLiteral("H&ow to use this program"));
  Howtousethisprogram1->setObjectName(QStringLiteral("Howtousethisprogram1"));
  TechnicalSupport1 = Help1->addAction(QStringLiteral("&Technical Support"));
  TechnicalSupport1->setObjectName(QStringLiteral("TechnicalSupport1"));
}

void TMainForm::DeclareBoardImage() {
  BoardImage1 = Declare<TBoardImage>(Client(), "BoardImage1", kBoardImageBounds);
  // AutoSize off arrives before the picture, so the photograph is stretched into the
  // declared 600 x 384 instead of resizing the control.
  BoardImage1->SetAutoSize(false);
  RegisterAssets();
  TPicture photograph;
  photograph.LoadFromFile(QString::fromLatin1(kBoardPhotograph));
  BoardImage1->SetPicture(photograph);
  BoardImage1->SetStretch(true);
  BoardImage1->SetMenu(MainMenu1);
}

void TMainForm::Exit2Click(QObject* /*Sender*/) { close(); }

void TMainForm::FormCreate(QObject* /*Sender*/) {
  // The supporter builds its label and windows at the first idle moment, after the
  // main window has been shown.
  TSetupSupporter* supporter = SetSup;
  Application().SetOnIdle([supporter](QObject* sender, bool& done) { supporter->FirstIdle(sender, done); });
  modeCOMBO->setCurrentIndex(0);
}

// The Help commands only show and hide the supporter's windows. Before the first idle
// moment those windows do not exist yet, and the commands then do nothing.
void TMainForm::Howtousethisprogram1Click(QObject* /*Sender*/) {
  if (QWidget* form = SetSup->HelpForm()) form->setVisible(true);
}

void TMainForm::TechnicalSupport1Click(QObject* /*Sender*/) {
  if (QWidget* form = SetSup->TechForm()) form->setVisible(true);
}

void TMainForm::Closehelpdialog1Click(QObject* /*Sender*/) {
  if (QWidget* form = SetSup->HelpForm()) form->setVisible(false);
}

void TMainForm::DisplayClick(QObject* /*Sender*/) {
  if (QWidget* form = SetSup->PCIForm()) form->setVisible(true);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  // Closing the main form ends the message loop and so the program.
  event->accept();
  QCoreApplication::quit();
}
