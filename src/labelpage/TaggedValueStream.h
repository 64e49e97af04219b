#pragma once
// The tagged value stream shared by the layout file and the label page file:
// every value starts with a one-byte tag, payloads are little-endian.
// Readers raise EStreamError with "Invalid property value" for a tag other
// than the one expected and "Stream read error" when the bytes run out.
#include <cstdint>
#include <string>

#include "richtext/Stream.h"

enum class TValueTag : std::uint8_t {
  Null = 0x00,  // end of list
  List = 0x01,  // list begin
  Int8 = 0x02,
  Int16 = 0x03,
  Int32 = 0x04,
  String = 0x06,  // length byte, then the text
  Binary = 0x0A,  // 4-byte length, then the bytes
  LString = 0x0C  // 4-byte length, then the text
};

class TTaggedValueReader {
 public:
  explicit TTaggedValueReader(TStream& stream) : FStream(stream) {}

  TValueTag ReadValue();
  // The tag of the next value, without consuming it.
  TValueTag NextValue();
  bool EndOfList() { return NextValue() == TValueTag::Null; }

  void ReadListBegin();
  void ReadListEnd();
  // Accepts any of the three integer forms and sign-extends.
  std::int32_t ReadInteger();
  // Accepts the short and the long string form.
  std::string ReadString();
  std::string ReadBinary();
  // A length-prefixed text without a tag (names inside component records).
  std::string ReadStr();
  // Exactly count raw bytes.
  std::string ReadBytes(std::size_t count);

  TStream& Stream() { return FStream; }

 private:
  void CheckValue(TValueTag expected);
  std::uint32_t ReadUInt32();
  TStream& FStream;
};

class TTaggedValueWriter {
 public:
  explicit TTaggedValueWriter(TStream& stream) : FStream(stream) {}

  void WriteListBegin() { WriteValue(TValueTag::List); }
  void WriteListEnd() { WriteValue(TValueTag::Null); }
  // Chooses the narrowest of the three integer forms.
  void WriteInteger(std::int32_t value);
  // Short form below 256 bytes, long form otherwise.
  void WriteString(const std::string& text);
  void WriteBinary(const std::string& bytes);
  // A length-prefixed text without a tag; texts over 255 bytes are cut to 255.
  void WriteStr(const std::string& text);
  void WriteBytes(const std::string& bytes) { FStream.WriteString(bytes); }

  TStream& Stream() { return FStream; }

 private:
  void WriteValue(TValueTag tag) { FStream.WriteByte(static_cast<std::uint8_t>(tag)); }
  void WriteUInt32(std::uint32_t value);
  TStream& FStream;
};
