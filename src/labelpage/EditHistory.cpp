#include "labelpage/EditHistory.h"

#include <chrono>

#include "labelpage/LabelSheet.h"

namespace {

std::int64_t SteadyMilliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

TEditHistory::TEditHistory(TLabelSheet& sheet) : Clock(SteadyMilliseconds), FSheet(sheet) {}
TEditHistory::~TEditHistory() = default;

std::unique_ptr<TWPRTFTextIo> TEditHistory::CopyOfCell(int cell) const {
  const TLabelDocument* text = FSheet.CellText(cell);
  if (!text) return nullptr;
  auto copy = std::make_unique<TWPRTFTextIo>();
  copy->Assign(*text);
  return copy;
}

void TEditHistory::BeginStep(const std::vector<int>& cells, TEditPlace before, bool typed) {
  const std::int64_t now = Clock();
  if (FOpen && typed && cells.size() == 1) {
    TStep& open = FSteps.back();
    if (open.Typed && open.Changes.size() == 1 && open.Changes.front().Cell == cells.front() &&
        now - open.LastKeystroke < TypingPause) {
      open.LastKeystroke = now;
      return;
    }
  }
  CloseOpenStep();
  // A new action forgets what could be redone, and the saved state with it
  // when that lay among the forgotten steps.
  FSteps.erase(FSteps.begin() + FPosition, FSteps.end());
  if (FSavedPosition > FPosition) FSavedPosition = -1;

  TStep step;
  step.PlaceBefore = step.PlaceAfter = before;
  step.Typed = typed;
  step.LastKeystroke = now;
  step.Changes.reserve(cells.size());
  for (int cell : cells) {
    TLabelChange change;
    change.Cell = cell;
    change.Before = CopyOfCell(cell);
    if (change.Before) step.Changes.push_back(std::move(change));
  }
  FSteps.push_back(std::move(step));
  ++FPosition;
  FOpen = true;
  if (static_cast<int>(FSteps.size()) > MaxSteps) {
    FSteps.pop_front();
    --FPosition;
    FSavedPosition = FSavedPosition > 0 ? FSavedPosition - 1 : -1;
  }
}

void TEditHistory::EndStep(TEditPlace after) {
  if (FOpen) FSteps.back().PlaceAfter = after;
}

void TEditHistory::EndTyping() { CloseOpenStep(); }

void TEditHistory::CloseOpenStep() {
  if (!FOpen) return;
  FOpen = false;
  for (TLabelChange& change : FSteps.back().Changes) change.After = CopyOfCell(change.Cell);
}

void TEditHistory::PutBack(const TStep& step, bool after) {
  for (const TLabelChange& change : step.Changes) {
    const std::unique_ptr<TWPRTFTextIo>& source = after ? change.After : change.Before;
    if (!source || !FSheet.Storage(change.Cell)) continue;
    FSheet.Storage(change.Cell)->RtfText().Assign(*source);
  }
}

std::optional<TEditPlace> TEditHistory::Undo() {
  if (!CanUndo()) return std::nullopt;
  CloseOpenStep();
  const TStep& step = FSteps[static_cast<std::size_t>(--FPosition)];
  PutBack(step, false);
  return step.PlaceBefore;
}

std::optional<TEditPlace> TEditHistory::Redo() {
  if (!CanRedo()) return std::nullopt;
  CloseOpenStep();
  const TStep& step = FSteps[static_cast<std::size_t>(FPosition++)];
  PutBack(step, true);
  return step.PlaceAfter;
}

void TEditHistory::Clear(bool atSavedState) {
  FSteps.clear();
  FOpen = false;
  FPosition = 0;
  FSavedPosition = atSavedState ? 0 : -1;
}

void TEditHistory::MarkSaved() {
  // Typing after a save is a step of its own, so that undoing it comes back
  // to exactly what was saved.
  CloseOpenStep();
  FSavedPosition = FPosition;
}
