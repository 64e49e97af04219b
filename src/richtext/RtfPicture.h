#pragma once
// A picture embedded in RTF text: the reader makes one, the writer writes it
// back and painting draws it.
#include <cstdint>
#include <memory>
#include <string>

#include "richtext/EmbeddedObject.h"

// Picture bytes as framed by the reader: a device-independent bitmap as a
// complete bitmap file (14-byte file header in front), a device-dependent
// bitmap as its raw bits with the format words, a metafile as the bytes
// behind its 22-byte placeable header; PNG, JPEG and enhanced metafile
// pictures as their files' bytes. Turning them into an image is the painting
// side's job.
class TWPRtfPicture : public TEmbeddedObject {
 public:
  enum TFormat : std::uint8_t { pfMetafile = 0, pfDib = 1, pfDdb = 2, pfPng = 3, pfJpeg = 4, pfEmf = 5 };

  TObjectKind Kind() const override {
    return Format == pfMetafile || Format == pfEmf ? TObjectKind::Metafile : TObjectKind::Bitmap;
  }
  int PixelWidth() const override { return PixelsWide; }
  int PixelHeight() const override { return PixelsHigh; }
  std::unique_ptr<TEmbeddedObject> Clone() const override { return std::make_unique<TWPRtfPicture>(*this); }

  TFormat Format = pfMetafile;
  std::string Data;
  int PixelsWide = 0;
  int PixelsHigh = 0;
  // RTF picw/pich and, for bitmaps, the format words.
  int PicWidth = 0;
  int PicHeight = 0;
  int BitsPerPixel = 0;
  int Planes = 1;
  int WidthBytes = 0;
};
