#pragma once

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

class TBoardImage;

// The one main window: the board page with its menu. Its members are the components
// declared on it; the page itself is declared in its own file.
class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  // Declared components.
  TBoardImage* BoardImage1 = nullptr;
  QMenuBar* MainMenu1 = nullptr;
  QMenu* File1 = nullptr;
  QAction* Exit2 = nullptr;
  QMenu* Help1 = nullptr;
  QAction* Howtousethisprogram1 = nullptr;
  QAction* TechnicalSupport1 = nullptr;

  // Published handlers.
  void Exit2Click(QObject* Sender);

  // The client area, on which the page's controls are placed.
  QWidget* Client() const { return centralWidget(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void DeclareWindow();
  void DeclareMenu();
  void DeclareBoardImage();
};

// The application's main form, set at program start.
extern TMainForm* MainForm;
