#include "labelpage/LabelPageFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "labelpage/TaggedValueStream.h"
#include "richtext/Stream.h"

namespace {

// The header list's two integers; a reader takes any values.
enum TLabelPageHeader : int { kHeaderFirstValue = 1, kHeaderSecondValue = 33 };

const char* const ComponentSignature = "TPF0";
const char* const StorageClassName = "TWPRtfStorage";
const char* const DataPropertyName = "RtfText.Data";

std::string SystemError(int error) { return std::strerror(error); }

// The storage's "Data" property: the label's RTF followed by four zero
// bytes, present only for a label that is not empty.
bool StorageHasData(const TWPRtfStorage& storage) { return storage.RtfText().HasData(); }

std::string StorageData(const TWPRtfStorage& storage) {
  TMemoryStream data;
  storage.RtfText().WriteData(data);
  return data.Data();
}

// The document is cleared first; the RTF ends at its closing brace or at the
// first zero byte.
void LoadStorageData(TWPRtfStorage& storage, const std::string& data) {
  TMemoryStream stream(data);
  storage.RtfText().ReadData(stream);
}

// The folder part of a path, "." for a bare file name.
std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A symbolic link is followed, so that saving replaces the file it points
// to rather than the link.
std::string ResolvedTarget(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

}  // namespace

// ---------------------------------------------------------------------------
// TSafeFileStream

TSafeFileStream::TSafeFileStream(const std::string& path) : FGivenPath(path), FPath(ResolvedTarget(path)) {
  // A file the user may not write stays as it is, as it would if it were
  // written in place. Opening it for writing without truncation asks the
  // system exactly that and changes nothing.
  struct stat existing {};
  if (stat(FPath.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
    const int probe = open(FPath.c_str(), O_WRONLY | O_CLOEXEC);
    if (probe < 0) throw EFileSaveError(FormatMessage("Cannot create file %s", path), SystemError(errno));
    close(probe);
  }
  static std::atomic<unsigned> counter{0};
  const std::string stem = FolderOf(FPath) + "/." + NameOf(FPath) + ".";
  int error = 0;
  for (int attempt = 0; attempt < 100 && FHandle < 0; ++attempt) {
    FTemporaryPath = stem + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".tmp";
    // Mode 0666 lets the user's umask decide, as for any new file.
    FHandle = open(FTemporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    error = errno;
    if (FHandle < 0 && error != EEXIST) break;
  }
  if (FHandle < 0) {
    FTemporaryPath.clear();
    throw EFileSaveError(FormatMessage("Cannot create file %s", path), SystemError(error));
  }
  // A replaced file keeps its permissions.
  if (S_ISREG(existing.st_mode)) fchmod(FHandle, existing.st_mode & 07777);
}

TSafeFileStream::~TSafeFileStream() { Discard(); }

void TSafeFileStream::Discard() {
  if (FHandle >= 0) close(FHandle);
  FHandle = -1;
  if (!FTemporaryPath.empty()) unlink(FTemporaryPath.c_str());
  FTemporaryPath.clear();
}

std::size_t TSafeFileStream::Read(void*, std::size_t) { return 0; }

std::size_t TSafeFileStream::Write(const void* buffer, std::size_t count) {
  const auto* bytes = static_cast<const char*>(buffer);
  std::size_t done = 0;
  while (FHandle >= 0 && done < count) {
    const ssize_t n = write(FHandle, bytes + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      FLastError = SystemError(n < 0 ? errno : ENOSPC);
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  return done;
}

std::int64_t TSafeFileStream::Position() const { return FHandle >= 0 ? lseek(FHandle, 0, SEEK_CUR) : 0; }

void TSafeFileStream::SetPosition(std::int64_t position) {
  if (FHandle >= 0) lseek(FHandle, position, SEEK_SET);
}

std::int64_t TSafeFileStream::Size() const {
  struct stat info {};
  return FHandle >= 0 && fstat(FHandle, &info) == 0 ? info.st_size : 0;
}

void TSafeFileStream::Commit() {
  if (FHandle < 0) throw EFileSaveError("Stream write error", FLastError);
  int error = fsync(FHandle) == 0 ? 0 : errno;
  if (close(FHandle) != 0 && error == 0) error = errno;
  FHandle = -1;
  if (error != 0) {
    Discard();
    throw EFileSaveError("Stream write error", SystemError(error));
  }
  if (rename(FTemporaryPath.c_str(), FPath.c_str()) != 0) {
    error = errno;
    Discard();
    throw EFileSaveError(FormatMessage("Cannot create file %s", FGivenPath), SystemError(error));
  }
  FTemporaryPath.clear();
}

// ---------------------------------------------------------------------------
// TLabelPageFile

void TLabelPageFile::WriteLabelRecord(TTaggedValueWriter& writer, const TWPRtfStorage* storage) {
  writer.WriteListBegin();
  writer.WriteBytes(ComponentSignature);
  writer.WriteStr(StorageClassName);
  writer.WriteStr("");  // the component has no name
  if (storage && StorageHasData(*storage)) {
    writer.WriteStr(DataPropertyName);
    writer.WriteBinary(StorageData(*storage));
  }
  writer.WriteListEnd();  // properties
  writer.WriteListEnd();  // children: a storage has none
  writer.WriteListEnd();
}

void TLabelPageFile::Write(TStream& stream, const TLabelSheet& sheet) {
  TTaggedValueWriter writer(stream);
  writer.WriteListBegin();
  writer.WriteInteger(kHeaderFirstValue);
  writer.WriteInteger(kHeaderSecondValue);
  writer.WriteListEnd();
  writer.WriteListBegin();
  WriteLayout(writer, sheet.LayoutDescription());
  writer.WriteListEnd();
  for (int n = 1; n <= sheet.LabelsPerPage() && n <= MaxLabelsPerPage; ++n)
    WriteLabelRecord(writer, sheet.Storage(n).get());
}

void TLabelPageFile::Save(const std::string& path, const TLabelSheet& sheet, const TStreamFilter& filter) {
  // The whole file is made in memory first: a label that cannot be written
  // then costs no file at all.
  TMemoryStream bytes;
  Write(bytes, sheet);

  TSafeFileStream file(path);
  std::unique_ptr<TStream> filtered = filter ? filter(file) : nullptr;
  TStream& out = filtered ? *filtered : file;
  try {
    out.WriteBuffer(bytes.Data().data(), bytes.Data().size());
  } catch (const EFileSaveError&) {
    throw;
  } catch (const EStreamError& error) {
    throw EFileSaveError(error.what(), file.LastError().empty() ? error.what() : file.LastError());
  }
  file.Commit();
}

void TLabelPageFile::ReadLabelRecord(TTaggedValueReader& reader, TWPRtfStorage& storage) {
  reader.ReadListBegin();
  if (reader.ReadBytes(4) != ComponentSignature) throw EStreamError("Invalid stream format");
  reader.ReadStr();  // class name: always a storage
  reader.ReadStr();  // component name: unused
  while (!reader.EndOfList()) {
    // Property names compare without regard to ASCII case, as layout names do.
    const std::string property = reader.ReadStr();
    if (!SameLayoutName(property, DataPropertyName)) throw EStreamError("Invalid property value");
    LoadStorageData(storage, reader.ReadBinary());
  }
  reader.ReadListEnd();
  // A storage owns no components; a child record means the file is not ours.
  if (!reader.EndOfList()) throw EStreamError("Invalid stream format");
  reader.ReadListEnd();
  reader.ReadListEnd();
}

void TLabelPageFile::Read(TStream& stream, TLabelSheet& sheet) {
  TTaggedValueReader reader(stream);
  reader.ReadListBegin();
  reader.ReadInteger();  // kHeaderFirstValue, not checked
  reader.ReadInteger();  // kHeaderSecondValue, not checked
  reader.ReadListEnd();
  reader.ReadListBegin();
  TLabelLayoutRecord layout;
  ReadLayout(reader, layout);
  reader.ReadListEnd();
  // A sheet holds 1 to 200 labels; anything else is refused before the
  // panel's labels are touched.
  if (!IsUsableLayout(layout)) throw EStreamError("Invalid property value");

  sheet.Reset(layout);
  // Records beyond the label count are never read.
  for (int n = 1; n <= sheet.LabelsPerPage(); ++n) ReadLabelRecord(reader, *sheet.Storage(n));
}

void TLabelPageFile::Load(const std::string& path, TLabelSheet& sheet) {
  TFileStream file(path, TFileStream::Mode::OpenRead);
  Read(file, sheet);
}
