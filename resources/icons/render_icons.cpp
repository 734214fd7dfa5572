// Renders one SVG icon as PNGs at the hicolor sizes, for desktops and software centres that
// want bitmaps: render_icons ICON.svg OUTDIR NAME SIZE... writes OUTDIR/SIZExSIZE/NAME.png.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  // A build machine has no display; the renderer needs none.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() < 5) {
    std::fputs("usage: render_icons ICON.svg OUTDIR NAME SIZE...\n", stderr);
    return 1;
  }
  QSvgRenderer svg(args[1]);
  if (!svg.isValid()) {
    std::fprintf(stderr, "render_icons: cannot read %s\n", qPrintable(args[1]));
    return 2;
  }
  for (qsizetype i = 4; i < args.size(); ++i) {
    bool ok = false;
    const int size = args[i].toInt(&ok);
    if (!ok || size <= 0 || size > 1024) {
      std::fprintf(stderr, "render_icons: '%s' is not an icon size\n", qPrintable(args[i]));
      return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    const QString folder = QStringLiteral("%1/%2x%2").arg(args[2]).arg(size);
    const QString file = folder + QLatin1Char('/') + args[3] + QStringLiteral(".png");
    if (!QDir().mkpath(folder) || !image.save(file, "PNG")) {
      std::fprintf(stderr, "render_icons: cannot write %s\n", qPrintable(file));
      return 2;
    }
  }
  return 0;
}
