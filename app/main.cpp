#include <QApplication>

#include "app/main_form.h"
#include "platform/application.h"

int main(int argc, char** argv) {
  QApplication qtApplication(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Setup"));
  // Window managers and docks match the running window to the installed desktop entry
  // by this id.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.NbQuadportSetup"));

  Application().Initialize();
  Application().CreateForm(MainForm);
  Application().Run();

  // The main form takes everything it owns with it; nothing is saved.
  delete MainForm;
  return 0;
}
