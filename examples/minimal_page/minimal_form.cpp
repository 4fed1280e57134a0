#include "examples/minimal_page/minimal_form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPalette>

#include "platform/application.h"
#include "platform/colour.h"
#include "platform/declare.h"
#include "platform/events.h"
#include "platform/picture.h"
#include "setupctrls/accessibility.h"
#include "setupctrls/board_highlight.h"
#include "setupctrls/board_image.h"
#include "setupctrls/radio_panel.h"
#include "setupctrls/setup_supporter.h"
#include "setupctrls/two_jumper.h"

namespace {

constexpr QRect kWindowBounds(100, 100, 700, 360);
constexpr QRect kBoardImageBounds(16, 40, 400, 256);
constexpr auto kBoardPhotograph = ":/examples/minimal_page/board.jpg";

}  // namespace

// The picture is compiled into this static library; its resources are registered only
// when asked for.
static void RegisterPicture() { Q_INIT_RESOURCE(minimal_page); }

TMinimalForm::TMinimalForm(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("MinimalForm"));
  DeclareWindow();
  DeclareBoardImage();
  DeclarePage();
  Guarded(this, [this] { FormCreate(this); });
}

void TMinimalForm::DeclareWindow() {
  setWindowTitle(QStringLiteral("Setup"));
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("Client"));
  QPalette palette = client->palette();
  palette.setColor(QPalette::Window, ToQColor(clWhite));
  client->setPalette(palette);
  client->setAutoFillBackground(true);
  setCentralWidget(client);
  setGeometry(kWindowBounds);

  MainMenu1 = menuBar();
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  File1 = MainMenu1->addMenu(QStringLiteral("&File"));
  File1->setObjectName(QStringLiteral("File1"));
  Exit1 = File1->addAction(QStringLiteral("&Exit"));
  Exit1->setObjectName(QStringLiteral("Exit1"));
  WireCommand(Exit1, this, &TMinimalForm::Exit1Click);
  // The circles put their own menus in front of Help.
  Help1 = MainMenu1->addMenu(QStringLiteral("&Help"));
  Help1->setObjectName(QStringLiteral("Help1"));
  Howtousethisprogram1 = Help1->addAction(QStringLiteral("H&ow to use this program"));
  Howtousethisprogram1->setObjectName(QStringLiteral("Howtousethisprogram1"));
  WireCommand(Howtousethisprogram1, this, &TMinimalForm::Howtousethisprogram1Click);
}

void TMinimalForm::DeclareBoardImage() {
  BoardImage1 = Declare<TBoardImage>(Client(), "BoardImage1", kBoardImageBounds);
  // AutoSize off before the picture: the picture fits the declared bounds.
  BoardImage1->SetAutoSize(false);
  RegisterPicture();
  TPicture picture;
  picture.LoadFromFile(QString::fromLatin1(kBoardPhotograph));
  BoardImage1->SetPicture(picture);
  BoardImage1->SetStretch(true);
  BoardImage1->SetMenu(MainMenu1);
}

void TMinimalForm::DeclarePage() {
  InstallAccessibility();

  // Circles, in board coordinates: a settings circle over the termination jumper and
  // an information circle over the serial connector.
  TermHLT = Declare<TBoardHighlight>(BoardImage1, "TermHLT", {155, 73, 65, 65});
  TermHLT->SetTitle(QStringLiteral("Termination"));
  portHLT = Declare<TBoardHighlight>(BoardImage1, "portHLT", {329, 18, 65, 65});
  portHLT->SetHighlightType(htOptions);
  portHLT->SetTitle(QStringLiteral("Serial Connector"));

  // Option panels stay hidden until a popup takes them in; their declared place, in
  // client coordinates, is where that popup opens.
  TermPNL = Declare<TRadioPanel>(Client(), "TermPNL", {440, 60, 201, 90});
  TermPNL->SetLines(
      {QStringLiteral("Click the jumper or pick from the list; then set the jumper on "
                      "the board the way it is shown here.")});
  TermJMP = Declare<TTwoJumper>(TermPNL, "TermJMP", {16, 16, 34, 18});
  TermLabel = Declare<QLabel>(TermPNL, "TermLabel", {56, 18, 120, 13});
  TermLabel->setText(QStringLiteral("Line termination"));
  TermLabel->setBuddy(TermJMP);
  termCOMBO = Declare<QComboBox>(TermPNL, "termCOMBO", {16, 48, 169, 21});
  termCOMBO->addItems({QStringLiteral("Terminated"), QStringLiteral("Not terminated")});

  portPNL = Declare<TRadioPanel>(Client(), "portPNL", {440, 200, 194, 9});
  portPNL->SetLines({QStringLiteral("The 9-pin connector carries the channel's serial lines.")});

  SetSup = new TSetupSupporter(this);
  SetSup->setObjectName(QStringLiteral("SetSup"));
  SetSup->SetCompanyName(QStringLiteral("EXAMPLE"));
  SetSup->SetCardNameA(QStringLiteral("MINI-1"));
  SetSup->SetCallHow(QStringLiteral("on working days at 555-0100"));

  // Events: the jumper's click is guarded by the jumper; the list's is guarded here.
  TermJMP->SetOnClick([this](QObject* sender) { TermJMPClick(sender); });
  connect(termCOMBO, &QComboBox::activated, this,
          [this] { Guarded(termCOMBO, [this] { termCOMBOChange(termCOMBO); }); });

  // References, now that every component exists.
  BoardImage1->SetFirst(TermHLT);
  TermHLT->SetRadioPanel(TermPNL);
  portHLT->SetRadioPanel(portPNL);
}

void TMinimalForm::FormCreate(QObject* /*Sender*/) {
  // The supporter builds its header and windows at the first idle moment, once the
  // window is up.
  TSetupSupporter* supporter = SetSup;
  Application().SetOnIdle([supporter](QObject* sender, bool& done) { supporter->FirstIdle(sender, done); });
  // The jumper is declared open; the list starts on the matching entry. Setting the
  // index from code raises no change event.
  termCOMBO->setCurrentIndex(kNotTerminated);
}

void TMinimalForm::Exit1Click(QObject* /*Sender*/) { close(); }

void TMinimalForm::Howtousethisprogram1Click(QObject* /*Sender*/) {
  // Before the first idle moment there is no help window yet.
  if (QWidget* form = SetSup->HelpForm()) form->setVisible(true);
}

// The jumper has already toggled when its click event fires.
void TMinimalForm::TermJMPClick(QObject* /*Sender*/) {
  termCOMBO->setCurrentIndex(TermJMP->Closed() ? kTerminated : kNotTerminated);
}

void TMinimalForm::termCOMBOChange(QObject* /*Sender*/) {
  TermJMP->SetClosed(termCOMBO->currentIndex() == kTerminated);
}

void TMinimalForm::closeEvent(QCloseEvent* event) {
  event->accept();
  QCoreApplication::quit();
}
