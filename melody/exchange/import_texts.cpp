#include "melody/exchange/import_texts.h"

#include <cmath>
#include <cstdio>

namespace pendra2::melody::exchange {
namespace {

template <typename... Values>
std::string Format(const char* format, Values... values) {
  char text[512];
  std::snprintf(text, sizeof text, format, values...);
  return text;
}

}  // namespace

std::optional<interaction::UserMessage> ImportReport(const ImportResult& result) {
  std::string text;
  const auto add = [&text](const std::string& sentence) {
    if (!text.empty()) text += "\n";
    text += sentence;
  };
  if (result.folded > 0)
    add(Format(
        "スコアの音域（C1〜A2#）に入らない音が %d 個あったので、オクターブを変えて入れました。",
        result.folded));
  if (result.merged > 0)
    add(Format("同じ列に重なった音が %d 個あったので、いちばん高い音だけを入れました。",
               result.merged));
  if (result.cut) {
    const long whole = std::lround(std::floor(std::max(0.0, result.cut->seconds)));
    add(
        Format("スコアには %d 列までしか入らないので、MIDIファイルの %ld分%02ld秒 "
               "から後は入れませんでした。",
               result.cut->column, whole / 60, whole % 60));
  }
  if (text.empty()) return std::nullopt;
  return interaction::UserMessage{text, kImportCaption, interaction::PromptIcon::Information};
}

std::string ImportSummary(const ImportResult& result) {
  const TempoRow& tempo = TempoRowOf(result.score.tempoIndex);
  std::string text = Format("%d 列、テンポ %.*s", result.columns,
                            static_cast<int>(tempo.label.size()), tempo.label.data());
  if (result.folded > 0)
    text += Format("、音域の外の %d 音はオクターブを変えて入れます", result.folded);
  if (result.merged > 0) text += Format("、重なった %d 音は省きます", result.merged);
  if (result.cut) text += Format("、%d 列から後は入りません", result.cut->column);
  return text;
}

}  // namespace pendra2::melody::exchange
