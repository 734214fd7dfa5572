#include "flowchart_ui/flowchart_window.h"

#include <QComboBox>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <utility>

#include "flowchart/edit_session.h"
#include "flowchart/step_blocks.h"
#include "flowchart/view/flowchart_view.h"
#include "flowchart_ui/dialogs/dialog_font.h"
#include "ui_common/draw_list_painter.h"
#include "ui_common/shift_jis.h"

namespace pendra2::flowchart_ui {
namespace {

// The step under a point of the rows (not on its number), or -1.
int StepUnder(const flowchart::StepcraftState& state, QPoint at) {
  if (at.x() < flowchart::kSymbolLeft || at.x() >= flowchart::kRowsRight ||
      at.y() < flowchart::kRowsTop) {
    return -1;
  }
  const int row = flowchart::RowAt(at.y());
  const int step = state.topStep + row;
  return row < flowchart::kVisibleRows && step < state.program.count ? step : -1;
}

// Visible row r with what it draws beyond its strip: the listing line reaches a little into
// the next row, the lit frame's pen a little above.
QRect RowArea(int r) {
  return QRect(0, flowchart::kRowsTop + r * flowchart::kRowHeight - 4, flowchart::kClientWidth,
               flowchart::kRowHeight + 12);
}

// The caption the window is created with, until its first repaint shows documentTitle.
constexpr char kInitialTitle[] = "アクティビティ図編集 [No Title] ";
constexpr int kViewBoxX = 250;
constexpr int kViewBoxY = 10;
constexpr int kViewBoxWidth = 250;

flowchart::ScrollRequest RequestOf(QAbstractSlider::SliderAction action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      return flowchart::ScrollRequest::LineUp;
    case QAbstractSlider::SliderSingleStepAdd:
      return flowchart::ScrollRequest::LineDown;
    case QAbstractSlider::SliderPageStepSub:
      return flowchart::ScrollRequest::PageUp;
    case QAbstractSlider::SliderPageStepAdd:
      return flowchart::ScrollRequest::PageDown;
    case QAbstractSlider::SliderMove:
      return flowchart::ScrollRequest::ThumbTrack;
    default:
      return flowchart::ScrollRequest::Other;
  }
}

}  // namespace

FlowchartWindow::FlowchartWindow(flowchart::StepcraftState& state, interaction::Prompter& prompter,
                                 interaction::StepDialogs& dialogs, QWidget* parent)
    : QWidget(parent), state_(state), prompter_(prompter), dialogs_(dialogs) {
  setWindowTitle(QString::fromUtf8(kInitialTitle));
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  setMouseTracking(true);

  viewBox_ = new QComboBox(this);
  viewBox_->setObjectName(QString::number(kViewBoxId));
  viewBox_->setFont(DialogFont());
  for (const char* entry : kViewBoxEntries) viewBox_->addItem(QString::fromUtf8(entry));
  viewBox_->setGeometry(kViewBoxX, kViewBoxY, kViewBoxWidth, viewBox_->sizeHint().height());
  // Every choice the user makes counts, also choosing the entry already shown.
  connect(viewBox_, &QComboBox::activated, this, [this] { Command(kViewBoxId); });

  scrollBar_ = new QScrollBar(Qt::Vertical, this);
  scrollBar_->setSingleStep(1);
  scrollBar_->setPageStep(flowchart::kVisibleRows);
  connect(scrollBar_, &QAbstractSlider::actionTriggered, this, &FlowchartWindow::ScrollBarAction);

  ShowViewMode(state_.viewMode);
  SyncScrollBar();
  resize(sizeHint());
}

QSize FlowchartWindow::sizeHint() const {
  return {flowchart::kClientWidth + style()->pixelMetric(QStyle::PM_ScrollBarExtent),
          flowchart::kClientHeight};
}

void FlowchartWindow::ShowViewMode(int mode) {
  const QSignalBlocker quiet(viewBox_);
  viewBox_->setCurrentIndex(mode >= 0 && mode < viewBox_->count() ? mode : -1);
}

void FlowchartWindow::SyncScrollBar() {
  settingScrollBar_ = true;
  scrollBar_->setRange(0, std::max(state_.program.count - 1, 0));
  scrollBar_->setSliderPosition(state_.topStep);
  scrollBar_->setValue(scrollBar_->sliderPosition());
  settingScrollBar_ = false;
}

bool FlowchartWindow::Command(int id) {
  if (id == kViewBoxId) {
    Apply(flowchart::SelectViewMode(state_, viewBox_->currentIndex()));
    return true;
  }
  if (id == kIgnoredCommand) return true;
  if (!flowchart::SelectTool(state_, id)) return false;
  SetToolCursor(flowchart::ToolCursor(state_.editMode));
  Apply({.repaintWindow = true, .repaintToolbar = true});
  return true;
}

void FlowchartWindow::Scroll(QAbstractSlider::SliderAction action, int position) {
  // The range follows the program first, so the bar always matches what it scrolls.
  SyncScrollBar();
  const flowchart::ScrollUpdate scrolled = flowchart::Scroll(state_, RequestOf(action), position);
  if (scrolled.repaintToolbar) emit RepaintBoth();
  settingScrollBar_ = true;
  scrollBar_->setRange(0, scrolled.rangeMax);
  scrollBar_->setSliderPosition(scrolled.position);
  scrollBar_->setValue(scrolled.position);
  settingScrollBar_ = false;
  update();
}

