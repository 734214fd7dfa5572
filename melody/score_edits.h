#pragma once
// Edits of the score grid. The editor window turns clicks into these calls; dialogs and
// questions are asked by the caller, which passes their answers in.

#include <cstdint>
#include <optional>
#include <string_view>

#include "melody/score.h"
#include "melody/score_geometry.h"

namespace pendra2::melody {

inline constexpr int kMaxScrollPos = 490;
inline constexpr int kMaxEditColumns = 256;
inline constexpr int kMaxLoopCount = 255;

// The grid column under client x, or nullopt outside the grid (x from 81 to 604).
std::optional<int> GridColumn(int x, int scrollPos);
// The code of the grid row under client y, or nullopt below the last row.
std::optional<uint8_t> GridRowCode(int y);

enum class GridClick {
  kParameterCell,  // a mark's parameter: only marks the score changed
  kLoopCount,      // a loop-start mark: edit its repeat count
  kLoopJump,       // a loop-end mark: offer to jump to its loop start
  kNote,           // an ordinary column: toggle the clicked row's code
};

GridClick ClassifyGridClick(const Cells& cells, int column);

// Toggles code m in an ordinary column: a column that held m becomes empty, any other
// becomes m. Returns the new code, or nullopt when the column was cleared.
std::optional<uint8_t> ToggleNote(Score& score, int column, uint8_t m);

int LoopCount(const Cells& cells, int loopStart);
void SetLoopCount(Score& score, int loopStart, int count);

// The scroll position that shows the loop start of the loop-end mark at loopEnd first.
int LoopJumpScroll(const Cells& cells, int loopEnd);

// Inserts k empty columns before the mark or column at `column`; loop targets after the
// insertion point move with the columns.
void InsertColumns(Score& score, int column, int k);

// Deletes k columns from the mark or column at `column`, stepping over loop marks met at
// the deletion point; loop targets after it move back.
void DeleteColumns(Score& score, int column, int k);

// True when column's mark start is a loop mark: deleting there removes the loop instead.
bool IsLoopMarkColumn(const Cells& cells, int column);

// Removes the loop whose start or end mark is at `column`'s mark start, keeping its body;
// loops nested in it move one level out. A mark whose partner cannot be found (damaged
// file) is removed alone. False when there is no loop mark there.
bool RemoveLoop(Score& score, int column);

// The number of a count dialog's field: a negative entry gives max, text that is no
// number gives 0, anything larger than max gives max.
int CountFromField(std::string_view text, int max);

}  // namespace pendra2::melody
