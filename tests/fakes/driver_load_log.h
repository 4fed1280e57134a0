#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <QtGlobal>

// Watches the substitute driver library being loaded: while an object of this class lives, the
// substitute appends "load <variant>" and "unload <variant>" lines to a fresh file of its own.
// The substitute reads the file name when it is loaded, so create the log before anything may
// load the library. The previous setting is restored when the log goes.
class TDriverLoadLog {
 public:
  static constexpr char kVariable[] = "FAKE_KORDRV_LOADLOG";

  TDriverLoadLog() : FHadPrevious(qEnvironmentVariableIsSet(kVariable)), FPrevious(qgetenv(kVariable)) {
    qputenv(kVariable, QFile::encodeName(Path()));
  }

  ~TDriverLoadLog() {
    if (FHadPrevious) {
      qputenv(kVariable, FPrevious);
    } else {
      qunsetenv(kVariable);
    }
  }

  TDriverLoadLog(const TDriverLoadLog&) = delete;
  TDriverLoadLog& operator=(const TDriverLoadLog&) = delete;

  QString Path() const { return FDir.filePath(QStringLiteral("loads.log")); }

  // The lines written so far, oldest first.
  QList<QByteArray> Lines() const {
    QFile file(Path());
    if (!file.open(QIODevice::ReadOnly)) return {};
    QList<QByteArray> lines = file.readAll().split('\n');
    lines.removeAll(QByteArray());
    return lines;
  }

  qsizetype Loads() const { return Count("load "); }
  qsizetype Unloads() const { return Count("unload "); }

 private:
  qsizetype Count(const char* prefix) const {
    qsizetype count = 0;
    for (const QByteArray& line : Lines()) count += line.startsWith(prefix) ? 1 : 0;
    return count;
  }

  QTemporaryDir FDir;
  bool FHadPrevious;
  QByteArray FPrevious;
};
