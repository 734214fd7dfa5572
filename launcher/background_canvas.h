#pragma once

#include <QImage>
#include <QWidget>

namespace pendra2::launcher {

// The launcher's client area: its background colour with the BACK picture copied unscaled
// to the origin. The picture is rendered once; repainting it never reloads the artwork.
class BackgroundCanvas final : public QWidget {
  Q_OBJECT

 public:
  explicit BackgroundCanvas(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace pendra2::launcher
