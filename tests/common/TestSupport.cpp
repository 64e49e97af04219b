#include "common/TestSupport.h"

#include <QFile>
#include <stdexcept>

namespace testsupport {

QString DataDir() {
  const QByteArray env = qgetenv("TABWRIGHT_TEST_DATA");
  return env.isEmpty() ? QStringLiteral(TABWRIGHT_SOURCE_DIR "/tests/data") : QString::fromLocal8Bit(env);
}

QString DataFile(const QString& relative) { return DataDir() + QLatin1Char('/') + relative; }

QString BinDir() {
  const QByteArray env = qgetenv("TABWRIGHT_BIN");
  return env.isEmpty() ? QStringLiteral(TABWRIGHT_BINARY_DIR "/bin") : QString::fromLocal8Bit(env);
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read " + path.toStdString());
  return f.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
    throw std::runtime_error("cannot write " + path.toStdString());
}

}  // namespace testsupport
