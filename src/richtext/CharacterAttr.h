#pragma once
// Display attribute sets: how characters of one special kind (insert points,
// automatic text, hyperlinks, protected text) are shown, independent of the
// attributes stored with the characters.
#include <cstdint>
#include <functional>

enum TThreeState : std::uint8_t { tsIgnore = 0, tsTRUE = 1, tsFALSE = 2 };

// Colours are 0x00BBGGRR.
using TColor = std::uint32_t;

// Kinds of marked text as masks: the document's refresh of marked text takes
// an or of them, and each display attribute set's tag names its kind.
enum TMarkedTextKind : std::int32_t {
  mkHyperlinks = 0x10,
  mkHiddenText = 0x100,
  mkInsertPoints = 0x1000,
  mkAutomaticText = 0x2000,
  mkObjects = 0x4000,
};

// Kind tags of the four sets a document owns. Protected text has no kind of
// its own: a change of its set refreshes nothing.
constexpr std::int32_t kInsertPointAttrTag = mkInsertPoints;
constexpr std::int32_t kAutomaticTextAttrTag = mkAutomaticText;
constexpr std::int32_t kHyperlinkTextAttrTag = mkHyperlinks;
constexpr std::int32_t kProtectedTextAttrTag = 0;

class TCharacterAttr {
 public:
  // (kind tag, relayout flag): relayout 1 when character widths may change.
  using TChangeEvent = std::function<void(std::int32_t tag, int relayout)>;

  TCharacterAttr() = default;
  explicit TCharacterAttr(std::int32_t tag) : FTag(tag) {}

  TThreeState Bold() const { return FBold; }
  TThreeState Italic() const { return FItalic; }
  TThreeState Underline() const { return FUnderline; }
  TThreeState StrikeOut() const { return FStrikeOut; }
  TThreeState SuperScript() const { return FSuperScript; }
  TThreeState SubScript() const { return FSubScript; }
  bool Hidden() const { return FHidden; }
  bool UseUnderlineColor() const { return FUseUnderlineColor; }
  bool UseTextColor() const { return FUseTextColor; }
  bool UseBackgroundColor() const { return FUseBackgroundColor; }
  TColor UnderlineColor() const { return FUnderlineColor; }
  TColor TextColor() const { return FTextColor; }
  TColor BackgroundColor() const { return FBackgroundColor; }
  std::int32_t Tag() const { return FTag; }
  void SetTag(std::int32_t tag) { FTag = tag; }

  void SetBold(TThreeState value);
  void SetItalic(TThreeState value);
  void SetUnderline(TThreeState value);
  void SetStrikeOut(TThreeState value);
  void SetSuperScript(TThreeState value);
  void SetSubScript(TThreeState value);
  void SetHidden(bool value);
  void SetUseUnderlineColor(bool value);
  void SetUseTextColor(bool value);
  void SetUseBackgroundColor(bool value);
  void SetUnderlineColor(TColor value);
  void SetTextColor(TColor value);
  void SetBackgroundColor(TColor value);

  // Copies every display value (not the tag, not the handler); notifies once
  // with relayout 1 when anything differed.
  void Assign(const TCharacterAttr& source);
  bool SameValues(const TCharacterAttr& other) const;

  TChangeEvent OnChange;

 private:
  void Notify(int relayout);

  TThreeState FBold = tsIgnore;
  TThreeState FItalic = tsIgnore;
  TThreeState FUnderline = tsIgnore;
  TThreeState FStrikeOut = tsIgnore;
  TThreeState FSuperScript = tsIgnore;
  TThreeState FSubScript = tsIgnore;
  bool FHidden = false;
  bool FUseUnderlineColor = false;
  bool FUseTextColor = false;
  bool FUseBackgroundColor = false;
  TColor FUnderlineColor = 0;
  TColor FTextColor = 0;
  TColor FBackgroundColor = 0;
  std::int32_t FTag = 0;
};

// The four sets with their construction defaults, as a document creates them.
void InitInsertPointAttr(TCharacterAttr& attr);
void InitAutomaticTextAttr(TCharacterAttr& attr);
void InitHyperlinkTextAttr(TCharacterAttr& attr);
void InitProtectedTextAttr(TCharacterAttr& attr);