void FlowchartWindow::ScrollBarAction(int action) {
  if (settingScrollBar_) return;
  // The slider has already moved its thumb for this action; the editing rules decide where
  // it really goes, and the position we set afterwards is the one the slider keeps.
  Scroll(static_cast<QAbstractSlider::SliderAction>(action), scrollBar_->sliderPosition());
}

void FlowchartWindow::SetToolCursor(flowchart::EditCursor cursor) {
  toolCursor_ = cursors_.Get(cursor);
  setCursor(toolCursor_);
}

void FlowchartWindow::Apply(const flowchart::WindowUpdate& update) {
  if (update.cursor != flowchart::EditCursor::None) SetToolCursor(update.cursor);
  if (update.repaintWindow || update.repaintToolbar) this->update();
  if (update.repaintToolbar) emit RepaintBoth();
}

void FlowchartWindow::showEvent(QShowEvent* event) {
  // Showing the window shows the program: the toolbar beside it repaints with it.
  emit RepaintBoth();
  QWidget::showEvent(event);
}

void FlowchartWindow::paintEvent(QPaintEvent* event) {
  const bool litRowsOnly = (event->region() - litRows_).isEmpty();
  litRows_ = QRegion();
  if (repaintHook_ && !litRowsOnly) repaintHook_();
  const flowchart::view::ViewState view{.viewMode = state_.viewMode,
                                        .topStep = state_.topStep,
                                        .hoverRow = state_.hoverRow,
                                        .imageSize = state_.program.imageSize,
                                        .runningStep = state_.runningStep,
                                        .breakpoints = state_.breakpoints,
                                        .selectFirst = state_.selectFirst,
                                        .selectLast = state_.selectLast};
  shownRunningStep_ = state_.runningStep;
  QPainter painter(this);
  painter.setClipRect(QRect(0, 0, flowchart::kClientWidth, flowchart::kClientHeight));
  ui::PaintDrawList(
      painter, flowchart::view::FlowchartWindowPicture(state_.program, view, ui::ShiftJisToUtf8),
      paintCache_, event->rect());
  painter.end();

  const QString title = QString::fromStdString(state_.documentTitle);
  if (title != shownTitle_) {
    shownTitle_ = title;
    setWindowTitle(title);
    emit TitleChanged(title);
  }
}

void FlowchartWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressStep_ = StepUnder(state_, event->position().toPoint());
  dragged_ = false;
}

void FlowchartWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  pressStep_ = -1;
  const int released = StepUnder(state_, at);
  // A drag over the rows, or a Shift+click, chooses steps and edits nothing.
  const bool dragged = std::exchange(dragged_, false);
  const bool shifted = (event->modifiers() & Qt::ShiftModifier) && released >= 0;
  if (dragged || shifted) {
    if (!dragged) flowchart::SelectSteps(state_, state_.anchorStep, released);
    update();
    emit SelectionChanged();
    return;
  }
  const std::string label = flowchart::EditLabel(state_, at.x(), at.y());
  if (beforeEdit_ && flowchart::ClickMayEdit(state_, at.x(), at.y())) beforeEdit_();
  const flowchart::WindowUpdate update =
      flowchart::Click(state_, at.x(), at.y(), prompter_, dialogs_);
  if (afterClick_) afterClick_(label);
  // An edit may have added or removed steps: the bar's range follows.
  SyncScrollBar();
  Apply(update);
}

void FlowchartWindow::ShowRunningStep() {
  const int step = state_.runningStep;
  if (step == shownRunningStep_) return;
  // A lit step out of view scrolls in, with a row of what came before it above.
  if (step >= 0 && (step < state_.topStep || step >= state_.topStep + flowchart::kVisibleRows)) {
    const int last = std::max(state_.program.count - 1, 0);
    state_.topStep = std::clamp(step - 1, 0, std::min(last, flowchart::kMaxTopStep));
    SyncScrollBar();
    emit RepaintBoth();
    update();
    return;
  }
  // A program without waits moves the lit step many times a second: only the rows it left
  // and reached are drawn again.
  for (const int row : {shownRunningStep_, step}) {
    if (row < state_.topStep || row >= state_.topStep + flowchart::kVisibleRows) continue;
    const QRect area = RowArea(row - state_.topStep);
    litRows_ += area;
    update(area);
  }
}

void FlowchartWindow::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if ((event->buttons() & Qt::LeftButton) && pressStep_ >= 0) {
    const int over = StepUnder(state_, at);
    if (over >= 0 && (dragged_ || over != pressStep_)) {
      dragged_ = true;
      flowchart::SelectSteps(state_, pressStep_, over);
      update();
    }
  }
  const flowchart::WindowUpdate update = flowchart::MouseMove(state_, at.x(), at.y());
  // The edit tool shows the window's own cursor, the arrow, as soon as the mouse moves.
  SetToolCursor(update.cursor);
  Apply(update);
}

void FlowchartWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  scrollBar_->setGeometry(width() - barWidth, 0, barWidth, height());
}

}  // namespace pendra2::flowchart_ui
