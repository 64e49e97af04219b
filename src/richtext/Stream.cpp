#include "richtext/Stream.h"

#include <algorithm>
#include <cstring>

void TStream::ReadBuffer(void* buffer, std::size_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EStreamError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::size_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EStreamError("Stream write error");
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
  if (FPosition >= Size()) return 0;
  const std::size_t n = std::min<std::size_t>(count, static_cast<std::size_t>(Size() - FPosition));
  std::memcpy(buffer, FData.data() + FPosition, n);
  FPosition += static_cast<std::int64_t>(n);
  return n;
}

std::size_t TMemoryStream::Write(const void* buffer, std::size_t count) {
  const auto end = static_cast<std::size_t>(FPosition) + count;
  if (end > FData.size()) FData.resize(end);
  std::memcpy(FData.data() + FPosition, buffer, count);
  FPosition = static_cast<std::int64_t>(end);
  return count;
}

void TMemoryStream::SetPosition(std::int64_t position) { FPosition = std::max<std::int64_t>(0, position); }

std::string FormatMessage(const std::string& pattern, const std::string& argument) {
  std::string result = pattern;
  const auto at = result.find("%s");
  if (at != std::string::npos) result.replace(at, 2, argument);
  return result;
}

TFileStream::TFileStream(const std::string& path, Mode mode) {
  FFile = std::fopen(path.c_str(), mode == Mode::OpenRead ? "rb" : "wb");
  if (!FFile)
    throw EStreamError(FormatMessage(mode == Mode::OpenRead ? "Cannot open file %s" : "Cannot create file %s", path));
}

TFileStream::~TFileStream() {
  if (FFile) std::fclose(FFile);
}

void TFileStream::Close() {
  if (!FFile) return;
  const bool ok = std::fflush(FFile) == 0;
  const bool closed = std::fclose(FFile) == 0;
  FFile = nullptr;
  if (!ok || !closed) throw EStreamError("Stream write error");
}

std::size_t TFileStream::Read(void* buffer, std::size_t count) { return FFile ? std::fread(buffer, 1, count, FFile) : 0; }

std::size_t TFileStream::Write(const void* buffer, std::size_t count) {
  return FFile ? std::fwrite(buffer, 1, count, FFile) : 0;
}

std::int64_t TFileStream::Position() const { return FFile ? ftello(FFile) : 0; }

void TFileStream::SetPosition(std::int64_t position) {
  if (FFile) fseeko(FFile, position, SEEK_SET);
}

std::int64_t TFileStream::Size() const {
  if (!FFile) return 0;
  const auto here = ftello(FFile);
  fseeko(FFile, 0, SEEK_END);
  const auto size = ftello(FFile);
  fseeko(FFile, here, SEEK_SET);
  return size;
}
