#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <csignal>
#include <cstdint>
#include <string>

#include "common/TestSupport.h"
#include "labelpage/LabelPageFile.h"
#include "labelpage/LabelRenderer.h"
#include "labelpage/LabelPageTestSupport.h"
#include "labelpage/TaggedValueStream.h"

namespace {

using testsupport::Bytes;

using labelpagetest::GridLayout;
using testsupport::DataFile;
using testsupport::FolderEntries;
using testsupport::ReadAll;
using testsupport::TWithoutFolderOverride;
using testsupport::WriteAll;

// A label's RTF goes into and out of its storage as its "Data" property.
void PutRtf(TWPRtfStorage& storage, const std::string& rtf) { labelpagetest::PutRtf(storage.RtfText(), rtf); }
std::string RtfOf(TWPRtfStorage& storage) {
  TMemoryStream stream;
  storage.RtfText().WriteData(stream);
  return stream.Data().substr(0, stream.Data().size() >= 4 ? stream.Data().size() - 4 : 0);
}
bool SaysHello(TWPRtfStorage& storage) { return labelpagetest::TextOf(storage.RtfText()) == "Hello"; }

const std::string HelloRtf = R"({\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}}\f0\fs20 Hello\par})";

std::string LittleEndian32(std::uint32_t v) {
  return Bytes({int(v & 0xFF), int(v >> 8 & 0xFF), int(v >> 16 & 0xFF), int(v >> 24 & 0xFF)});
}

const std::string EmptyRecord = Bytes({1}) + "TPF0" + Bytes({13}) + "TWPRtfStorage" + Bytes({0, 0, 0, 0});

std::string RecordWithData(const std::string& rtf) {
  const std::string data = rtf + std::string(4, '\0');
  return Bytes({1}) + "TPF0" + Bytes({13}) + "TWPRtfStorage" + Bytes({0, 12}) + "RtfText.Data" +
         Bytes({0x0A}) + LittleEndian32(static_cast<std::uint32_t>(data.size())) + data + Bytes({0, 0, 0});
}

// The layout of the 78-byte example: "X", one label, every other field 0.
TLabelLayoutRecord ExampleLayout() {
  TLabelLayoutRecord layout;
  layout.LayoutName = "X";
  layout.NumberAcross = 1;
  layout.NumberDown = 1;
  return layout;
}

std::string HeaderAndLayout(const TLabelLayoutRecord& layout) {
  TMemoryStream stream;
  TTaggedValueWriter writer(stream);
  writer.WriteListBegin();
  writer.WriteInteger(1);
  writer.WriteInteger(33);
  writer.WriteListEnd();
  writer.WriteListBegin();
  WriteLayout(writer, layout);
  writer.WriteListEnd();
  return stream.Data();
}

// Passes the first Limit bytes on and then writes no more, as a full disk.
class TFullDiskStream : public TStream {
 public:
  TFullDiskStream(TStream& file, std::size_t limit) : FFile(file), FLeft(limit) {}
  std::size_t Read(void*, std::size_t) override { return 0; }
  std::size_t Write(const void* buffer, std::size_t count) override {
    const std::size_t n = FFile.Write(buffer, std::min(count, FLeft));
    FLeft -= n;
    return n;
  }
  std::int64_t Position() const override { return FFile.Position(); }
  void SetPosition(std::int64_t position) override { FFile.SetPosition(position); }
  std::int64_t Size() const override { return FFile.Size(); }

 private:
  TStream& FFile;
  std::size_t FLeft;
};

class LabelPageFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FFolder.isValid());
    FLayouts.Add(ExampleLayout());
    FLayouts.Add(GridLayout(3, 10, "Thirty"));
    FLayouts.Add(GridLayout(2, 2, "Four"));
  }

  std::string PathOf(const QString& name) const { return FFolder.filePath(name).toStdString(); }
  QString QPathOf(const QString& name) const { return FFolder.filePath(name); }

  // A new sheet of the named layout with the given RTF in its first labels.
  void NewSheet(const std::string& layout, std::initializer_list<std::string> texts = {}) {
    FSheet.SetLayout(FLayouts.FindLast(layout), false);
    int n = 1;
    for (const std::string& text : texts)
      if (const int label = n++; !text.empty()) PutRtf(*FSheet.Storage(label), text);
  }
  void Save(const std::string& path) { TLabelPageFile::Save(path, FSheet); }
  void Load(const std::string& path) { TLabelPageFile::Load(path, FSheet); }

  // Expects the load to fail with message, the panel consistent afterwards.
  void ExpectLoadFails(const std::string& path, const std::string& message) {
    try {
      Load(path);
      ADD_FAILURE() << "loaded " << path;
    } catch (const EStreamError& error) {
      EXPECT_EQ(error.what(), message);
    }
    ExpectConsistent();
  }

  void ExpectConsistent() {
    ASSERT_TRUE(IsUsableLayout(FSheet.LayoutDescription()));
    EXPECT_EQ(FSheet.LabelsPerPage(), LabelCountOf(FSheet.LayoutDescription()));
    for (int n = 1; n <= FSheet.LabelsPerPage(); ++n) EXPECT_NE(FSheet.Storage(n), nullptr) << "label " << n;
  }

  QTemporaryDir FFolder;
  TLabelLayoutArray FLayouts;
  TLabelSheet FSheet;
};

