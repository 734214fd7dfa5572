#include "flowchart/dialog_fields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <system_error>

#include "board_image/layout.h"
#include "flowchart/step_code.h"

namespace pendra2::flowchart {
namespace {

using interaction::Outcome;

constexpr std::size_t kWaitEntryChars = 9;
constexpr std::size_t kTuneHeaderBytes = 64;
// The tune after the header is the image the board plays.
constexpr std::size_t kTuneBodyBytes = board_image::kImageBytes;
constexpr int32_t kDefaultTempoIndex = 2;
constexpr int32_t kLastTempoIndex = 12;

std::string_view Trim(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n";
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

// A whole signed decimal number, or nothing.
std::optional<int64_t> ParseInteger(std::string_view text) {
  text = Trim(text);
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The leading decimal number of the text, as a C runtime reads a number typed into a box:
// blanks first, then the longest number; no number gives 0. Independent of the locale.
double ParseLeadingDecimal(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // Only plain digits and one point: "inf", "nan" and exponents are not numbers of seconds.
  std::size_t n = 0;
  bool point = false;
  while (n < text.size() && ((text[n] >= '0' && text[n] <= '9') || (text[n] == '.' && !point))) {
    point = point || text[n] == '.';
    ++n;
  }
  double value = 0.0;
  const auto [end, ec] =
      std::from_chars(text.data(), text.data() + n, value, std::chars_format::fixed);
  if (ec != std::errc{} || end == text.data()) return 0.0;
  return negative ? -value : value;
}

std::string Number(int64_t value) {
  return std::to_string(value);
}

// The radio group's button for `value` in `buttons` (indexed by value), 0 when it has none.
template <std::size_t N>
int ButtonFor(const std::array<int, N>& buttons, int32_t value) {
  if (value < 0 || static_cast<std::size_t>(value) >= N) return 0;
  return buttons[static_cast<std::size_t>(value)];
}

// The value of the checked button, or nothing when none of the group is checked.
template <std::size_t N>
std::optional<int32_t> ValueFor(const std::array<int, N>& buttons, int checked) {
  const auto it = std::find(buttons.begin(), buttons.end(), checked);
  if (checked == 0 || it == buttons.end()) return std::nullopt;
  return static_cast<int32_t>(it - buttons.begin());
}

uint16_t Le16(const std::array<uint8_t, kTuneHeaderBytes>& header, std::size_t at) {
  return static_cast<uint16_t>(header[at] | (header[at + 1] << 8));
}

std::filesystem::path Utf8Path(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

int32_t ReadSignedEntry(std::string_view text) {
  const auto value = ParseInteger(text);
  if (!value || *value < std::numeric_limits<int32_t>::min() ||
      *value > std::numeric_limits<int32_t>::max()) {
    return 0;
  }
  return static_cast<int32_t>(*value);
}

int32_t ReadTargetEntry(std::string_view text, int32_t count) {
  const int32_t last = std::max(count - 1, int32_t{1});
  return std::clamp(ReadSignedEntry(text), int32_t{1}, last);
}

// --- Wait ------------------------------------------------------------------------------

WaitFields OpenWait(const StepRecord& step) {
  // to_chars rather than printf: the box shows a point whatever the user's locale says.
  std::array<char, 32> text{};
  const auto result = std::to_chars(text.data(), text.data() + text.size(), step.value * 0.5,
                                    std::chars_format::fixed, 1);
  return {std::string(text.data(), result.ptr)};
}

Outcome StoreWait(const WaitFields& fields, StepRecord& step) {
  const double seconds =
      ParseLeadingDecimal(std::string_view(fields.seconds).substr(0, kWaitEntryChars));
  if (!(seconds >= 0.0 && seconds <= kMaxWaitSeconds)) return kWaitRangeMessage;
  step.value = static_cast<int32_t>(std::trunc(seconds * 2.0));
  return {};
}

// --- Orgel -----------------------------------------------------------------------------

OrgelFields OpenOrgel(const StepRecord& step, const ShiftJisDecoder& decode) {
  char size[32];
  std::snprintf(size, sizeof size, "%03d", step.size);
  return {decode(StoredTunePath(step)), std::string(size) + " バイト"};
}

interaction::FileRequest TuneFileRequest() {
  return {interaction::FileDialogKind::Open, "オルゴールファイル読込み", "Orgel FILE (*.olg)",
          "*.olg", "olg"};
}

Outcome ChooseTune(FlowProgram& program, const std::string& chosenPath,
                   const ShiftJisEncoder& encode) {
  std::string path = chosenPath;
  if (path.find('.') == std::string::npos) path += ".olg";

  // The path is checked before the file is read, so a refused path never half-changes
  // the step.
  const std::optional<std::string> sjisPath = encode(path);
  if (!sjisPath || sjisPath->find('\0') != std::string::npos) return kTunePathCharactersMessage;
  if (sjisPath->size() >= kTunePathCapacity) return kTunePathTooLongMessage;

  std::error_code ec;
  const std::filesystem::path file = Utf8Path(path);
  if (std::filesystem::is_directory(file, ec)) return kTuneOpenErrorMessage;
  std::ifstream in(file, std::ios::binary);
  if (!in) return kTuneOpenErrorMessage;
  std::array<uint8_t, kTuneHeaderBytes> header{};
  std::array<uint8_t, kTuneBodyBytes> body{};
  in.read(reinterpret_cast<char*>(header.data()), header.size());
  in.read(reinterpret_cast<char*>(body.data()), body.size());
  if (in.bad()) return kTuneOpenErrorMessage;
  if (in.gcount() != static_cast<std::streamsize>(body.size())) return kTuneDamagedMessage;

  const uint16_t length = Le16(header, 6);
  if (length > kMaxTuneLength) return kTuneTooLongMessage;

  // Older tune files (version text "x.0…") carry no tempo index of their own; an index
  // outside the tempo table is taken as the default, as the tune editor does.
  int32_t tempoIndex = kDefaultTempoIndex;
  if (header[10] != '0') {
    tempoIndex = Le16(header, 24);
    if (tempoIndex > kLastTempoIndex) tempoIndex = kDefaultTempoIndex;
  }

  if (program.currentStep < 0 || program.currentStep >= kStepSlots) return kTuneOpenErrorMessage;
  StepRecord& step = program.steps[static_cast<std::size_t>(program.currentStep)];
  std::copy(body.begin(), body.end(), step.code.begin());
  step.size = length + 2;
  [[maybe_unused]] const bool stored = StoreTunePath(step, *sjisPath);
  program.tempoIndex = tempoIndex;
  program.modified = true;
  return {};
}

Outcome BrowseTune(FlowProgram& program, interaction::FileChooser& chooser,
                   const ShiftJisEncoder& encode) {
  const std::optional<std::string> chosen = chooser.Choose(TuneFileRequest());
  if (!chosen) return {};
  return ChooseTune(program, *chosen, encode);
}

// --- Loop count ------------------------------------------------------------------------

LoopCountFields OpenLoopCount(int32_t loopCount) {
  return {Number(loopCount)};
}

int32_t StoreLoopCount(const LoopCountFields& fields) {
  const auto value = ParseInteger(fields.count);
  if (!value) return 0;
  if (*value < 0 || *value > 255) return 255;
  return static_cast<int32_t>(*value);
}

// --- Branch ----------------------------------------------------------------------------

int BranchReadingInput(int inputButton) {
  if (inputButton == kBranchInputs[0]) return 1;
  if (inputButton == kBranchInputs[1]) return 2;
  return 3;
}

std::string ReadingText(uint8_t low, uint8_t high) {
  return Number(high * 256 + low);
}

BranchFields OpenBranch(const StepRecord& step) {
  BranchFields f;
  f.threshold = Number(step.value);
  f.opButton = step.op == 1 ? kBranchAtOrAbove : step.op == 2 ? kBranchBelow : 0;
  f.inputButton = step.channel == 0   ? kBranchInputs[0]
                  : step.channel == 1 ? kBranchInputs[1]
                                      : kBranchInputs[2];
  f.target = Number(step.target);
  return f;
}

Outcome StoreBranch(const BranchFields& fields, StepRecord& step, int32_t count) {
  step.value = ReadSignedEntry(fields.threshold);
  if (fields.opButton == kBranchAtOrAbove) {
    step.op = 1;
  } else if (fields.opButton == kBranchBelow) {
    step.op = 2;
  }
  if (const auto channel = ValueFor(kBranchInputs, fields.inputButton)) step.channel = *channel;
  step.target = ReadTargetEntry(fields.target, count);
  return {};
}

// --- Output ----------------------------------------------------------------------------

OutputFields OpenOutput(const StepRecord& step) {
  OutputFields f;
  f.portButton = step.channel == 0 ? kPortLed : step.channel == 1 ? kPortOut1 : kPortOut2;
  f.stateButton = step.value == 1 ? kStateOn : kStateOff;
  return f;
}

Outcome StoreOutput(const OutputFields& fields, StepRecord& step) {
  step.channel = fields.portButton == kPortLed ? 0 : fields.portButton == kPortOut1 ? 1 : 2;
  step.value = fields.stateButton == kStateOn ? 1 : 0;
  return {};
}

// --- Goto ------------------------------------------------------------------------------

GotoFields OpenGoto(const StepRecord& step) {
  return {Number(step.target)};
}

Outcome StoreGoto(const GotoFields& fields, StepRecord& step, int32_t count) {
  step.target = ReadTargetEntry(fields.target, count);
  return {};
}

// --- Compare ---------------------------------------------------------------------------

CompareFields OpenCompare(const StepRecord& step) {
  CompareFields f;
  f.threshold = Number(step.value);
  f.opButton = step.op == 1 ? kCompareGreater : step.op == 2 ? kCompareLess : kCompareEqual;
  f.target = Number(step.target);
  return f;
}

Outcome StoreCompare(const CompareFields& fields, StepRecord& step, int32_t count) {
  step.value = ReadSignedEntry(fields.threshold);
  step.op = fields.opButton == kCompareGreater ? 1 : fields.opButton == kCompareLess ? 2 : 0;
  step.target = ReadTargetEntry(fields.target, count);
  return {};
}

// --- Extended output -------------------------------------------------------------------

ExtOutputFields OpenExtOutput(const StepRecord& step) {
  ExtOutputFields f;
  for (std::size_t bit = 0; bit < f.bits.size(); ++bit) {
    f.bits[bit] = (step.channel & (1 << bit)) != 0;
  }
  return f;
}

Outcome StoreExtOutput(const ExtOutputFields& fields, StepRecord& step) {
  // Clearing keeps only the other low bits and bit 4: what the board tools have always
  // stored for an unchecked box.
  constexpr std::array<int32_t, 4> kClearMasks{0x1E, 0x1D, 0x1B, 0x17};
  for (std::size_t bit = 0; bit < fields.bits.size(); ++bit) {
    if (fields.bits[bit]) {
      step.channel |= 1 << bit;
    } else {
      step.channel &= kClearMasks[bit];
    }
  }
  return {};
}

// --- Variable --------------------------------------------------------------------------

VariableFields OpenVariable(const StepRecord& step) {
  return {Number(step.value), ButtonFor(kVariableOpButtons, step.op)};
}

Outcome StoreVariable(const VariableFields& fields, StepRecord& step) {
  step.value = ReadSignedEntry(fields.value);
  if (const auto op = ValueFor(kVariableOpButtons, fields.opButton)) step.op = *op;
  return {};
}

// --- Variable compare ------------------------------------------------------------------

VarCompareFields OpenVarCompare(const StepRecord& step) {
  return {Number(step.value), ButtonFor(kVarCompareOpButtons, step.op), Number(step.target)};
}

Outcome StoreVarCompare(const VarCompareFields& fields, StepRecord& step, int32_t count) {
  step.value = ReadSignedEntry(fields.value);
  if (const auto op = ValueFor(kVarCompareOpButtons, fields.opButton)) step.op = *op;
  step.target = ReadTargetEntry(fields.target, count);
  return {};
}

}  // namespace pendra2::flowchart
