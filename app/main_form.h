#pragma once

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "app/mode_logic.h"

class TBoardImage;
class TBoardHighlight;
class TRadioPanel;
class TSetupSupporter;

// The one main window: the board page with its menu. Its members are the components
// declared on it; the page itself is declared in its own file.
class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  // Declared components, in declared order.
  TBoardImage* BoardImage1 = nullptr;
  TBoardHighlight* ModeHLT = nullptr;
  TBoardHighlight* ledHLT = nullptr;
  TBoardHighlight* usbHLT = nullptr;
  TRadioPanel* ModePNL = nullptr;
  TTwoJumper* ModeTx = nullptr;
  QLabel* Label3 = nullptr;
  TThreeJumper* modeJMP = nullptr;
  TTwoJumper* ModeRx = nullptr;
  TTwoJumper* Term = nullptr;
  TTwoJumper* TxRxPlus = nullptr;
  TTwoJumper* TxRxMinus = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label7 = nullptr;
  QLabel* Label8 = nullptr;
  QComboBox* modeCOMBO = nullptr;
  TRadioPanel* ledPNL = nullptr;
  TRadioPanel* usbPNL = nullptr;
  QMenuBar* MainMenu1 = nullptr;
  QMenu* File1 = nullptr;
  QAction* Exit2 = nullptr;
  QMenu* Help1 = nullptr;
  QAction* Howtousethisprogram1 = nullptr;
  QAction* TechnicalSupport1 = nullptr;
  TSetupSupporter* SetSup = nullptr;

  // Published handlers: the window and its commands.
  void Exit2Click(QObject* Sender);
  void FormCreate(QObject* Sender);
  void Howtousethisprogram1Click(QObject* Sender);
  void TechnicalSupport1Click(QObject* Sender);
  void Closehelpdialog1Click(QObject* Sender);
  void DisplayClick(QObject* Sender);

  // Published handlers: the channel mode list and jumpers.
  void modeCOMBOChange(QObject* Sender);
  void modeJMPClick(QObject* Sender);
  void ModeTxClick(QObject* Sender);
  void ModeRxClick(QObject* Sender);
  void TermClick(QObject* Sender);
  void TxRxPlusClick(QObject* Sender);
  void TxRxMinusClick(QObject* Sender);

  TModeJumpers ModeJumpers() const { return {modeJMP, ModeTx, ModeRx, Term, TxRxPlus, TxRxMinus}; }

  // The client area, on which the page's controls are placed.
  QWidget* Client() const { return centralWidget(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void DeclareWindow();
  void DeclareMenu();
  void DeclareBoardImage();
  // This product's page: circles, option panels, mode controls, supporter.
  void DeclarePage();
  void DeclareModePanel();
};

// The application's main form, set at program start.
extern TMainForm* MainForm;
