#include "common/TestSupport.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <csignal>
#include <stdexcept>
#include <vector>

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

namespace {
std::vector<std::string>& CommandLine() {
  static std::vector<std::string> arguments;
  return arguments;
}
}  // namespace

void SetCommandLine(int argc, char** argv) { CommandLine().assign(argv, argv + argc); }

std::optional<std::string> CommandLineValue(const std::string& name) {
  const std::vector<std::string>& arguments = CommandLine();
  for (std::size_t i = 0; i + 1 < arguments.size(); ++i)
    if (arguments[i] == name) return arguments[i + 1];
  return std::nullopt;
}

QStringList FolderEntries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

TWithoutFolderOverride::TWithoutFolderOverride() {
  if (geteuid() != 0) return;
  FHeader.version = _LINUX_CAPABILITY_VERSION_3;
  FHeader.pid = 0;
  if (syscall(SYS_capget, &FHeader, FSaved) != 0) return;
  __user_cap_data_struct reduced[2] = {FSaved[0], FSaved[1]};
  reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
  FDropped = syscall(SYS_capset, &FHeader, reduced) == 0;
}

TWithoutFolderOverride::~TWithoutFolderOverride() {
  if (FDropped) syscall(SYS_capset, &FHeader, FSaved);
}

TFileSizeLimit::TFileSizeLimit(rlim_t limit) : FOldSignal(std::signal(SIGXFSZ, SIG_IGN)) {
  getrlimit(RLIMIT_FSIZE, &FOldLimit);
  rlimit reduced = FOldLimit;
  reduced.rlim_cur = limit;
  setrlimit(RLIMIT_FSIZE, &reduced);
}

TFileSizeLimit::~TFileSizeLimit() {
  setrlimit(RLIMIT_FSIZE, &FOldLimit);
  std::signal(SIGXFSZ, FOldSignal);
}

}  // namespace testsupport
