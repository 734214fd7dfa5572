#pragma once
// Stepcraft's fixed texts, command identifiers and window layout.

#include <QRect>

namespace pendra2::flowchart_ui {

inline constexpr char kMainTitle[] = "Pendra2 ステップクラフト　基本版";
inline constexpr char kMainClassName[] = "FLOWCHART V1";
inline constexpr char kStepcraftVersion[] = "4.25.80A";
inline constexpr char kPanelTitle[] = "コマンドボタン";
inline constexpr char kToolbarTitle[] = "アクティビティ図記号 ";
inline constexpr char kLauncherProgram[] = "Pendra2";

// Menu and accelerator commands.
inline constexpr int kCommandNew = 32778;
inline constexpr int kCommandSave = 32792;
inline constexpr int kCommandSaveAs = 32775;
inline constexpr int kCommandOpen = 32774;
inline constexpr int kCommandPrint = 32784;
inline constexpr int kCommandImageDump = 32785;
inline constexpr int kCommandReconnect = 32790;
inline constexpr int kCommandTransferAll = 33030;  // すべてのボードに転送
inline constexpr int kCommandAbout = 104;
inline constexpr int kCommandExit = 105;

// The edit menu.
inline constexpr int kCommandUndo = 33001;
inline constexpr int kCommandRedo = 33002;
inline constexpr int kCommandCut = 33003;
inline constexpr int kCommandCopy = 33004;
inline constexpr int kCommandPaste = 33005;
inline constexpr int kCommandSelectAll = 33006;
inline constexpr char kUndoText[] = "元に戻す";
inline constexpr char kRedoText[] = "やり直し";
inline constexpr char kCutLabel[] = "切り取り";
inline constexpr char kPasteLabel[] = "貼り付け";

// The simulation: its menu items and buttons, its input sliders and its speed list.
inline constexpr int kCommandSimRun = 33010;
inline constexpr int kCommandSimPause = 33011;
inline constexpr int kCommandSimStep = 33012;
inline constexpr int kCommandSimStop = 33013;
inline constexpr int kSimFirstSlider = 33021;
inline constexpr int kSimSpeedList = 33024;
inline constexpr char kSimPanelTitle[] = "シミュレーション";

// Connection panel commands.
inline constexpr int kCommandTransfer = 2011;
inline constexpr int kCommandRun = 2002;
inline constexpr int kCommandStop = 2003;
inline constexpr int kCommandAutoOn = 2027;   // the AUTOOFF button: switches the mode on
inline constexpr int kCommandAutoOff = 2026;  // the AUTOON button: switches it off

// Symbol toolbar commands.
inline constexpr int kCommandLoopTool = 2013;
inline constexpr int kCommandDeleteTool = 2014;
inline constexpr int kCommandFirstTool = 2013;
inline constexpr int kCommandLastTool = 2025;

// Client rectangles of the three child windows inside the main window's work area.
inline constexpr QRect kFlowchartRect(0, 0, 615, 570);
inline constexpr QRect kPanelRect(620, 0, 180, 110);
inline constexpr QRect kToolbarRect(620, 120, 180, 320);
// The board list in the connection panel, shown while there is a board to choose.
inline constexpr QRect kBoardChooserRect(5, 72, 170, 26);

// Window backgrounds.
inline constexpr unsigned kMainBackground = 0xC8E6B4;   // RGB(200, 230, 180)
inline constexpr unsigned kPanelBackground = 0xE6C8C8;  // RGB(230, 200, 200)

}  // namespace pendra2::flowchart_ui
