#pragma once
// The panel side of the formatting toolbar: the editor it works for, the
// colour table its colour lists show, and the operations the editor calls
// to show the caret's formatting. Every operation is passed on to the next
// toolbar of a chain, so several toolbars can follow one editor.
#include <QFrame>
#include <QPointer>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "richtext/TextHeader.h"

class TWPCustomRichText;

// What a toolbar control reports: the list boxes' codes and the buttons'.
enum TWpSelNr : int {
  wptName = 1,
  wptSize = 2,
  wptColor = 3,
  wptBkColor = 4,
  wptStyle = 5,
  wptIconDown = 6,
  wptIconUp = 7,
  wptParColor = 10,
};

// Button groups; the number within a group names the command.
enum TWpIconGroup : int {
  wpgStatus = 256,
  wpgAlignment = 512,
  wpgEdit = 768,
  wpgFile = 1024,
  wpgPrint = 1280,
  wpgDatabase = 1536,
};

// A set of the members of a small enumeration, one bit per member.
template <typename E>
class TWPSet {
 public:
  constexpr TWPSet() = default;
  constexpr TWPSet(std::initializer_list<E> members) {
    for (E member : members) FBits |= Bit(member);
  }
  constexpr bool Has(E member) const { return (FBits & Bit(member)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr bool operator==(const TWPSet&) const = default;

 private:
  static constexpr std::uint32_t Bit(E member) { return std::uint32_t{1} << static_cast<int>(member); }
  std::uint32_t FBits = 0;
};

using TWPColorTable = std::array<TColor, TTextHeader::kColorCount>;

// The message of a chain of toolbars that leads back to one of them.
extern const char* const kNextToolBarLoop;

class TWPCustomToolPanel : public QFrame {
  Q_OBJECT

 public:
  explicit TWPCustomToolPanel(QWidget* parent = nullptr);
  ~TWPCustomToolPanel() override;

  // The editor commands go to. Without one, the first focused editor of the
  // window is taken.
  void SetEditor(TWPCustomRichText* editor = nullptr);
  TWPCustomRichText* Editor() const;

  // The colours the colour lists show.
  void SetColorTable(const TWPColorTable& colors);
  const TWPColorTable& ColorTable() const { return FColors; }

  // Press or release the button of group and number; whether it was down.
  bool IconDown(int group, int number);
  bool IconUp(int group, int number);
  // Enable or disable a button by its registration index, or by group and
  // number; the previous state.
  bool EnableIcon(int index, bool on);
  bool EnableIcon(int group, int number, bool on);
  // Shows a value in a list box: 1 font name, 2 size, 3 text colour,
  // 4 background colour, 10 paragraph colour.
  void SetListValue(int list, const std::string& text, int number);

  // The next toolbar of a chain; each operation above is passed on to it.
  TWPCustomToolPanel* NextToolBar() const { return FNextToolBar; }
  void SetNextToolBar(TWPCustomToolPanel* next) { FNextToolBar = next; }

 protected:
  // What this toolbar does itself; the base class has nothing to show.
  virtual void DoSetEditor(TWPCustomRichText* editor);
  virtual void DoSetColorTable(const TWPColorTable& colors);
  virtual bool DoIconDown(int group, int number);
  virtual bool DoIconUp(int group, int number);
  virtual bool DoEnableIcon(int index, bool on);
  virtual bool DoEnableIconOf(int group, int number, bool on);
  virtual void DoSetListValue(int list, const std::string& text, int number);

 private:
  // False (and the message shown, the chain cut) when this toolbar is
  // already passing an operation along.
  bool Enter();
  template <typename Operation>
  void PassOn(Operation operation);

  QPointer<TWPCustomRichText> FEditor;
  TWPColorTable FColors;
  QPointer<TWPCustomToolPanel> FNextToolBar;
  bool FPassing = false;
};
