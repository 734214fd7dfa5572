#pragma once
// Stepcraft's state for the life of the program: the program being edited and the editor
// variables around it. main() owns one and hands it by reference to the windows; tests make
// fresh ones.

#include <bitset>
#include <cstdint>
#include <string>

#include "flowchart/flow_program.h"

namespace pendra2::flowchart {

// The flowchart window's tool. The numbers are the ones the tool commands select, so a
// replayed or logged session reads the same in either form.
enum class EditMode : int32_t {
  kEdit = 0,
  kDelete = 1,
  kInsertOrgel = 2,
  kInsertWait = 3,
  kInsertLoop = 4,
  kInsertOutput = 5,
  kInsertBranch = 6,
  kInsertGoto = 7,
  kInsertExtOutput = 8,
  kInsertCompare = 9,
  kInsertVariableA = 10,
  kInsertVariableB = 11,
  kInsertVarCompare = 12,
};

inline constexpr bool IsInsertTool(EditMode mode) {
  return mode >= EditMode::kInsertOrgel && mode <= EditMode::kInsertVarCompare;
}

// The view box's two entries; the command line can ask for other numbers too, and the
// view draws those as the nearest of its three pictures.
inline constexpr int32_t kViewFlowchart = 0;
inline constexpr int32_t kViewFlowchartAndListing = 1;

inline constexpr const char* kUntitledTitle = "アクティビティ図編集 [No Title]";

struct StepcraftState {
  FlowProgram program;
  EditMode editMode = EditMode::kEdit;
  // Index of the step in the first row, and the visible row under the mouse (-1: none).
  int32_t topStep = 0;
  int32_t hoverRow = -1;
  int32_t viewMode = kViewFlowchartAndListing;
  // Steps the simulation pauses before, by index. Not part of the file: a new or loaded
  // program starts without any.
  std::bitset<kStepSlots> breakpoints{};
  // The steps selected for the clipboard, first to last (never Start or End); -1: none.
  int32_t selectFirst = -1;
  int32_t selectLast = -1;
  // The row a paste goes after: the last one clicked, or the end of the selection.
  int32_t anchorStep = 0;
  // The step the simulation is running, lit in the flowchart; -1 while none runs.
  int32_t runningStep = -1;
  // A transfer is on its way to the board; nothing may edit or start another meanwhile.
  bool transferBusy = false;
  // Empty while the program is untitled. UTF-8, as the file dialogs give it.
  std::string documentPath;
  std::string documentTitle = kUntitledTitle;
};

}  // namespace pendra2::flowchart
