#include "labelpage/TaggedValueStream.h"

namespace {

const char* const InvalidPropertyValue = "Invalid property value";

// A length read from a file may be anything; refuse one that runs past the
// end before allocating for it.
void CheckAvailable(TStream& stream, std::uint64_t length) {
  const std::int64_t remaining = stream.Remaining();
  if (remaining < 0 || length > static_cast<std::uint64_t>(remaining))
    throw EStreamError("Stream read error");
}

}  // namespace

TValueTag TTaggedValueReader::ReadValue() {
  std::uint8_t tag = 0;
  FStream.ReadBuffer(&tag, 1);
  return static_cast<TValueTag>(tag);
}

TValueTag TTaggedValueReader::NextValue() {
  const std::int64_t at = FStream.Position();
  const TValueTag tag = ReadValue();
  FStream.SetPosition(at);
  return tag;
}

void TTaggedValueReader::CheckValue(TValueTag expected) {
  if (ReadValue() != expected) throw EStreamError(InvalidPropertyValue);
}

void TTaggedValueReader::ReadListBegin() { CheckValue(TValueTag::List); }

void TTaggedValueReader::ReadListEnd() { CheckValue(TValueTag::Null); }

std::uint32_t TTaggedValueReader::ReadUInt32() {
  std::uint8_t bytes[4];
  FStream.ReadBuffer(bytes, 4);
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::int32_t TTaggedValueReader::ReadInteger() {
  switch (ReadValue()) {
    case TValueTag::Int8: {
      std::int8_t value = 0;
      FStream.ReadBuffer(&value, 1);
      return value;
    }
    case TValueTag::Int16: {
      std::uint8_t bytes[2];
      FStream.ReadBuffer(bytes, 2);
      return static_cast<std::int16_t>(bytes[0] | bytes[1] << 8);
    }
    case TValueTag::Int32:
      return static_cast<std::int32_t>(ReadUInt32());
    default:
      throw EStreamError(InvalidPropertyValue);
  }
}

std::string TTaggedValueReader::ReadString() {
  switch (ReadValue()) {
    case TValueTag::String: {
      std::uint8_t length = 0;
      FStream.ReadBuffer(&length, 1);
      return ReadBytes(length);
    }
    case TValueTag::LString:
      return ReadBytes(ReadUInt32());
    default:
      throw EStreamError(InvalidPropertyValue);
  }
}

std::string TTaggedValueReader::ReadBinary() {
  CheckValue(TValueTag::Binary);
  return ReadBytes(ReadUInt32());
}

std::string TTaggedValueReader::ReadStr() {
  std::uint8_t length = 0;
  FStream.ReadBuffer(&length, 1);
  return ReadBytes(length);
}

std::string TTaggedValueReader::ReadBytes(std::size_t count) {
  CheckAvailable(FStream, count);
  std::string bytes(count, '\0');
  FStream.ReadBuffer(bytes.data(), count);
  return bytes;
}

void TTaggedValueWriter::WriteUInt32(std::uint32_t value) {
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                 static_cast<std::uint8_t>(value >> 16),
                                 static_cast<std::uint8_t>(value >> 24)};
  FStream.WriteBuffer(bytes, 4);
}

void TTaggedValueWriter::WriteInteger(std::int32_t value) {
  if (value >= -128 && value <= 127) {
    WriteValue(TValueTag::Int8);
    FStream.WriteByte(static_cast<std::uint8_t>(value));
  } else if (value >= -32768 && value <= 32767) {
    WriteValue(TValueTag::Int16);
    const auto bits = static_cast<std::uint16_t>(value);
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8)};
    FStream.WriteBuffer(bytes, 2);
  } else {
    WriteValue(TValueTag::Int32);
    WriteUInt32(static_cast<std::uint32_t>(value));
  }
}

void TTaggedValueWriter::WriteString(const std::string& text) {
  if (text.size() < 256) {
    WriteValue(TValueTag::String);
    FStream.WriteByte(static_cast<std::uint8_t>(text.size()));
  } else {
    WriteValue(TValueTag::LString);
    WriteUInt32(static_cast<std::uint32_t>(text.size()));
  }
  FStream.WriteString(text);
}

void TTaggedValueWriter::WriteBinary(const std::string& bytes) {
  WriteValue(TValueTag::Binary);
  WriteUInt32(static_cast<std::uint32_t>(bytes.size()));
  FStream.WriteString(bytes);
}

void TTaggedValueWriter::WriteStr(const std::string& text) {
  const std::size_t length = text.size() < 256 ? text.size() : 255;
  FStream.WriteByte(static_cast<std::uint8_t>(length));
  FStream.WriteBuffer(text.data(), length);
}
