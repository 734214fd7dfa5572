#include "flowchart/listing.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace pendra2::flowchart {
namespace {

// printf over one of our own constant templates; the callers pass exactly the arguments
// their row expects.
template <typename... Args>
std::string Format(const char* format, Args... args) {
  if (format[0] == '\0') return {};
  char buffer[512];
  const int n = std::snprintf(buffer, sizeof buffer, format, args...);
  if (n < 0) return {};
  if (static_cast<std::size_t>(n) < sizeof buffer) return std::string(buffer, n);
  std::string big(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(big.data(), big.size(), format, args...);
  big.resize(static_cast<std::size_t>(n));
  return big;
}

std::string Decoded(std::string_view sjis, const ShiftJisDecoder& decode) {
  return decode ? decode(sjis) : std::string(sjis);
}

std::string TuneName(const StepRecord& step, const ShiftJisDecoder& decode) {
  return Decoded(TuneDisplayName(StoredTunePath(step)), decode);
}

bool IsHighByte(char c) {
  return static_cast<uint8_t>(c) > 0x80;
}

const char* const kVariableCaptionsA[] = {"A = %d",     "A = A + %d", "A = A - %d", "A = A x %d",
                                          "A = A / %d", "A = 入力1",  "A = 入力2",  "A = 入力3",
                                          "A = A + B",  "A = A - B",  "A = A x B",  "A = A / B"};
const char* const kVariableCaptionsB[] = {"B = %d",     "B = B + %d", "B = B - %d", "B = B x %d",
                                          "B = B / %d", "B = 入力1",  "B = 入力2",  "B = 入力3",
                                          "B = B + A",  "B = B - A",  "B = B x A",  "B = B / A"};
const char* const kVarCompareCaptions[] = {"A = %d", "A > %d", "A < %d", "B = %d", "B > %d",
                                           "B < %d", "A = B",  "A > B",  "A < B"};

std::string OutputCaption(const StepRecord& step) {
  const bool on = step.value == 1;
  switch (step.channel) {
    case 0:
      return on ? "LED ON " : "LED OFF";
    case 1:
      return on ? "出力1 ON " : "出力1 OFF";
    default:
      return on ? "出力2 ON " : "出力2 OFF";
  }
}

// Template rows by operation (variables) and by condition (variable compares).
constexpr int kVariableRowsA[] = {21, 22, 23, 43, 44, 24, 24, 24, 25, 26, 27, 28};
constexpr int kVariableRowsB[] = {29, 30, 31, 45, 46, 32, 32, 32, 33, 34, 35, 36};
constexpr int kVarCompareRows[] = {18, 19, 20, 37, 38, 39, 40, 41, 42};

}  // namespace

std::string_view StoredTunePath(const StepRecord& step) {
  const auto* start = reinterpret_cast<const char*>(step.code.data() + kTunePathOffset);
  const void* nul = std::memchr(start, 0, kTunePathCapacity);
  const std::size_t length =
      nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - start) : kTunePathCapacity;
  return {start, length};
}

std::string TuneDisplayName(std::string_view sjisPath) {
  // A backslash right after a byte above 0x80 is taken as the second byte of a double-byte
  // character (ソ is 0x83 0x5C) and stays in the name; every other backslash ends a folder,
  // and so does '/', which is never a second byte. Stored programs show their names this
  // way, so the rule stays byte-wise.
  std::size_t nameStart = 0;
  for (std::size_t i = 0; i < sjisPath.size(); ++i) {
    const bool secondByte = i > 0 && IsHighByte(sjisPath[i - 1]);
    if ((sjisPath[i] == '\\' && !secondByte) || sjisPath[i] == '/') nameStart = i + 1;
  }
  const std::string_view name = sjisPath.substr(nameStart);
  if (name.size() <= 12) return std::string(name);
  if (IsHighByte(name[8])) return std::string(name.substr(0, 10)) + "..";
  return std::string(name.substr(0, 9)) + "...";
}

