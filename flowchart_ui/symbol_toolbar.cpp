#include "flowchart_ui/symbol_toolbar.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

#include "flowchart_ui/stepcraft_texts.h"
#include "ui_common/bitmaps.h"

namespace pendra2::flowchart_ui {

SymbolToolbar::SymbolToolbar(const flowchart::StepcraftState& state,
                             std::function<void(int)> sendTool, QWidget* parent)
    : QWidget(parent), state_(state), sendTool_(std::move(sendTool)) {
  setObjectName(QStringLiteral("TBWndClass"));
  setWindowTitle(QString::fromUtf8(kToolbarTitle));
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);

  for (const ToolButtonPlace& place : kToolButtons) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::number(place.command));
    button->setGeometry(QRect(place.at, kToolButtonSize));
    button->setIcon(QIcon(QPixmap::fromImage(ui::LoadBitmap(QString::fromUtf8(place.art)))));
    button->setIconSize(kToolButtonSize - QSize(4, 4));
    button->setAutoRaise(true);
    button->setCheckable(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(QString::fromUtf8(place.toolTip));
    button->setAccessibleName(QString::fromUtf8(place.toolTip));
    // The pressed look follows the tool in use, never the click itself.
    connect(button, &QToolButton::clicked, this, [this, command = place.command] {
      sendTool_(command);
      update();
    });
    buttons_[place.command] = button;
  }
  resize(sizeHint());
}

QToolButton* SymbolToolbar::button(int command) const {
  const auto it = buttons_.find(command);
  return it == buttons_.end() ? nullptr : it->second;
}

QSize SymbolToolbar::sizeHint() const {
  return kToolbarRect.size();
}

void SymbolToolbar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), ui::LoadBitmap(QStringLiteral("TBBK")));
  for (const ToolButtonPlace& place : kToolButtons) {
    QToolButton* b = buttons_.at(place.command);
    if (b->isChecked() != (state_.editMode == place.mode))
      b->setChecked(state_.editMode == place.mode);
  }
}

}  // namespace pendra2::flowchart_ui
