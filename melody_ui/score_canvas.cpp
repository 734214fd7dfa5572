#include "melody_ui/score_canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

#include "melody/view/score_view.h"
#include "melody_ui/chime_texts.h"
#include "ui_common/bitmaps.h"
#include "ui_common/draw_list_painter.h"

namespace pendra2::melody_ui {
namespace {

QRect ButtonRect(const interaction::Rect& r) {
  return {r.left, r.top, r.Width(), r.Height()};
}

}  // namespace

QToolButton* MakeArtButton(const char* art, int id, QRect geometry, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::number(id));
  button->setGeometry(geometry);
  button->setAutoRaise(false);
  button->setFocusPolicy(Qt::NoFocus);
  const QImage image = ui::LoadBitmap(QString::fromLatin1(art), geometry.size());
  if (image.isNull()) {
    button->setText(QString::fromLatin1(art));
  } else {
    button->setIcon(QIcon(QPixmap::fromImage(image)));
    button->setIconSize(geometry.size());
    button->setStyleSheet(QStringLiteral("QToolButton { border: none; padding: 0; }"));
  }
  return button;
}

ScoreCanvas::ScoreCanvas(const melody::MelodyState& state, QWidget* parent)
    : QWidget(parent), state_(state) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFixedSize(melody::kClientWidth, melody::kClientHeight);
  deleteButton_ =
      MakeArtButton("SCRDEL", kCmdDeleteMode, ButtonRect(melody::view::kDeleteButtonRect), this);
  insertButton_ =
      MakeArtButton("SCRINS", kCmdInsertMode, ButtonRect(melody::view::kInsertButtonRect), this);
  // Loops are written by hand from here: a start mark, then its end.
  loopButton_ = MakeArtButton("LOOPINS", kCmdLoopStartMode, QRect(615, 200, 60, 30), this);
}

void ScoreCanvas::paintEvent(QPaintEvent* /*event*/) {
  if (painting) painting();
  QPainter painter(this);
  Paint(painter, melody::view::ScoreWindowPicture(state_));
}

void ScoreCanvas::Paint(QPainter& painter, const interaction::DrawList& picture) {
  interaction::DrawList run;  // texts, fills and lines between two pictures
  auto flush = [&] {
    if (run.items.empty()) return;
    ui::PaintDrawList(painter, run);
    run.items.clear();
  };
  for (const interaction::DrawItem& item : picture.items) {
    const auto* bitmap = std::get_if<interaction::BitmapItem>(&item);
    if (bitmap == nullptr || bitmap->dest.Empty() || bitmap->dest.Width() < 0 ||
        bitmap->dest.Height() < 0) {
      run.items.push_back(item);
      continue;
    }
    flush();
    const auto& d = bitmap->dest;
    const auto& src = bitmap->source;
    const ArtKey key{bitmap->name, d.Width(), d.Height(), src.left, src.top, src.right, src.bottom};
    auto it = art_.find(key);
    if (it == art_.end()) {
      QPixmap pixmap(d.Width(), d.Height());
      pixmap.fill(Qt::transparent);
      QPainter art(&pixmap);
      interaction::DrawList one;
      one.Bitmap(bitmap->name, {0, 0, d.Width(), d.Height()}, src);
      ui::PaintDrawList(art, one);
      art.end();
      it = art_.emplace(key, std::move(pixmap)).first;
    }
    painter.drawPixmap(d.left, d.top, it->second);
  }
  flush();
}

void ScoreCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  const QPoint at = event->position().toPoint();
  if (pressed) pressed(at.x(), at.y());
}

void ScoreCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  if (released) released(at.x(), at.y());
}

void ScoreCanvas::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (moved) moved(at.x(), at.y());
  if (dragged && (event->buttons() & Qt::LeftButton)) dragged(at.x(), at.y());
}

}  // namespace pendra2::melody_ui