std::string OutputBitsText(int32_t channel) {
  std::string bits;
  for (int b = 0; b < 4; ++b) bits += (channel >> b) & 1 ? '1' : '0';
  return bits;
}

std::string StepCaption(const StepRecord& step, const ShiftJisDecoder& decode) {
  switch (step.Kind()) {
    case StepKind::Orgel:
      return TuneName(step, decode);
    case StepKind::Wait:
      return Format("%.1lf", step.value * 0.5);
    case StepKind::LoopStart:
      return Format("%03d", step.loopCount);
    case StepKind::Branch:
      return Format(step.op == 1 ? ">=%d" : "<%d", step.value);
    case StepKind::Output:
      return OutputCaption(step);
    case StepKind::Goto:
      return Format("%03d", step.target);
    case StepKind::ExtOutput:
      return "BITSET " + OutputBitsText(step.channel);
    case StepKind::Compare:
      return step.op == 0 ? "=" : step.op == 1 ? ">" : "<";
    case StepKind::Variable:
      if (step.op < 0 || step.op > 11) return {};
      return Format((step.channel == 0 ? kVariableCaptionsA : kVariableCaptionsB)[step.op],
                    step.value);
    case StepKind::VarCompare:
      if (step.op < 0 || step.op > 8) return {};
      return Format(kVarCompareCaptions[step.op], step.value);
    default:
      return {};
  }
}

int ListingRow(const StepRecord& step) {
  switch (step.Kind()) {
    case StepKind::Start:
      return 0;
    case StepKind::Orgel:
      return 1;
    case StepKind::Wait:
      return 2;
    case StepKind::Branch:
      if (step.channel == 3) return -1;
      return step.op == 1 ? 5 : 6;
    case StepKind::LoopStart:
      return 8;
    case StepKind::LoopEnd:
      return 9;
    case StepKind::Output:
      return step.channel == 0 ? 10 : 11;
    case StepKind::End:
      return 12;
    case StepKind::Goto:
      return 13;
    case StepKind::Compare:
      if (step.op < 0 || step.op > 2) return -1;
      return 14 + step.op;
    case StepKind::ExtOutput:
      return 17;
    case StepKind::VarCompare:
      if (step.op < 0 || step.op > 8) return -1;
      return kVarCompareRows[step.op];
    case StepKind::Variable:
      if (step.op < 0 || step.op > 11) return -1;
      return (step.channel == 0 ? kVariableRowsA : kVariableRowsB)[step.op];
    default:
      return -1;
  }
}

std::string ListingLine(int n, const StepRecord& step, Notation notation,
                        const ShiftJisDecoder& decode) {
  const int row = ListingRow(step);
  if (row < 0) return {};
  const char* format = ListingTemplate(row, notation);
  const char* onOff = step.value != 0 ? "ON " : "OFF";
  switch (row) {
    case 1:
      return Format(format, n, TuneName(step, decode).c_str());
    case 2:
      return Format(format, n, step.value * 0.5);
    case 5:
    case 6:
      // Inputs are counted from 1; a damaged file's channel must not overflow the count.
      return Format(format, n, step.channel < INT32_MAX ? step.channel + 1 : step.channel,
                    step.value, step.target);
    case 8:
      return Format(format, n, step.loopCount);
    case 10:
      return Format(format, n, onOff);
    case 11:
      return Format(format, n, step.channel, onOff);
    case 13:
    case 14:
    case 15:
    case 16:
    case 40:
    case 41:
    case 42:
      return Format(format, n, step.target);
    case 17:
      return Format(format, n, OutputBitsText(step.channel).c_str());
    case 18:
    case 19:
    case 20:
    case 37:
    case 38:
    case 39:
      return Format(format, n, step.value, step.target);
    case 21:
    case 22:
    case 23:
    case 29:
    case 30:
    case 31:
    case 43:
    case 44:
    case 45:
    case 46:
      return Format(format, n, step.value);
    case 24:
    case 32:
      return Format(format, n, step.op - 4);
    default:
      return Format(format, n);  // 0, 9, 12, 25..28, 33..36
  }
}

}  // namespace pendra2::flowchart
