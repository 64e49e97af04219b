#pragma once
// Byte streams shared by the rich text engine and the label page files: a
// small seekable stream interface with a memory and a file implementation.
// Failures raise EStreamError carrying the message the user is shown.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

class EStreamError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TStream {
 public:
  virtual ~TStream() = default;
  // Reads up to count bytes; returns how many were read (0 at the end).
  virtual std::size_t Read(void* buffer, std::size_t count) = 0;
  // Writes up to count bytes; returns how many were written.
  virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
  virtual std::int64_t Position() const = 0;
  virtual void SetPosition(std::int64_t position) = 0;
  virtual std::int64_t Size() const = 0;

  // Reads exactly count bytes or raises "Stream read error".
  void ReadBuffer(void* buffer, std::size_t count);
  // Writes exactly count bytes or raises "Stream write error".
  void WriteBuffer(const void* buffer, std::size_t count);
  void WriteString(const std::string& bytes) { WriteBuffer(bytes.data(), bytes.size()); }
  void WriteByte(std::uint8_t byte) { WriteBuffer(&byte, 1); }
  std::int64_t Remaining() const { return Size() - Position(); }
};

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::string bytes) : FData(std::move(bytes)) {}

  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::int64_t Position() const override { return FPosition; }
  void SetPosition(std::int64_t position) override;
  std::int64_t Size() const override { return static_cast<std::int64_t>(FData.size()); }

  const std::string& Data() const { return FData; }
  void Clear() {
    FData.clear();
    FPosition = 0;
  }

 private:
  std::string FData;
  std::int64_t FPosition = 0;
};

// A file opened for reading ("Cannot open file %s") or created for writing
// ("Cannot create file %s"); the %s is the path as given.
class TFileStream : public TStream {
 public:
  enum class Mode { OpenRead, Create };
  TFileStream(const std::string& path, Mode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::int64_t Position() const override;
  void SetPosition(std::int64_t position) override;
  std::int64_t Size() const override;

  // Flushes and closes; raises "Stream write error" when buffered bytes could
  // not be written. The destructor closes silently.
  void Close();

 private:
  std::FILE* FFile = nullptr;
};

// Replaces %s in a message pattern with the argument.
std::string FormatMessage(const std::string& pattern, const std::string& argument);