TEST_F(LabelPageFile, ExampleSheetIsWrittenByteForByte) {
  const QByteArray example = ReadAll(DataFile("labelpage/Example78.KLX"));
  ASSERT_EQ(example.size(), 78);
  NewSheet("X");
  Save(PathOf("example.KLX"));
  EXPECT_EQ(ReadAll(QPathOf("example.KLX")), example);
}

TEST_F(LabelPageFile, ExampleSheetReadsBack) {
  NewSheet("Thirty", {HelloRtf});
  Load(DataFile("labelpage/Example78.KLX").toStdString());
  EXPECT_EQ(FSheet.LayoutDescription(), ExampleLayout());
  EXPECT_EQ(FSheet.LabelsPerPage(), 1);
  ASSERT_NE(FSheet.Storage(1), nullptr);
  EXPECT_TRUE(FSheet.Storage(1)->RtfText().IsEmpty());
  for (int n = 2; n <= MaxLabelsPerPage; ++n) EXPECT_EQ(FSheet.Storage(n), nullptr) << "label " << n;
}

TEST_F(LabelPageFile, EmptySheetWrites23BytesPerLabel) {
  NewSheet("Thirty");
  Save(PathOf("empty.KLX"));
  const std::string bytes = ReadAll(QPathOf("empty.KLX")).toStdString();
  const std::string head = HeaderAndLayout(GridLayout(3, 10, "Thirty"));
  ASSERT_EQ(bytes.size(), head.size() + 30 * 23);
  EXPECT_EQ(bytes.substr(0, head.size()), head);
  for (int n = 0; n < 30; ++n) EXPECT_EQ(bytes.substr(head.size() + n * 23, 23), EmptyRecord) << n;
}

TEST_F(LabelPageFile, LabelsWithTextCarryTheirRtfAsOneBinaryValue) {
  std::string longRtf = R"({\rtf1\ansi )";
  while (longRtf.size() < 700) longRtf += "A rather long label text. ";
  longRtf += "}";
  NewSheet("Four", {HelloRtf, "", longRtf});
  Save(PathOf("text.KLX"));

  const std::string expected = HeaderAndLayout(GridLayout(2, 2, "Four")) +
                               RecordWithData(RtfOf(*FSheet.Storage(1))) + EmptyRecord +
                               RecordWithData(RtfOf(*FSheet.Storage(3))) + EmptyRecord;
  EXPECT_EQ(ReadAll(QPathOf("text.KLX")).toStdString(), expected);
  EXPECT_GT(RtfOf(*FSheet.Storage(3)).size(), 255u);

  TLabelSheet reopened;
  TLabelPageFile::Load(PathOf("text.KLX"), reopened);
  ASSERT_EQ(reopened.LabelsPerPage(), 4);
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(RtfOf(*reopened.Storage(n)), RtfOf(*FSheet.Storage(n))) << n;
}

// A label's document takes its resolution, and with it the snapping of
// indents and tabs, only from a canvas that lays it out: drawing the sheet
// and saving it again keeps what was read, off the grid or not.
TEST_F(LabelPageFile, OpeningDrawingAndSavingKeepsIndentsAndTabsAsRead) {
  const std::string words = "\\li1000\\fi-300\\ri1010\\tx1000\\tqr\\tx2505";
  const std::string rtf = "{\\rtf1{\\fonttbl{\\f0 Arial;}}" + words + " a\\tab b}";
  WriteAll(QPathOf("offgrid.KLX"),
           QByteArray::fromStdString(HeaderAndLayout(GridLayout(2, 2, "Four")) + RecordWithData(rtf) +
                                     EmptyRecord + EmptyRecord + EmptyRecord));
  Load(PathOf("offgrid.KLX"));
  QImage page(800, 600, QImage::Format_RGB32);
  {
    QPainter painter(&page);
    TLabelRenderer renderer;
    renderer.Render(FSheet, 1, painter, QRect(10, 10, 300, 100), 100, 0);
  }
  Save(PathOf("again.KLX"));
  const std::string saved = ReadAll(QPathOf("again.KLX")).toStdString();
  EXPECT_NE(saved.find("{\\tx1000\\tqr\\tx2505\\li1000\\fi-300\\ri1010\\plain"), std::string::npos) << saved;
}

