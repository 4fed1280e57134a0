// This product's page: the circles over the photograph, the option panels their popups
// show, the channel mode controls and the product identity. Components are created in
// declared order (their stacking and child order); references between them are set
// once every component exists.

#include "app/main_form.h"
#include "platform/change_event.h"
#include "platform/declare.h"
#include "setupctrls/accessibility.h"
#include "setupctrls/board_highlight.h"
#include "setupctrls/board_image.h"
#include "setupctrls/radio_panel.h"
#include "setupctrls/setup_supporter.h"

namespace {

QLabel* DeclareLabel(QWidget* parent, const char* name, QRect bounds, const char* caption) {
  auto* label = Declare<QLabel>(parent, name, bounds);
  label->setText(QLatin1String(caption));
  // Labels size themselves to their caption, whatever font the system substitutes.
  label->adjustSize();
  return label;
}

TRadioPanel* DeclarePanel(QWidget* parent, const char* name, QRect bounds, int tabOrder, QStringList lines) {
  auto* panel = Declare<TRadioPanel>(parent, name, bounds);
  // The panel keeps the page font when its popup takes it in, so that its labels and
  // list stay the size they were declared for.
  panel->setFont(parent->window()->font());
  panel->SetBevelOuter(bvNone);
  panel->SetLines(lines);
  panel->setProperty("TabOrder", tabOrder);
  return panel;
}

}  // namespace

void TMainForm::DeclarePage() {
  InstallAccessibility();
  ModeHLT = Declare<TBoardHighlight>(BoardImage1, "ModeHLT", {264, 24, 281, 81});
  ModeHLT->SetTitle(QStringLiteral("Mode Settings"));
  ledHLT = Declare<TBoardHighlight>(BoardImage1, "ledHLT", {32, 0, 233, 81});
  ledHLT->SetHighlightType(htOptions);
  ledHLT->SetTitle(QStringLiteral("LED info"));
  usbHLT = Declare<TBoardHighlight>(BoardImage1, "usbHLT", {32, 312, 65, 57});
  usbHLT->SetHighlightType(htOptions);
  usbHLT->SetTitle(QStringLiteral("USB Connector"));

  ModePNL = DeclarePanel(
      Client(), "ModePNL", {624, 193, 201, 200}, 1,
      {QStringLiteral("You may click on the jumpers or use the drop down list to select the mode "
                      "for operation. When you have found the configuration for the mode you "
                      "want, place the jumpers on the board in the same manner shown on screen."),
       QStringLiteral("Each Channel may be configured independantly.")});
  DeclareModePanel();
  ledPNL = DeclarePanel(Client(), "ledPNL", {8, 216, 194, 9}, 2,
                        {QStringLiteral("LED Power: Power indicator"),
                         QStringLiteral("LED A-D: Indicate TX/RX activity for channels A-D on the board")});
  usbPNL = DeclarePanel(Client(), "usbPNL", {24, 496, 194, 9}, 3,
                        {QStringLiteral("The USB connector on this board is a USB type B socket.")});

  SetSup = new TSetupSupporter(this);
  SetSup->setObjectName(QStringLiteral("SetSup"));
  SetSup->SetCompanyName(QStringLiteral("TORVO"));
  SetSup->SetCardNameA(QStringLiteral("NB-QUADPORT"));
  SetSup->SetCardNameB(QStringLiteral("NB-QUADPORT"));
  SetSup->SetCallHow(QStringLiteral("between 8 am and 5 pm Pacific Time at 1-800-555-0134"));
  SetSup->SetMultiPort(true);
  SetSup->SetChannels(4);
  SetSup->SetChangeButtons(true);

  // References, now that every component exists.
  BoardImage1->SetFirst(ModeHLT);
  ModeHLT->SetRadioPanel(ModePNL);
  ledHLT->SetRadioPanel(ledPNL);
  usbHLT->SetRadioPanel(usbPNL);
}

void TMainForm::DeclareModePanel() {
  ModeTx = Declare<TTwoJumper>(ModePNL, "ModeTx", {48, 56, 34, 18});
  Label3 = DeclareLabel(ModePNL, "Label3", {88, 56, 80, 13}, "RS485 Mode TX");
  modeJMP = Declare<TThreeJumper>(ModePNL, "modeJMP", {48, 16, 43, 18});
  modeJMP->SetJumperState(jsLeft);
  ModeRx = Declare<TTwoJumper>(ModePNL, "ModeRx", {48, 72, 34, 18});
  Term = Declare<TTwoJumper>(ModePNL, "Term", {48, 88, 34, 18});
  TxRxPlus = Declare<TTwoJumper>(ModePNL, "TxRxPlus", {48, 104, 34, 18});
  TxRxMinus = Declare<TTwoJumper>(ModePNL, "TxRxMinus", {48, 120, 34, 18});
  Label2 = DeclareLabel(ModePNL, "Label2", {88, 72, 81, 13}, "RS485 Mode RX");
  Label4 = DeclareLabel(ModePNL, "Label4", {88, 88, 67, 13}, "RS485 TERM");
  Label5 = DeclareLabel(ModePNL, "Label5", {88, 104, 70, 13}, "RS 485 TxRx+");
  Label6 = DeclareLabel(ModePNL, "Label6", {88, 120, 67, 13}, "RS 485 TxRx-");
  Label1 = DeclareLabel(ModePNL, "Label1", {8, 16, 33, 13}, "RS232");
  Label7 = DeclareLabel(ModePNL, "Label7", {96, 8, 38, 13}, "RS422/");
  Label8 = DeclareLabel(ModePNL, "Label8", {96, 24, 33, 13}, "RS485");

  // Each label names its jumper, also for assistive technology.
  Label3->setBuddy(ModeTx);
  Label2->setBuddy(ModeRx);
  Label4->setBuddy(Term);
  Label5->setBuddy(TxRxPlus);
  Label6->setBuddy(TxRxMinus);
  Label1->setBuddy(modeJMP);

  modeCOMBO = Declare<QComboBox>(ModePNL, "modeCOMBO", {16, 160, 177, 21});
  modeCOMBO->setEditable(true);
  modeCOMBO->setInsertPolicy(QComboBox::NoInsert);
  for (const char* name : kModeNames) modeCOMBO->addItem(QLatin1String(name));
  modeCOMBO->setCurrentIndex(-1);

  // The list's change event fires on user action only, never when code sets the index.
  SetOnChange(modeCOMBO, [this](QObject* sender) { modeCOMBOChange(sender); });

  ModeTx->SetOnClick([this](QObject* sender) { ModeTxClick(sender); });
  modeJMP->SetOnClick([this](QObject* sender) { modeJMPClick(sender); });
  ModeRx->SetOnClick([this](QObject* sender) { ModeRxClick(sender); });
  Term->SetOnClick([this](QObject* sender) { TermClick(sender); });
  TxRxPlus->SetOnClick([this](QObject* sender) { TxRxPlusClick(sender); });
  TxRxMinus->SetOnClick([this](QObject* sender) { TxRxMinusClick(sender); });
}
