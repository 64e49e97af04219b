#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "common/TestSupport.h"
#include "labelpage/TaggedValueStream.h"

namespace {

using testsupport::Bytes;

template <typename Read>
std::string ErrorOf(const std::string& bytes, Read read) {
  TMemoryStream stream(bytes);
  TTaggedValueReader reader(stream);
  try {
    read(reader);
  } catch (const EStreamError& error) {
    return error.what();
  }
  return "no error";
}

TEST(TaggedValueStream, WritesEachIntegerInItsNarrowestForm) {
  struct Case {
    std::int32_t Value;
    std::string Expected;
  };
  const Case cases[] = {
      {0, Bytes({0x02, 0x00})},
      {127, Bytes({0x02, 0x7F})},
      {-128, Bytes({0x02, 0x80})},
      {128, Bytes({0x03, 0x80, 0x00})},
      {-129, Bytes({0x03, 0x7F, 0xFF})},
      {32767, Bytes({0x03, 0xFF, 0x7F})},
      {-32768, Bytes({0x03, 0x00, 0x80})},
      {32768, Bytes({0x04, 0x00, 0x80, 0x00, 0x00})},
      {-32769, Bytes({0x04, 0xFF, 0x7F, 0xFF, 0xFF})},
      {INT32_MAX, Bytes({0x04, 0xFF, 0xFF, 0xFF, 0x7F})},
      {INT32_MIN, Bytes({0x04, 0x00, 0x00, 0x00, 0x80})},
  };
  for (const Case& c : cases) {
    TMemoryStream stream;
    TTaggedValueWriter writer(stream);
    writer.WriteInteger(c.Value);
    EXPECT_EQ(stream.Data(), c.Expected) << c.Value;
    stream.SetPosition(0);
    TTaggedValueReader reader(stream);
    EXPECT_EQ(reader.ReadInteger(), c.Value);
    EXPECT_EQ(stream.Remaining(), 0);
  }
}

TEST(TaggedValueStream, ReadsWiderIntegerFormsAndSignExtends) {
  TMemoryStream stream(Bytes({0x04, 0x05, 0x00, 0x00, 0x00, 0x03, 0xFF, 0xFF, 0x02, 0xFE, 0x04, 0xFF, 0xFF,
                              0xFF, 0xFF, 0x03, 0x01, 0x00}));
  TTaggedValueReader reader(stream);
  EXPECT_EQ(reader.ReadInteger(), 5);
  EXPECT_EQ(reader.ReadInteger(), -1);
  EXPECT_EQ(reader.ReadInteger(), -2);
  EXPECT_EQ(reader.ReadInteger(), -1);
  EXPECT_EQ(reader.ReadInteger(), 1);
}

TEST(TaggedValueStream, StringsUseTheShortFormBelow256BytesAndReadBothForms) {
  TMemoryStream stream;
  TTaggedValueWriter writer(stream);
  const std::string empty, short255(255, 'a'), long256(256, '\xE9');
  writer.WriteString(empty);
  writer.WriteString(short255);
  writer.WriteString(long256);
  const std::string& data = stream.Data();
  EXPECT_EQ(data.substr(0, 2), Bytes({0x06, 0x00}));
  EXPECT_EQ(data.substr(2, 2), Bytes({0x06, 0xFF}));
  EXPECT_EQ(data.substr(259, 5), Bytes({0x0C, 0x00, 0x01, 0x00, 0x00}));
  EXPECT_EQ(data.size(), 2u + 257u + 5u + 256u);

  stream.SetPosition(0);
  TTaggedValueReader reader(stream);
  EXPECT_EQ(reader.ReadString(), empty);
  EXPECT_EQ(reader.ReadString(), short255);
  EXPECT_EQ(reader.ReadString(), long256);

  TMemoryStream longShort(Bytes({0x0C, 0x02, 0x00, 0x00, 0x00, 'h', 'i'}));
  EXPECT_EQ(TTaggedValueReader(longShort).ReadString(), "hi");
}

TEST(TaggedValueStream, ListsBinariesAndUntaggedTextsRoundTrip) {
  TMemoryStream stream;
  TTaggedValueWriter writer(stream);
  const std::string binary("{\\rtf1 x}\0\0\0\0", 13);
  writer.WriteListBegin();
  writer.WriteStr("TWPRtfStorage");
  writer.WriteBinary(binary);
  writer.WriteStr(std::string(300, 'n'));
  writer.WriteListEnd();
  EXPECT_EQ(stream.Data().substr(0, 3), Bytes({0x01, 0x0D, 'T'}));

  stream.SetPosition(0);
  TTaggedValueReader reader(stream);
  reader.ReadListBegin();
  EXPECT_FALSE(reader.EndOfList());
  EXPECT_EQ(reader.ReadStr(), "TWPRtfStorage");
  EXPECT_EQ(reader.NextValue(), TValueTag::Binary);
  EXPECT_EQ(reader.ReadBinary(), binary);
  EXPECT_EQ(reader.ReadStr(), std::string(255, 'n'));
  EXPECT_TRUE(reader.EndOfList());
  reader.ReadListEnd();
  EXPECT_EQ(stream.Remaining(), 0);
}

TEST(TaggedValueStream, AWrongTagIsAnInvalidPropertyValue) {
  const auto integer = [](TTaggedValueReader& r) { r.ReadInteger(); };
  const auto string = [](TTaggedValueReader& r) { r.ReadString(); };
  EXPECT_EQ(ErrorOf(Bytes({0x06, 0x00}), integer), "Invalid property value");
  EXPECT_EQ(ErrorOf(Bytes({0x05, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), integer), "Invalid property value");
  EXPECT_EQ(ErrorOf(Bytes({0x02, 0x01}), string), "Invalid property value");
  EXPECT_EQ(ErrorOf(Bytes({0x00}), [](TTaggedValueReader& r) { r.ReadListBegin(); }),
            "Invalid property value");
  EXPECT_EQ(ErrorOf(Bytes({0x01}), [](TTaggedValueReader& r) { r.ReadListEnd(); }), "Invalid property value");
  EXPECT_EQ(ErrorOf(Bytes({0x06, 0x00}), [](TTaggedValueReader& r) { r.ReadBinary(); }),
            "Invalid property value");
}

TEST(TaggedValueStream, RunningOutOfBytesIsAStreamReadError) {
  const auto integer = [](TTaggedValueReader& r) { r.ReadInteger(); };
  const auto string = [](TTaggedValueReader& r) { r.ReadString(); };
  EXPECT_EQ(ErrorOf("", integer), "Stream read error");
  EXPECT_EQ(ErrorOf(Bytes({0x03, 0xFF}), integer), "Stream read error");
  EXPECT_EQ(ErrorOf(Bytes({0x04, 0x01, 0x02, 0x03}), integer), "Stream read error");
  EXPECT_EQ(ErrorOf(Bytes({0x06, 0x03, 'a', 'b'}), string), "Stream read error");
  EXPECT_EQ(ErrorOf("", [](TTaggedValueReader& r) { r.ReadListBegin(); }), "Stream read error");
  // A damaged length must fail, not allocate four gigabytes.
  EXPECT_EQ(ErrorOf(Bytes({0x0C, 0xFF, 0xFF, 0xFF, 0xFF, 'x'}), string), "Stream read error");
  EXPECT_EQ(ErrorOf(Bytes({0x0A, 0xFF, 0xFF, 0xFF, 0x7F}), [](TTaggedValueReader& r) { r.ReadBinary(); }),
            "Stream read error");
}

}  // namespace