TEST_F(LabelPageFile, LayoutSurvivesSaveAndLoadWithReservedFields) {
  TLabelLayoutRecord layout = GridLayout(2, 2, std::string(300, 'L'));  // a long-string name
  layout.Reserved1 = -7;
  layout.Reserved2 = 70000;
  layout.Reserved3 = -40000;
  layout.Reserved4 = 2147483647;
  layout.StripeStyle = 2;
  layout.HorizontalCenterGap = -129;
  layout.VerticalCenterGap = 32768;
  layout.PaperSize = 9;
  FLayouts.Add(layout);
  NewSheet(layout.LayoutName);
  Save(PathOf("reserved.KLX"));

  TLabelSheet reopened;
  TLabelPageFile::Load(PathOf("reserved.KLX"), reopened);
  EXPECT_EQ(reopened.LayoutDescription(), layout);
}

TEST_F(LabelPageFile, WideIntegerFormsLoad) {
  Load(DataFile("labelpage/WideIntegers.KLX").toStdString());
  const TLabelLayoutRecord& layout = FSheet.LayoutDescription();
  EXPECT_EQ(layout.LayoutName, "Wide Sheet");
  EXPECT_EQ(layout.LabelWidth, 3437);
  EXPECT_EQ(layout.TextBottom, 567);
  EXPECT_EQ(layout.StripeStyle, 1);
  ASSERT_EQ(FSheet.LabelsPerPage(), 2);
  EXPECT_TRUE(FSheet.Storage(1)->RtfText().IsEmpty());
  EXPECT_TRUE(SaysHello(*FSheet.Storage(2)));
}

TEST_F(LabelPageFile, RecordsBeyondTheLabelCountAreNeverRead) {
  Load(DataFile("labelpage/ExtraRecords.KLX").toStdString());
  ASSERT_EQ(FSheet.LabelsPerPage(), 2);
  EXPECT_TRUE(SaysHello(*FSheet.Storage(1)));
  EXPECT_TRUE(FSheet.Storage(2)->RtfText().IsEmpty());
  EXPECT_EQ(FSheet.Storage(3), nullptr);
}

TEST_F(LabelPageFile, LayoutUnknownToTheLayoutFileBecomesCurrent) {
  Load(DataFile("labelpage/UnknownLayout.KLX").toStdString());
  EXPECT_EQ(FSheet.LayoutDescription().LayoutName, "Not In Any Layout File");
  EXPECT_EQ(FSheet.LayoutDescription().Reserved4, 2147483647);
  EXPECT_EQ(FSheet.LabelsPerPage(), 4);
  EXPECT_TRUE(SaysHello(*FSheet.Storage(4)));
}

TEST_F(LabelPageFile, MissingFileLeavesTheSheetAlone) {
  NewSheet("Four", {HelloRtf});
  const std::string path = PathOf("missing.KLX");
  ExpectLoadFails(path, "Cannot open file " + path);
  EXPECT_EQ(FSheet.LayoutDescription().LayoutName, "Four");
  EXPECT_TRUE(SaysHello(*FSheet.Storage(1)));
}

TEST_F(LabelPageFile, FileOfAnotherKindIsRefusedBeforeTheSheetChanges) {
  NewSheet("Four", {HelloRtf});
  ExpectLoadFails(DataFile("labelpage/OtherKind.KLX").toStdString(), "Invalid property value");
  EXPECT_EQ(FSheet.LayoutDescription().LayoutName, "Four");
  EXPECT_TRUE(SaysHello(*FSheet.Storage(1)));

  WriteAll(QPathOf("short.KLX"), QByteArray("\x01\x02", 2));
  ExpectLoadFails(PathOf("short.KLX"), "Stream read error");
}

