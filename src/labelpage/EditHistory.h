#pragma once
// The undo history of a sheet's label texts: each step holds the documents
// of the labels one user action changed, as they were before and after it,
// and where the editor stood. A run of typed characters in one label is one
// step until the user moves to another label, does anything else, or pauses.
//
// Usage, around every change to label texts:
//   history.BeginStep({n}, {n, caretBefore}, typed);  // before the labels change
//   ...change label n...
//   history.EndStep({n, caretAfter});
//   if (auto place = history.Undo()) ...reopen the editor at *place...
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "labelpage/LabelLayout.h"
#include "richtext/RtfTextIo.h"

class TLabelSheet;

// A label and a caret position in it.
struct TEditPlace {
  int Cell = 0;
  int CaretPosition = 0;
  bool operator==(const TEditPlace&) const = default;
};

class TEditHistory {
 public:
  static constexpr int MaxSteps = 100;
  // A pause this long (milliseconds) ends a run of typing.
  static constexpr std::int64_t TypingPause = 1000;

  explicit TEditHistory(TLabelSheet& sheet);
  ~TEditHistory();
  TEditHistory(const TEditHistory&) = delete;
  TEditHistory& operator=(const TEditHistory&) = delete;

  // Called before the given labels change: their documents are kept as the
  // step's "before". A typed change to the label of an open run of typing,
  // within TypingPause of its last keystroke, joins that run instead.
  // Anything that could be redone is forgotten.
  void BeginStep(const std::vector<int>& cells, TEditPlace before, bool typed = false);
  // Called after the change: where Redo puts the caret.
  void EndStep(TEditPlace after);
  // The next change starts a step of its own.
  void EndTyping();

  bool CanUndo() const { return FPosition > 0; }
  bool CanRedo() const { return FPosition < static_cast<int>(FSteps.size()); }
  // Gives the labels of the last step their documents from before it (Undo)
  // or after it (Redo); the place to reopen the editor at, none when there
  // was nothing to do.
  std::optional<TEditPlace> Undo();
  std::optional<TEditPlace> Redo();

  // Forgets every step. atSavedState: the sheet as it stands is the one in
  // its file (New, Open); false for a sheet that differs from any file.
  void Clear(bool atSavedState);
  // The sheet as it stands has just been written to its file.
  void MarkSaved();
  // Undoing or redoing has brought back the sheet as it was last saved.
  bool AtSavedState() const { return FSavedPosition == FPosition; }

  int StepCount() const { return static_cast<int>(FSteps.size()); }

  // Milliseconds of a steady clock; tests may set their own.
  std::function<std::int64_t()> Clock;

 private:
  struct TLabelChange {
    int Cell = 0;
    std::unique_ptr<TWPRTFTextIo> Before;
    std::unique_ptr<TWPRTFTextIo> After;
  };
  struct TStep {
    std::vector<TLabelChange> Changes;
    TEditPlace PlaceBefore;
    TEditPlace PlaceAfter;
    bool Typed = false;
    std::int64_t LastKeystroke = 0;
  };

  // Takes the "after" documents of the open step from the sheet.
  void CloseOpenStep();
  void PutBack(const TStep& step, bool after);
  std::unique_ptr<TWPRTFTextIo> CopyOfCell(int cell) const;

  TLabelSheet& FSheet;
  std::deque<TStep> FSteps;
  // Steps done; the steps from here on can be redone.
  int FPosition = 0;
  // FPosition when the sheet was last saved; -1 when no reachable state was.
  int FSavedPosition = 0;
  // The last step still takes changes: its "after" documents are the labels'.
  bool FOpen = false;
};
