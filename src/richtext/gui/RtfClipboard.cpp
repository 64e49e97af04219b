#include "richtext/gui/RtfClipboard.h"

#include <QBuffer>
#include <QImage>
#include <string>

#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"
#include "richtext/gui/AnsiCodec.h"
#include "richtext/gui/RtfTextInput.h"

namespace wpclip {

const char* const kRtfMime = "text/rtf";
const char* const kRichTextMime = "text/richtext";

namespace {

// Some programs name RTF this way.
const char* const kApplicationRtfMime = "application/rtf";

std::string WriteSelection(TWPRTFTextIo& document, TWPTextWriter& writer) {
  TMemoryStream stream;
  document.SaveSelectionToStream(stream, writer);
  std::string bytes = stream.Data();
  // The plain writer ends with a 0 byte; the clipboard wants none.
  while (!bytes.empty() && bytes.back() == 0) bytes.pop_back();
  return bytes;
}

// Paragraph ends of the engine (CR LF) and of the clipboard (LF) meet here.
std::string WithLineFeeds(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i] == '\r' ? '\n' : text[i];
  }
  return out;
}

std::string WithCarriageReturns(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i] == '\n' ? '\r' : text[i];
  }
  return out;
}

QByteArray RtfOf(const QMimeData& data) {
  for (const char* mime : {kRtfMime, kRichTextMime, kApplicationRtfMime})
    if (data.hasFormat(mime)) return data.data(mime);
  return {};
}

// A bitmap as a picture object: the bytes of a bitmap file, as the reader
// frames a device-independent bitmap.
std::unique_ptr<TWPRtfPicture> PictureOf(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_RGB888);
  if (image.isNull()) return nullptr;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "BMP")) return nullptr;
  auto picture = std::make_unique<TWPRtfPicture>();
  picture->Format = TWPRtfPicture::pfDib;
  picture->Data.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  picture->PixelsWide = picture->PicWidth = image.width();
  picture->PixelsHigh = picture->PicHeight = image.height();
  picture->BitsPerPixel = 24;
  return picture;
}

}  // namespace

std::unique_ptr<QMimeData> SelectionMimeData(TWPRTFTextIo& document) {
  if (!document.HasSelection()) return nullptr;
  TWPRTFWriter rtfWriter(document);
  const std::string rtf = WriteSelection(document, rtfWriter);
  TWPTextWriter textWriter(document);
  const std::string text = WriteSelection(document, textWriter);
  auto data = std::make_unique<QMimeData>();
  const QByteArray rtfBytes(rtf.data(), static_cast<qsizetype>(rtf.size()));
  data->setData(kRtfMime, rtfBytes);
  data->setData(kRichTextMime, rtfBytes);
  data->setText(wpansi::ToQString(WithLineFeeds(text)));
  return data;
}

bool HoldsText(const QMimeData* data) { return data && (!RtfOf(*data).isEmpty() || data->hasText()); }

bool Paste(TWPRTFTextInput& document, const QMimeData& data,
           const std::function<void(TParagraph* par)>& beforePaste) {
  const QByteArray rtf = RtfOf(data);
  if (!rtf.isEmpty()) {
    // Up to the first 0 byte, as a block of the clipboard is read.
    const std::string bytes(rtf.constData(), qstrnlen(rtf.constData(), static_cast<std::size_t>(rtf.size())));
    return document.PasteText(bytes, true, beforePaste);
  }
  if (data.hasText()) {
    const std::string text = WithCarriageReturns(wpansi::FromQString(data.text()));
    return document.PasteText(text.substr(0, text.find('\0')), false, beforePaste);
  }
  if (data.hasImage()) {
    // A picture that cannot be read is left out without a word.
    std::unique_ptr<TWPRtfPicture> picture = PictureOf(qvariant_cast<QImage>(data.imageData()));
    if (picture) return document.InsertObjectAtCaret(std::move(picture));
  }
  return false;
}

}  // namespace wpclip
