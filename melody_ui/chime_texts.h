#pragma once
// Chimecraft's fixed texts and the identifiers of its commands and controls. The ids are
// also the object names of the controls, so a replayed session finds them.

namespace pendra2::melody_ui {

inline constexpr char kProgramTitle[] = "Pendra2 チャイムクラフト";
inline constexpr char kProgramVersion[] = "2.53.60";
inline constexpr char kBuildNumber[] = "4910";
inline constexpr char kPanelCaption[] = "コマンドボタン";
inline constexpr char kAboutTitle[] = "バージョン情報 チャイムクラフト";
inline constexpr char kLauncherProgram[] = "Pendra2";

// Menu commands.
inline constexpr int kCmdNew = 32778;
inline constexpr int kCmdSave = 32775;
inline constexpr int kCmdLoad = 32774;
inline constexpr int kCmdPrint = 32784;
inline constexpr int kCmdExit = 105;
inline constexpr int kCmdLoopPlay = 32781;
inline constexpr int kCmdReconnect = 32790;  // as Stepcraft's "Pendra 再接続"
inline constexpr int kCmdAbout = 104;
inline constexpr int kCmdImportMidi = 33020;
inline constexpr int kCmdExportMidi = 33021;
inline constexpr int kCmdExportWav = 33022;
inline constexpr int kCmdPcAlso = 33025;  // コントロール → PCでも鳴らす

// The edit menu.
inline constexpr int kCmdUndo = 33001;
inline constexpr int kCmdRedo = 33002;
inline constexpr int kCmdCut = 33003;
inline constexpr int kCmdCopy = 33004;
inline constexpr int kCmdPaste = 33005;
inline constexpr int kCmdSelectAll = 33006;

inline constexpr char kEditMenu[] = "編集(&E)";
inline constexpr char kUndoItem[] = "元に戻す";
inline constexpr char kRedoItem[] = "やり直し";
inline constexpr char kCutItem[] = "切り取り";
inline constexpr char kCopyItem[] = "コピー";
inline constexpr char kPasteItem[] = "貼り付け";
inline constexpr char kSelectAllItem[] = "すべて選択";

// What undo and redo name after their item ("元に戻す: 音符の入力"), by the step's edit.
inline constexpr char kNoteStep[] = "音符の入力";
inline constexpr char kInsertStep[] = "列の挿入";
inline constexpr char kDeleteStep[] = "列の削除";
inline constexpr char kLoopPlacedStep[] = "くり返しの設定";
inline constexpr char kLoopCountStep[] = "くり返し回数の変更";
inline constexpr char kLoopRemovedStep[] = "くり返しの削除";
inline constexpr char kTempoStep[] = "テンポの変更";
inline constexpr char kCutStep[] = "切り取り";
inline constexpr char kPasteStep[] = "貼り付け";

// Connection panel controls.
inline constexpr int kCmdBoardRun = 2002;
inline constexpr int kCmdBoardStop = 2003;
inline constexpr int kCmdWholePlay = 2004;
inline constexpr int kCmdStopPlay = 2009;
inline constexpr int kCmdPartPlay = 2010;
inline constexpr int kCmdTransfer = 2011;
inline constexpr int kTempoList = 2012;
inline constexpr int kSoundNotice = 2016;  // why the PC stays silent

// Score window commands.
inline constexpr int kCmdLoopStartMode = 2013;
inline constexpr int kCmdDeleteMode = 2014;
inline constexpr int kCmdInsertMode = 2015;

// Version dialog controls.
inline constexpr int kAboutDialog = 103;
inline constexpr int kAboutVersionId = 1002;
inline constexpr int kAboutBuildId = 1003;

// Window colours.
inline constexpr unsigned kMainBackground = 0xC8E6B4;   // RGB(200, 230, 180)
inline constexpr unsigned kPanelBackground = 0xE6C8C8;  // RGB(230, 200, 200)

}  // namespace pendra2::melody_ui