TEST_F(LabelPageFile, LayoutWithoutLabelsOrWithTooManyIsRefused) {
  NewSheet("Four", {HelloRtf});
  for (auto [across, down] : {std::pair{0, 5}, {5, 0}, {-2, -3}, {20, 11}, {65536, 65536}}) {
    TLabelLayoutRecord layout = GridLayout(across, down, "Bad");
    WriteAll(QPathOf("bad.KLX"), QByteArray::fromStdString(HeaderAndLayout(layout) + EmptyRecord));
    ExpectLoadFails(PathOf("bad.KLX"), "Invalid property value");
    EXPECT_EQ(FSheet.LayoutDescription().LayoutName, "Four") << across << " x " << down;
    EXPECT_TRUE(SaysHello(*FSheet.Storage(1)));
  }
  // 200 labels are allowed.
  WriteAll(QPathOf("200.KLX"), QByteArray::fromStdString(HeaderAndLayout(GridLayout(10, 20, "Full"))));
  ExpectLoadFails(PathOf("200.KLX"), "Stream read error");
  EXPECT_EQ(FSheet.LabelsPerPage(), 200);
}

TEST_F(LabelPageFile, TruncatedFileKeepsWhatWasRead) {
  NewSheet("Thirty", {HelloRtf, HelloRtf, HelloRtf, HelloRtf});
  ExpectLoadFails(DataFile("labelpage/Truncated.KLX").toStdString(), "Stream read error");
  EXPECT_EQ(FSheet.LayoutDescription().LayoutName, "Three");
  ASSERT_EQ(FSheet.LabelsPerPage(), 3);
  EXPECT_TRUE(SaysHello(*FSheet.Storage(1)));
  EXPECT_TRUE(FSheet.Storage(2)->RtfText().IsEmpty());
  EXPECT_TRUE(FSheet.Storage(3)->RtfText().IsEmpty());
  EXPECT_EQ(FSheet.Storage(4), nullptr);  // the old sheet's labels are gone
}

TEST_F(LabelPageFile, CorruptedLabelRecordsAreRefused) {
  ExpectLoadFails(DataFile("labelpage/CorruptRecord.KLX").toStdString(), "Invalid stream format");
  EXPECT_TRUE(SaysHello(*FSheet.Storage(1)));

  const std::string head = HeaderAndLayout(ExampleLayout());
  const std::string record = RecordWithData(HelloRtf);
  const std::size_t property = record.find("RtfText.Data");
  std::string otherProperty = record;
  otherProperty.replace(property, 12, "RtfText.Date");
  std::string notBinary = record;
  notBinary[property + 12] = 0x0C;
  std::string withChild = EmptyRecord;
  withChild.insert(withChild.size() - 2, EmptyRecord);
  std::string hugeLength = record;
  hugeLength.replace(property + 13, 4, LittleEndian32(0xFFFFFFF0u));
  const std::pair<std::string, std::string> cases[] = {{otherProperty, "Invalid property value"},
                                                       {notBinary, "Invalid property value"},
                                                       {withChild, "Invalid stream format"},
                                                       {hugeLength, "Stream read error"},
                                                       {Bytes({0}) + EmptyRecord, "Invalid property value"}};
  for (const auto& [bytes, message] : cases) {
    WriteAll(QPathOf("corrupt.KLX"), QByteArray::fromStdString(head + bytes));
    ExpectLoadFails(PathOf("corrupt.KLX"), message);
  }
  // Property names are matched without regard to case.
  std::string lowerCase = record;
  lowerCase.replace(property, 12, "rtftext.data");
  WriteAll(QPathOf("lower.KLX"), QByteArray::fromStdString(head + lowerCase));
  Load(PathOf("lower.KLX"));
  EXPECT_TRUE(SaysHello(*FSheet.Storage(1)));
}

