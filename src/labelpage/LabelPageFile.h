#pragma once
// The label page file (".KLX"): a tagged value stream holding a header list,
// the sheet's layout and one component record per label, each carrying the
// label's RTF as the binary property "RtfText.Data".
//
// Usage (the page panel's SaveToFile and LoadFromFile do this):
//   TLabelPageFile::Save(path, sheet);
//   TLabelPageFile::Load(path, sheet);
#include <functional>
#include <memory>
#include <string>

#include "labelpage/LabelSheet.h"
#include "richtext/Stream.h"

class TTaggedValueReader;
class TTaggedValueWriter;

// A save that failed. what() is the program's message ("Cannot create file
// %s", "Stream write error"); Reason() is what the system said about it, for
// the user ("Permission denied", "No space left on device").
class EFileSaveError : public EStreamError {
 public:
  EFileSaveError(const std::string& message, std::string reason)
      : EStreamError(message), FReason(std::move(reason)) {}
  const std::string& Reason() const { return FReason; }

 private:
  std::string FReason;
};

// A file written through a temporary file in the target's folder. Commit()
// puts it in the target's place with one rename, so the previous file stays
// whole until the new one is complete; a stream destroyed without Commit()
// removes its temporary file.
class TSafeFileStream : public TStream {
 public:
  // Raises EFileSaveError "Cannot create file %s" when the folder takes no
  // new file.
  explicit TSafeFileStream(const std::string& path);
  ~TSafeFileStream() override;
  TSafeFileStream(const TSafeFileStream&) = delete;
  TSafeFileStream& operator=(const TSafeFileStream&) = delete;

  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::int64_t Position() const override;
  void SetPosition(std::int64_t position) override;
  std::int64_t Size() const override;

  // Flushes to the disk and replaces the target; raises EFileSaveError.
  void Commit();
  const std::string& TemporaryPath() const { return FTemporaryPath; }
  // The system's words for the last failed write, empty when none failed.
  const std::string& LastError() const { return FLastError; }

 private:
  void Discard();

  std::string FGivenPath;
  std::string FPath;  // with a symbolic link followed
  std::string FTemporaryPath;
  std::string FLastError;
  int FHandle = -1;
};

class TLabelPageFile {
 public:
  // Lets a test put a stream between the writer and the file (for example
  // one that fails part-way, as a full disk does).
  using TStreamFilter = std::function<std::unique_ptr<TStream>(TStream& file)>;

  // Writes the header, the layout and the records of labels 1..LabelsPerPage.
  static void Write(TStream& stream, const TLabelSheet& sheet);
  // Writes the sheet to path; the previous file at path survives any failure.
  // Raises EFileSaveError.
  static void Save(const std::string& path, const TLabelSheet& sheet, const TStreamFilter& filter = {});

  // Replaces the sheet by the one in the stream. Until the layout has been
  // read and found usable (1..200 labels) the sheet is not touched; after
  // that a failure leaves the file's layout with a storage for every label,
  // holding what was read and empty elsewhere.
  static void Read(TStream& stream, TLabelSheet& sheet);
  // Read from the file at path ("Cannot open file %s").
  static void Load(const std::string& path, TLabelSheet& sheet);

  static void WriteLabelRecord(TTaggedValueWriter& writer, const TWPRtfStorage* storage);
  static void ReadLabelRecord(TTaggedValueReader& reader, TWPRtfStorage& storage);
};
