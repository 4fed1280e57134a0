#include <QApplication>

#include "examples/minimal_page/minimal_form.h"
#include "platform/application.h"

int main(int argc, char** argv) {
  QApplication qtApplication(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Setup"));

  TMinimalForm* form = nullptr;
  Application().Initialize();
  Application().CreateForm(form);
  Application().Run();

  delete form;
  return 0;
}