TEST_F(LabelPageFile, SaveReplacesTheOldFileAndKeepsItsPermissions) {
  const QString path = QPathOf("sheet.KLX");
  WriteAll(path, "old contents");
  ASSERT_EQ(chmod(path.toLocal8Bit().constData(), 0640), 0);
  NewSheet("X");
  Save(path.toStdString());
  EXPECT_EQ(ReadAll(path), ReadAll(DataFile("labelpage/Example78.KLX")));
  struct stat info {};
  ASSERT_EQ(stat(path.toLocal8Bit().constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(FolderEntries(FFolder.path()), QStringList{"sheet.KLX"});
}

TEST_F(LabelPageFile, SaveThroughASymbolicLinkReplacesTheFileItPointsTo) {
  ASSERT_TRUE(QDir().mkdir(QPathOf("real")));
  const QString target = QPathOf("real/sheet.KLX");
  WriteAll(target, "old");
  ASSERT_TRUE(QFile::link(target, QPathOf("link.KLX")));
  NewSheet("X");
  Save(PathOf("link.KLX"));
  EXPECT_TRUE(QFileInfo(QPathOf("link.KLX")).isSymLink());
  EXPECT_EQ(ReadAll(target), ReadAll(DataFile("labelpage/Example78.KLX")));
  EXPECT_EQ(FolderEntries(QPathOf("real")), QStringList{"sheet.KLX"});
}

TEST_F(LabelPageFile, SaveIntoAFolderThatTakesNoFilesKeepsTheOldFile) {
  const QString folder = QPathOf("locked");
  ASSERT_TRUE(QDir().mkdir(folder));
  const QString path = folder + "/sheet.KLX";
  WriteAll(path, "the good old file");
  ASSERT_EQ(chmod(folder.toLocal8Bit().constData(), 0555), 0);
  NewSheet("Four", {HelloRtf});
  {
    TWithoutFolderOverride asAUser;
    try {
      Save(path.toStdString());
      ADD_FAILURE() << "saved into a read-only folder";
    } catch (const EFileSaveError& error) {
      EXPECT_EQ(error.what(), "Cannot create file " + path.toStdString());
      EXPECT_EQ(error.Reason(), "Permission denied");
    }
  }
  chmod(folder.toLocal8Bit().constData(), 0755);
  EXPECT_EQ(ReadAll(path), "the good old file");
  EXPECT_EQ(FolderEntries(folder), QStringList{"sheet.KLX"});

  // A file made read-only is not replaced either, though its folder takes files.
  ASSERT_EQ(chmod(path.toLocal8Bit().constData(), 0444), 0);
  {
    TWithoutFolderOverride asAUser;
    try {
      Save(path.toStdString());
      ADD_FAILURE() << "replaced a read-only file";
    } catch (const EFileSaveError& error) {
      EXPECT_EQ(error.what(), "Cannot create file " + path.toStdString());
      EXPECT_EQ(error.Reason(), "Permission denied");
    }
  }
  EXPECT_EQ(ReadAll(path), "the good old file");
  EXPECT_EQ(FolderEntries(folder), QStringList{"sheet.KLX"});

  try {
    Save(PathOf("no such folder/sheet.KLX"));
    ADD_FAILURE() << "saved into a missing folder";
  } catch (const EFileSaveError& error) {
    EXPECT_EQ(error.what(), "Cannot create file " + PathOf("no such folder/sheet.KLX"));
    EXPECT_EQ(error.Reason(), "No such file or directory");
  }
}

TEST_F(LabelPageFile, FullDiskKeepsTheOldFileAndLeavesNoTemporaryFile) {
  const QString path = QPathOf("sheet.KLX");
  WriteAll(path, "the good old file");
  NewSheet("Thirty", {HelloRtf, HelloRtf});
  const auto fullAfter100 = [](TStream& file) { return std::make_unique<TFullDiskStream>(file, 100); };
  try {
    TLabelPageFile::Save(path.toStdString(), FSheet, fullAfter100);
    ADD_FAILURE() << "saved onto a full disk";
  } catch (const EFileSaveError& error) {
    EXPECT_STREQ(error.what(), "Stream write error");
  }
  EXPECT_EQ(ReadAll(path), "the good old file");
  EXPECT_EQ(FolderEntries(FFolder.path()), QStringList{"sheet.KLX"});
}

TEST_F(LabelPageFile, WriteRefusedByTheSystemCarriesItsReason) {
  const QString path = QPathOf("sheet.KLX");
  WriteAll(path, "the good old file");
  NewSheet("Thirty", {HelloRtf, HelloRtf});
  std::string message, reason;
  {
    // The system refuses to let a file grow beyond 100 bytes, as a full disk would.
    testsupport::TFileSizeLimit limit(100);
    try {
      Save(path.toStdString());
    } catch (const EFileSaveError& error) {
      message = error.what();
      reason = error.Reason();
    }
  }
  EXPECT_EQ(message, "Stream write error");
  EXPECT_EQ(reason, "File too large");
  EXPECT_EQ(ReadAll(path), "the good old file");
  EXPECT_EQ(FolderEntries(FFolder.path()), QStringList{"sheet.KLX"});
}

}  // namespace
