#pragma once
// The flowchart window: paints the program's view, turns the user's clicks, mouse moves and
// scroll bar actions into the editing operations on the shared Stepcraft state, carries the
// view box (2004) and takes the tool commands. Clicks are handled at exactly the client
// coordinates the hit test uses: the picture starts at the widget's top left corner, and the
// scroll bar sits to the right of the 615 × 570 picture.

#include <QAbstractSlider>
#include <QPointer>
#include <QRegion>
#include <QString>
#include <QWidget>
#include <functional>
#include <string>

#include "flowchart/edit_session.h"
#include "flowchart/stepcraft_state.h"
#include "flowchart_ui/tool_cursors.h"
#include "interaction/prompter.h"
#include "interaction/step_dialogs.h"
#include "ui_common/draw_list_painter.h"

class QComboBox;
class QScrollBar;

namespace pendra2::flowchart_ui {

inline constexpr int kViewBoxId = flowchart::kViewModeCommand;
inline constexpr int kIgnoredCommand = 214;

// The view box's entries, index = viewMode.
inline constexpr const char* kViewBoxEntries[] = {"フローチャート", "フローチャートと日本語表示"};

class FlowchartWindow : public QWidget {
  Q_OBJECT

 public:
  FlowchartWindow(flowchart::StepcraftState& state, interaction::Prompter& prompter,
                  interaction::StepDialogs& dialogs, QWidget* parent = nullptr);

  // Runs at the start of every repaint, before anything is drawn (the program looks for
  // the board there and shows or hides its board buttons).
  void SetRepaintHook(std::function<void()> hook) { repaintHook_ = std::move(hook); }
  // Runs before a click that may change the program, and after every click with what the
  // click would have done as its undo names it (empty for a click that edits nothing).
  void SetEditHooks(std::function<void()> beforeEdit,
                    std::function<void(const std::string& label)> afterClick) {
    beforeEdit_ = std::move(beforeEdit);
    afterClick_ = std::move(afterClick);
  }
  // The step the simulation runs (the state's runningStep) lit and in view; repaints only
  // when it changed.
  void ShowRunningStep();

  // Shows `mode` in the view box without running its change handling: the selections the
  // program makes itself (start-up, new, load). Modes without an entry leave it unselected.
  void ShowViewMode(int mode);
  // Brings the scroll bar's range and position in line with the program after a change made
  // elsewhere (new, load).
  void SyncScrollBar();

  QComboBox* viewBox() const { return viewBox_; }
  QScrollBar* scrollBar() const { return scrollBar_; }
  // The cursor the window shows now (the arrow in edit mode).
  const QCursor& toolCursor() const { return toolCursor_; }

  QSize sizeHint() const override;

 public slots:
  // A tool command (2013, 2014, 2016..2025), 2004 from the view box, 214 (ignored).
  // Returns whether the window handled it.
  bool Command(int id);
  // The scroll bar's line, page and thumb requests (SliderMove carries the thumb position
  // `position`, taken as given: the editing rules bound it); other actions change nothing.
  void Scroll(QAbstractSlider::SliderAction action, int position = 0);

 signals:
  // A drag over the rows or a Shift+click chose other steps.
  void SelectionChanged();
  // The caption the window shows changed (documentTitle, taken at each repaint).
  void TitleChanged(const QString& title);
  // The document, the tool or the view changed: after the window (which repaints itself)
  // the symbol toolbar repaints too.
  void RepaintBoth();

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ScrollBarAction(int action);
  void SetToolCursor(flowchart::EditCursor cursor);
  void Apply(const flowchart::WindowUpdate& update);

  flowchart::StepcraftState& state_;
  interaction::Prompter& prompter_;
  interaction::StepDialogs& dialogs_;
  std::function<void()> repaintHook_;
  std::function<void()> beforeEdit_;
  std::function<void(const std::string&)> afterClick_;
  // The step the left button went down on (-1: none), and whether it has moved off it.
  int pressStep_ = -1;
  bool dragged_ = false;
  int shownRunningStep_ = -1;
  // The rows a moved lit step repaints; a paint of these alone is no look at the board.
  QRegion litRows_;
  ui::PaintCache paintCache_;
  ToolCursors cursors_;
  QCursor toolCursor_;
  QComboBox* viewBox_ = nullptr;
  QScrollBar* scrollBar_ = nullptr;
  QString shownTitle_;
  // Scroll bar positions we set ourselves are not the user's requests.
  bool settingScrollBar_ = false;
};

}  // namespace pendra2::flowchart_ui
