#pragma once

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

class TBoardImage;
class TBoardHighlight;
class TRadioPanel;
class TSetupSupporter;
class TTwoJumper;

// The smallest complete board page: a photograph with one settings circle and one
// information circle, the settings popup's jumper and list kept in step, and the
// supporter that names the card and opens the help window.
class TMinimalForm : public QMainWindow {
  Q_OBJECT

 public:
  // Entries of the termination list, in list order.
  static constexpr int kTerminated = 0;
  static constexpr int kNotTerminated = 1;

  explicit TMinimalForm(QWidget* parent = nullptr);

  // Declared components, in declared order.
  TBoardImage* BoardImage1 = nullptr;
  TBoardHighlight* TermHLT = nullptr;
  TBoardHighlight* portHLT = nullptr;
  TRadioPanel* TermPNL = nullptr;
  TTwoJumper* TermJMP = nullptr;
  QLabel* TermLabel = nullptr;
  QComboBox* termCOMBO = nullptr;
  TRadioPanel* portPNL = nullptr;
  QMenuBar* MainMenu1 = nullptr;
  QMenu* File1 = nullptr;
  QAction* Exit1 = nullptr;
  QMenu* Help1 = nullptr;
  QAction* Howtousethisprogram1 = nullptr;
  TSetupSupporter* SetSup = nullptr;

  // Published handlers.
  void FormCreate(QObject* Sender);
  void Exit1Click(QObject* Sender);
  void Howtousethisprogram1Click(QObject* Sender);
  void TermJMPClick(QObject* Sender);
  void termCOMBOChange(QObject* Sender);

  // The client area, on which the page's controls are placed.
  QWidget* Client() const { return centralWidget(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void DeclareWindow();
  void DeclareBoardImage();
  void DeclarePage();
};
