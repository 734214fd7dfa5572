#pragma once
// Chimecraft's main window: the menu, the connection panel (board buttons, playback buttons,
// the tempo list) and the score window, each a child window of the workspace. Every command
// of the program goes through Command(id), from a button, the menu or a replayed session.

#include <QMainWindow>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "interaction/file_chooser.h"
#include "interaction/prompter.h"
#include "melody/column_clipboard.h"
#include "melody/melody_state.h"
#include "melody/score_editor.h"
#include "melody/score_files.h"
#include "melody_ui/playback_driver.h"
#include "melody_ui/qt_column_clipboard.h"
#include "ui_common/board_worker.h"
#include "ui_common/print_chooser.h"
#include "ui_common/program_starter.h"

class QComboBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QScrollBar;
class QAction;

namespace pendra2::ui {
class BoardChooser;
class MusicBox;
}  // namespace pendra2::ui

namespace pendra2::melody::exchange {
enum class ExportKind;
}

namespace pendra2::melody_ui {

class ScoreCanvas;
class ImportChooser;

// What the window talks to outside itself.
struct ChimeServices {
  ui::BoardWorker& board;
  interaction::Prompter& prompter;
  interaction::FileChooser& files;
  melody::CountDialogs& counts;
  ui::ProgramStarter& starter;
  ui::PrintChooser& printer;
  // A replayed session ends without the save-changes question and without the launcher.
  bool replaying = false;
  // The PC's loudspeaker: it sounds the tune without a board, and with one when asked to.
  ui::MusicBox* sound = nullptr;
  // The MIDI import's choices; without one the window asks with its own dialog.
  ImportChooser* imports = nullptr;
  // Where cut, copy and paste put and take columns; nothing: the system clipboard.
  melody::ColumnClipboard* clipboard = nullptr;
};

class ChimeWindow final : public QMainWindow {
 public:
  ChimeWindow(melody::MelodyState& state, ChimeServices services);
  ~ChimeWindow() override;

  // Runs command `id`; false when the program has no such command.
  bool Command(int id);
  // The user choosing entry `index` of the tempo list (even when hidden or already chosen).
  bool SelectTempo(int index);
  void Scroll(melody::ScrollStep step, int thumb = 0);

  ScoreCanvas* scoreCanvas() const { return canvas_; }
  QMdiSubWindow* scoreWindow() const { return scoreWindow_; }
  QMdiSubWindow* panelWindow() const { return panelWindow_; }
  QScrollBar* scrollBar() const { return scrollBar_; }
  QComboBox* tempoList() const { return tempoList_; }
  QAction* loopPlayAction() const { return loopPlay_; }
  QAction* pcAlsoAction() const { return pcAlso_; }
  // Why the PC stays silent, once that is known (no audio device).
  QString soundNotice() const;
  // The edit menu's item of command `id` (kCmdUndo .. kCmdSelectAll), else nullptr.
  QAction* editAction(int id) const;
  ui::BoardChooser* boardChooser() const { return chooser_; }
  const std::string& title() const { return state_.documentTitle; }
  bool boardControlsShown() const;
  // Whether the program may end now; after a Cancel it stays open with its score.
  bool launcherStarted() const { return launcherStarted_; }

  // Places the child windows at their given positions with their given client sizes and
  // sizes the main window to hold them.
  void LayOut();

  // `Chimecraft FILE.olg`: opens the file as the load command would, without its dialog.
  bool OpenAtStart(const std::string& path);
  // The end of a replayed session: closes without the save-changes question.
  void EndWithoutQuestion();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  void BuildPanel();
  void BuildScoreWindow();
  // A repaint's look at the board, at most every 50 ms (every second while a playback runs);
  // `now` asks at once (the reconnect command).
  void RefreshBoardControls(bool now = false);
  void ShowBoardControls(const ui::BoardStatus& status);
  // Run or Stop; a request that did not reach the board says so.
  void RunOrStopBoard(int command);
  void CloseBoard();
  // Whether a board may be there: the worker decides when a request's turn comes, since
  // its first look may still be under way.
  bool MayBeFound() const {
    return !services_.board.discovered() || services_.board.status().found;
  }
  void Pressed(int x, int y);
  void Released(int x, int y);
  void Moved(int x, int y);
  void Dragged(int x, int y);
  void ShowTitle();
  void Redraw();
  // A tick of the playback came back: its column drawn, and kept in view.
  void ShowPlayedColumn();
  void SyncScrollBar();
  void SyncTempoList();
  void SendNotes(const melody::Sends& sends);
  // Whether the PC's loudspeaker sounds: always without a board, with one when asked.
  bool SoundsOnPc() const;
  // The board's codes on the PC: a note plucks its tine, a silence on its own damps them (a
  // silence after a note only ends a blip on the board; a tine ends by itself).
  void SoundOnPc(const melody::Sends& sends);
  void DampPc();
  // After a file was opened: the scroll bar, the tempo list and the title follow, then any
  // warning; a refused file (already told) leaves everything as it was.
  void ShowOpened(const melody::TuneOpened& opened);

  void NewCommand();
  void SaveCommand();
  void LoadCommand();
  // "サンプルを開く": a tune from the gallery, loaded as an untitled score.
  void OpenExampleCommand();
  void TransferCommand();
  // ファイル → MIDIファイル読込み: the save-changes question, the file, dialog 190, then the
  // tune, untitled and changed (chime_exchange.cpp).
  void ImportMidiCommand();
  // ファイル → MIDIファイル書き出し, WAVファイル書き出し.
  void ExportCommand(melody::exchange::ExportKind kind);
  ImportChooser& Imports();
  void PrintCommand();
  void SetEditMode(int mode);
  // The edit menu's commands; a running playback stops before the columns change under it.
  void EditCommand(int id);
  // The edit menu's items enabled as they can act now, undo and redo naming their step.
  void SyncEditMenu();
  // Whether the clipboard holds columns, asked only when it changed: a repaint during a
  // playback must not wait for another program that owns it.
  void LookAtClipboard();
  melody::ColumnClipboard& clipboard() {
    return services_.clipboard != nullptr ? *services_.clipboard : systemClipboard_;
  }

  melody::MelodyState& state_;
  ChimeServices services_;
  QMdiArea* area_ = nullptr;
  QMdiSubWindow* panelWindow_ = nullptr;
  QMdiSubWindow* scoreWindow_ = nullptr;
  QWidget* panel_ = nullptr;
  ScoreCanvas* canvas_ = nullptr;
  QScrollBar* scrollBar_ = nullptr;
  QComboBox* tempoList_ = nullptr;
  QAction* loopPlay_ = nullptr;
  QAction* pcAlso_ = nullptr;
  QLabel* soundNotice_ = nullptr;
  std::unique_ptr<ImportChooser> ownImports_;
  std::vector<QAction*> editActions_;  // kCmdUndo .. kCmdSelectAll, in order
  QtColumnClipboard systemClipboard_;
  bool mayPaste_ = false;
  std::vector<QWidget*> boardControls_;
  ui::BoardChooser* chooser_ = nullptr;
  PlaybackDriver* playback_ = nullptr;
  std::chrono::steady_clock::time_point lastDiscovery_{};
  bool discovered_ = false;
  QAction* reconnect_ = nullptr;
  bool launcherStarted_ = false;
  bool closing_ = false;
};

}  // namespace pendra2::melody_ui
