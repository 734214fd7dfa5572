#pragma once
// Pendra2's fixed texts and numbers. The texts are shown exactly as they stand.

namespace pendra2::launcher {

inline constexpr const char* kClassName = "Pendra2 PC";
inline constexpr const char* kWindowTitle = "Pendra2 制御ソフト　応用版";
inline constexpr const char* kProgramVersion = "2.15.27";
inline constexpr const char* kBuildNumber = "541";
inline constexpr const char* kAboutTitle = "バージョン情報 Pendra2 制御ソフト 応用版";

inline constexpr const char* kBoardFoundText =
    "Pendra2が接続されました。\nそのまま取り外さずにご使用ください";
inline constexpr const char* kNoBoardText =
    "Pendra2が接続されていません。\n操作はPCのみとなります。";
// A board that is there but does not answer (its program is stuck).
inline constexpr const char* kNoAnswerStatusText =
    "Pendra2から応答がありません。\nPendra2を接続しなおしてください。";
inline constexpr const char* kInitialStatusText = "text";

inline constexpr const char* kWrongGenerationText =
    "現在接続されているPendraでは実行できません。\nPendra2を接続して実行してください。";
inline constexpr const char* kWrongGenerationCaption = "Version not much";

// Shown when an editor cannot be started at all; the launcher stays open then.
inline constexpr const char* kStartFailedText =
    "%1を起動できませんでした。\n%1がPendra2と同じフォルダーにあるか確かめてください。";
inline constexpr const char* kStartFailedCaption = "Pendra2";

inline constexpr const char* kChimecraftProgram = "Chimecraft";
inline constexpr const char* kStepcraftProgram = "Stepcraft";

// Artwork, by resource name.
inline constexpr const char* kBackgroundArt = "BACK";
inline constexpr const char* kChimecraftArt = "T_ORG";
inline constexpr const char* kStepcraftArt = "T_FC";
inline constexpr const char* kIconArt = "PENDRA2_ICON";

// Command identifiers.
inline constexpr int kCommandAbout = 104;
inline constexpr int kCommandExit = 105;
inline constexpr int kCommandNothing = 2001;
inline constexpr int kCommandChimecraft = 2002;
inline constexpr int kCommandStepcraft = 2004;
inline constexpr int kStatusTextId = 2006;
inline constexpr int kAboutVersionId = 1002;
inline constexpr int kAboutBuildId = 1003;

inline constexpr int kPollTimerId = 5;
inline constexpr int kPollPeriodMs = 50;

}  // namespace pendra2::launcher
