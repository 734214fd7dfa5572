#include "flowchart_ui/flowchart_window.h"

#include <QComboBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "flowchart_ui/dialogs/dialog_font.h"
#include "flowchart_ui/flowchart_view.h"
#include "flowchart_ui/window_editing.h"
#include "ui_common/draw_list_painter.h"
#include "ui_common/shift_jis.h"

namespace pendra2::flowchart_ui {
namespace {

// The caption the window is created with, until its first repaint shows documentTitle.
constexpr char kInitialTitle[] = "アクティビティ図編集 [No Title] ";
constexpr int kViewBoxX = 250;
constexpr int kViewBoxY = 10;
constexpr int kViewBoxWidth = 250;

editing::ScrollRequest RequestOf(QAbstractSlider::SliderAction action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      return editing::ScrollRequest::LineUp;
    case QAbstractSlider::SliderSingleStepAdd:
      return editing::ScrollRequest::LineDown;
    case QAbstractSlider::SliderPageStepSub:
      return editing::ScrollRequest::PageUp;
    case QAbstractSlider::SliderPageStepAdd:
      return editing::ScrollRequest::PageDown;
    case QAbstractSlider::SliderMove:
      return editing::ScrollRequest::Thumb;
    default:
      return editing::ScrollRequest::Other;
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
  scrollBar_->setPageStep(kVisibleRows);
  connect(scrollBar_, &QAbstractSlider::actionTriggered, this, &FlowchartWindow::ScrollBarAction);

  ShowViewMode(state_.viewMode);
  SyncScrollBar();
  resize(sizeHint());
}

QSize FlowchartWindow::sizeHint() const {
  return {kClientWidth + style()->pixelMetric(QStyle::PM_ScrollBarExtent), kClientHeight};
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
    state_.viewMode = viewBox_->currentIndex();
    update();
    return true;
  }
  if (id == kIgnoredCommand) return true;
  if (!editing::SelectTool(state_, id)) return false;
  SetToolCursor(CommandCursorName(state_.editMode));
  emit RepaintBoth();
  update();
  return true;
}

void FlowchartWindow::Scroll(QAbstractSlider::SliderAction action, int position) {
  settingScrollBar_ = true;
  scrollBar_->setRange(0, std::max(state_.program.count - 1, 0));
  settingScrollBar_ = false;
  const bool repaintBoth = editing::Scroll(state_, RequestOf(action), position);
  if (repaintBoth) emit RepaintBoth();
  SyncScrollBar();
  update();
}

void FlowchartWindow::ScrollBarAction(int action) {
  if (settingScrollBar_) return;
  // The slider has already moved its thumb for this action; the editing rules decide where
  // it really goes, and the position we set afterwards is the one the slider keeps.
  Scroll(static_cast<QAbstractSlider::SliderAction>(action), scrollBar_->sliderPosition());
}

void FlowchartWindow::SetToolCursor(const std::string& name) {
  toolCursor_ = cursors_.Get(name);
  setCursor(toolCursor_);
}

void FlowchartWindow::AfterEdit() {
  SyncScrollBar();
  emit RepaintBoth();
  update();
}

void FlowchartWindow::paintEvent(QPaintEvent*) {
  if (repaintHook_) repaintHook_();
  const ViewState view{.viewMode = state_.viewMode,
                       .topStep = state_.topStep,
                       .hoverRow = state_.hoverRow,
                       .imageSize = state_.program.imageSize};
  QPainter painter(this);
  painter.setClipRect(QRect(0, 0, kClientWidth, kClientHeight));
  ui::PaintDrawList(painter, FlowchartWindowPicture(state_.program, view, ui::ShiftJisToUtf8));
  painter.end();

  const QString title = QString::fromStdString(state_.documentTitle);
  if (title != shownTitle_) {
    shownTitle_ = title;
    setWindowTitle(title);
    emit TitleChanged(title);
  }
}

void FlowchartWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  editing::Click(state_, at.x(), at.y(), prompter_, dialogs_);
  SetToolCursor(MoveCursorName(state_.editMode));
  AfterEdit();
}

void FlowchartWindow::mouseMoveEvent(QMouseEvent* event) {
  SetToolCursor(MoveCursorName(state_.editMode));
  const QPoint at = event->position().toPoint();
  if (editing::MouseMove(state_, at.x(), at.y())) update();
}

void FlowchartWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  scrollBar_->setGeometry(width() - barWidth, 0, barWidth, height());
}

}  // namespace pendra2::flowchart_ui
