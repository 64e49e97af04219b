#pragma once
// Small helpers shared by the tests of every subsystem.
#include <linux/capability.h>
#include <sys/resource.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <initializer_list>
#include <optional>
#include <string>

namespace testsupport {

// Folder of the committed sample files (tests/data).
QString DataDir();
// Path of a committed sample file below tests/data.
QString DataFile(const QString& relative);
// Folder holding the built program, the layout file and the help file.
QString BinDir();

QByteArray ReadAll(const QString& path);
void WriteAll(const QString& path, const QByteArray& bytes);

// A byte string from byte values, as file formats are written in tests.
inline std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes.push_back(static_cast<char>(v));
  return bytes;
}

// The options a test binary was started with beyond GoogleTest's own, such
// as "--seeds 5000": the value after name, or nothing when name is absent.
void SetCommandLine(int argc, char** argv);
std::optional<std::string> CommandLineValue(const std::string& name);

// Every entry of a folder, hidden ones included.
QStringList FolderEntries(const QString& folder);

// Root may write into any folder. For the life of this object the calling
// thread drops that privilege from its effective set (it stays permitted and
// comes back), so a read-only folder refuses root as it refuses a user.
class TWithoutFolderOverride {
 public:
  TWithoutFolderOverride();
  ~TWithoutFolderOverride();
  TWithoutFolderOverride(const TWithoutFolderOverride&) = delete;
  TWithoutFolderOverride& operator=(const TWithoutFolderOverride&) = delete;

 private:
  __user_cap_header_struct FHeader{};
  __user_cap_data_struct FSaved[2]{};
  bool FDropped = false;
};

// The system lets no file of this process grow beyond limit bytes, as a full
// disk would refuse the rest of a write.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t limit);
  ~TFileSizeLimit();
  TFileSizeLimit(const TFileSizeLimit&) = delete;
  TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

 private:
  void (*FOldSignal)(int);
  rlimit FOldLimit{};
};

}  // namespace testsupport
