#include "richtext/Stream.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

TEST(Stream, MemoryReadWriteAndShortRead) {
  TMemoryStream s;
  s.WriteString("abc");
  EXPECT_EQ(s.Size(), 3);
  s.SetPosition(1);
  char two[2];
  s.ReadBuffer(two, 2);
  EXPECT_EQ(std::string(two, 2), "bc");
  char one;
  EXPECT_THROW(
      {
        try {
          s.ReadBuffer(&one, 1);
        } catch (const EStreamError& e) {
          EXPECT_STREQ(e.what(), "Stream read error");
          throw;
        }
      },
      EStreamError);
}

TEST(Stream, FileOpenAndCreateFailuresNameThePath) {
  QTemporaryDir dir;
  const std::string missing = dir.path().toStdString() + "/missing.bin";
  try {
    TFileStream f(missing, TFileStream::Mode::OpenRead);
    FAIL();
  } catch (const EStreamError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + missing);
  }
  const std::string bad = dir.path().toStdString() + "/no/such/folder/x.bin";
  try {
    TFileStream f(bad, TFileStream::Mode::Create);
    FAIL();
  } catch (const EStreamError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + bad);
  }
}

TEST(Stream, FileRoundTrip) {
  QTemporaryDir dir;
  const std::string path = dir.path().toStdString() + "/x.bin";
  {
    TFileStream f(path, TFileStream::Mode::Create);
    f.WriteString(std::string("a\0b", 3));
    f.Close();
  }
  TFileStream f(path, TFileStream::Mode::OpenRead);
  EXPECT_EQ(f.Size(), 3);
  char buf[3];
  f.ReadBuffer(buf, 3);
  EXPECT_EQ(std::string(buf, 3), std::string("a\0b", 3));
  EXPECT_EQ(f.Remaining(), 0);
}
