#pragma once
// The field rules of Stepcraft's step dialogs, without any widget: what each control shows
// when a dialog opens on a step, and how the entries are read back on OK. The Qt dialogs
// put a <Name>Fields into their controls, read the controls back into one and call
// Store<Name>; a refused entry returns its message, changes nothing, and the dialog stays
// open. Edit texts are UTF-8; a radio group is the id of its checked button, 0 for none.
//
// Store<Name> writes the step's fields only; the caller marks the program changed (the
// editing session does so after every OK as well).

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "flowchart/flow_program.h"
#include "flowchart/listing.h"
#include "flowchart/step_record.h"
#include "interaction/file_chooser.h"
#include "interaction/user_message.h"

namespace pendra2::flowchart {

// Turns UTF-8 into Shift JIS (CP932); nothing when the text has no Shift JIS form. The
// programs pass Qt's encoder, tests their own.
using ShiftJisEncoder = std::function<std::optional<std::string>(std::string_view utf8)>;

// Edit and combo controls shared by several templates.
inline constexpr int kValueEdit = 3001;   // wait seconds, tune path, loop count, thresholds
inline constexpr int kTargetEdit = 1045;  // "分岐先" / "分岐先行"

// Entries as the dialogs read them. A signed number: blanks around it allowed, anything
// else (or a number beyond 32 bits) reads as 0.
int32_t ReadSignedEntry(std::string_view text);
// The jump target rule: bounded to 1..count - 1, so the compiler always finds the step.
int32_t ReadTargetEntry(std::string_view text, int32_t count);

// --- 184 "待機設定" (Wait) ---------------------------------------------------------------
inline constexpr double kMaxWaitSeconds = 383.0;  // the longest silent tune `code` holds
inline constexpr interaction::MessageText kWaitRangeMessage{
    "待機秒数は0～383秒の範囲で指定してください。", "注意！！", interaction::PromptIcon::Warning};

struct WaitFields {
  std::string seconds;  // 3001, "%.1f" of value / 2
};
WaitFields OpenWait(const StepRecord& step);
// Seconds (at most nine characters read) times two, truncated, into `value`. Entries
// outside 0..383 s are refused with kWaitRangeMessage.
interaction::Outcome StoreWait(const WaitFields& fields, StepRecord& step);

// --- 185 "オルゴール" (Orgel) --------------------------------------------------------------
inline constexpr int kTuneSizeStatic = 1014;
inline constexpr int kTuneBrowseButton = 1002;
inline constexpr std::size_t kMaxTuneLength = 510;

inline constexpr interaction::MessageText kTuneOpenErrorMessage{"Load File Open Error",
                                                                "Error Message"};
inline constexpr interaction::MessageText kTuneTooLongMessage{
    "このオルゴールファイルは長すぎて読み込めません。", "Error Message",
    interaction::PromptIcon::Warning};
inline constexpr interaction::MessageText kTuneDamagedMessage{
    "オルゴールファイルが壊れています。", "Error Message", interaction::PromptIcon::Warning};
inline constexpr interaction::MessageText kTunePathTooLongMessage{
    "ファイルのパスが長すぎます。\n255バイト以内のパスのファイルを選んでください。", "制限事項",
    interaction::PromptIcon::Warning};
inline constexpr interaction::MessageText kTunePathCharactersMessage{
    "ファイルのパスに使えない文字が含まれています。", "制限事項", interaction::PromptIcon::Warning};

struct OrgelFields {
  std::string path;  // 3001, the stored path (display only, never read back)
  std::string size;  // 1014, "%03d バイト" of size
};
OrgelFields OpenOrgel(const StepRecord& step, const ShiftJisDecoder& decode);

// The open dialog of the browse button 1002.
interaction::FileRequest TuneFileRequest();

// Takes the chosen tune file (UTF-8 path as the dialog gave it; ".olg" is added when the
// name has no '.') into program.steps[program.currentStep]: tune bytes, size, path, and
// program.tempoIndex; marks the program changed. A file that cannot be read, is shorter than
// a tune file, holds a tune longer than 510 columns, or whose path has no Shift JIS form of
// at most 255 bytes is refused with its message and nothing changes.
interaction::Outcome ChooseTune(FlowProgram& program, const std::string& chosenPath,
                                const ShiftJisEncoder& encode);
// The browse button: asks `chooser` for a file, then ChooseTune. Cancel changes nothing and
// returns success.
interaction::Outcome BrowseTune(FlowProgram& program, interaction::FileChooser& chooser,
                                const ShiftJisEncoder& encode);

// --- 186 "ループ回数指定" (loop count) -------------------------------------------------------
struct LoopCountFields {
  std::string count;  // 3001
};
LoopCountFields OpenLoopCount(int32_t loopCount);
// Taken as unsigned and clamped: 0..255 as entered, anything larger or negative 255.
int32_t StoreLoopCount(const LoopCountFields& fields);

// --- 207 "分岐設定" (Branch) ---------------------------------------------------------------
inline constexpr int kBranchAtOrAbove = 1003;                         // op 1
inline constexpr int kBranchBelow = 1004;                             // op 2
inline constexpr std::array<int, 3> kBranchInputs{1101, 1102, 1103};  // channel 0, 1, 2
inline constexpr int kSensorButton = 1010;
inline constexpr int kBranchReading = 1011;
inline constexpr int kTakeReadingButton = 1055;

// The live reading's button captions: the template's own, then while reading and after.
inline constexpr std::string_view kSensorButtonCaption = "センサ読み取り";
inline constexpr std::string_view kSensorStopCaption = "センサー停止";
inline constexpr std::string_view kSensorReadCaption = "センサー読み取り";
inline constexpr int kSensorPeriodMs = 50;
// The input (1, 2 or 3) a reading tick asks the board for, by the input radio checked at
// that moment: 1101 input 1, 1102 input 2, anything else input 3.
int BranchReadingInput(int inputButton);
// A reading as the dialogs show it: reply byte 3 * 256 + byte 2, in decimal.
std::string ReadingText(uint8_t low, uint8_t high);

struct BranchFields {
  std::string threshold;  // 3001
  int opButton = 0;       // 1003, 1004 or 0
  int inputButton = 0;    // 1101, 1102, 1103 or 0
  std::string target;     // 1045
};
BranchFields OpenBranch(const StepRecord& step);
interaction::Outcome StoreBranch(const BranchFields& fields, StepRecord& step, int32_t count);

// --- 208 "出力設定" (Output) ---------------------------------------------------------------
inline constexpr int kPortLed = 1036;   // channel 0
inline constexpr int kPortOut1 = 1042;  // channel 1
inline constexpr int kPortOut2 = 1045;  // channel 2
inline constexpr int kStateOn = 1043;   // value 1
inline constexpr int kStateOff = 1044;  // value 0

struct OutputFields {
  int portButton = 0;
  int stateButton = 0;
};
OutputFields OpenOutput(const StepRecord& step);
interaction::Outcome StoreOutput(const OutputFields& fields, StepRecord& step);

// --- 214 "goto設定" (Goto) -----------------------------------------------------------------
struct GotoFields {
  std::string target;  // 1045
};
GotoFields OpenGoto(const StepRecord& step);
interaction::Outcome StoreGoto(const GotoFields& fields, StepRecord& step, int32_t count);

// --- 215 "分岐設定" (Compare) --------------------------------------------------------------
inline constexpr int kCompareEqual = 1006;    // op 0
inline constexpr int kCompareGreater = 1008;  // op 1
inline constexpr int kCompareLess = 1007;     // op 2
inline constexpr int kCompareReading1 = 1012;
inline constexpr int kCompareReading2 = 1013;

struct CompareFields {
  std::string threshold;  // 3001
  int opButton = 0;       // 1006, 1007, 1008 (or 0: stored as op 0)
  std::string target;     // 1045
};
CompareFields OpenCompare(const StepRecord& step);
interaction::Outcome StoreCompare(const CompareFields& fields, StepRecord& step, int32_t count);

// --- 216 "出力設定" (ExtOutput) ------------------------------------------------------------
// Check boxes "Bit4をONにする".."Bit7をONにする" for channel bits 0..3.
inline constexpr std::array<int, 4> kExtOutputBoxes{1059, 1060, 1061, 1062};

struct ExtOutputFields {
  std::array<bool, 4> bits{};  // in the order of kExtOutputBoxes
};
ExtOutputFields OpenExtOutput(const StepRecord& step);
// A checked box sets its bit; an unchecked one clears it with the mask 0x1E, 0x1D, 0x1B or
// 0x17, which also clears everything above bit 4.
interaction::Outcome StoreExtOutput(const ExtOutputFields& fields, StepRecord& step);

// --- 231 "変数Aの設定" / 233 "変数Bの設定" (Variable) ------------------------------------------
inline constexpr int kVariableValueEdit = 1052;
// The button for each operation 0..11, indexed by op.
inline constexpr std::array<int, 12> kVariableOpButtons{1048, 1049, 1050, 1059, 1060, 1051,
                                                        1053, 1054, 1055, 1056, 1057, 1058};

struct VariableFields {
  std::string value;  // 1052
  int opButton = 0;   // one of kVariableOpButtons, or 0
};
VariableFields OpenVariable(const StepRecord& step);
interaction::Outcome StoreVariable(const VariableFields& fields, StepRecord& step);

// --- 232 "変数条件ジャンプ" (VarCompare) --------------------------------------------------------
inline constexpr int kVarCompareValueEdit = 1061;
// The button for each condition 0..8, indexed by op.
inline constexpr std::array<int, 9> kVarCompareOpButtons{1048, 1049, 1050, 1051, 1052,
                                                         1053, 1054, 1055, 1056};

struct VarCompareFields {
  std::string value;   // 1061
  int opButton = 0;    // one of kVarCompareOpButtons, or 0
  std::string target;  // 1045
};
VarCompareFields OpenVarCompare(const StepRecord& step);
interaction::Outcome StoreVarCompare(const VarCompareFields& fields, StepRecord& step,
                                     int32_t count);

}  // namespace pendra2::flowchart
