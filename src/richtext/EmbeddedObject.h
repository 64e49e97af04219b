#pragma once
// Objects placed in the text (pictures, metafiles, controls). The model only
// needs their pixel size and kind; the painting layer supplies real
// bitmaps and metafiles behind this interface.
#include <cstdint>
#include <memory>
#include <string>

enum class TObjectKind : std::uint8_t { Graphic, Metafile, Bitmap, Control, Other };

class TEmbeddedObject {
 public:
  virtual ~TEmbeddedObject() = default;
  virtual TObjectKind Kind() const = 0;
  // Size in pixels of the screen; 0 when unknown.
  virtual int PixelWidth() const = 0;
  virtual int PixelHeight() const = 0;
  // A duplicate for a document copy; nullptr when the object cannot be copied.
  virtual std::unique_ptr<TEmbeddedObject> Clone() const = 0;
};

// One object record of a document, in order of creation.
struct TTextObject {
  TTextObject() = default;
  ~TTextObject();
  TTextObject(const TTextObject&) = delete;
  TTextObject& operator=(const TTextObject&) = delete;

  // The object; deleted with the record unless Owned is false (only referenced).
  TEmbeddedObject* Object = nullptr;
  bool Owned = true;
  std::uint16_t Id = 0;
  std::uint16_t SecondaryId = 0;
  bool InUse = false;
  int Width = 0;   // twips
  int Height = 0;  // twips
  std::uint8_t KindFlag = 0;
  std::string FileName;

  void SetObject(std::unique_ptr<TEmbeddedObject> object);
  void SetObjectReference(TEmbeddedObject* object);
};

// A footnote; characters referring to it carry Special 0x08 and its Id in Tag.
struct TFootnote {
  char Mark = 0;
  int Number = 0;
  std::uint16_t Id = 0;
  std::string Text;
  std::string RawRtf;  // preferred over Text when not empty
  bool ForceUnnumbered = false;
};
