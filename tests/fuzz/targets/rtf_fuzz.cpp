// Feeds arbitrary bytes to the RTF reader and lays the resulting document out, as the help
// window does with its text. Any crash, sanitizer report or hang is a finding.

#include <QByteArray>
#include <QGuiApplication>
#include <QTextDocument>
#include <cstddef>
#include <cstdint>

#include "platform/rtf_reader.h"

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  // Fonts and layout need the application object; the fuzzer's own arguments stay its own.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "rtf_fuzz";
  static char* argv[] = {name, nullptr};
  static QGuiApplication application(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray rtf =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QTextDocument document;
  ReadRtf(rtf, &document);
  document.setTextWidth(305);
  (void)document.size();
  return 0;
}
