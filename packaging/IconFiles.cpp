// quor_icon_files: writes the program's icon for the desktop's icon theme, drawn by the same
// painting as the window's icon: DIR/scalable/apps/NAME.svg and DIR/SxS/apps/NAME.png for each
// size S given.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cstdio>

#include "ProgramIcon.h"

namespace {

// The painting's own unit square, scaled by the viewers; 64 keeps the coordinates readable.
constexpr int kSvgSize = 64;

bool writeSvg(const QString& path) {
  QSvgGenerator svg;
  svg.setFileName(path);
  svg.setSize(QSize(kSvgSize, kSvgSize));
  svg.setViewBox(QRect(0, 0, kSvgSize, kSvgSize));
  svg.setTitle("Quor Generator");
  svg.setDescription("A sine period on a dark screen");
  QPainter painter;
  if (!painter.begin(&svg)) return false;
  quor::paintProgramIcon(painter, kSvgSize);
  return painter.end();
}

bool writePng(const QString& path, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    quor::paintProgramIcon(painter, size);
  }
  return image.save(path, "PNG");
}

QString place(const QString& folder, const QString& file) {
  QDir().mkpath(folder);
  return QDir(folder).filePath(file);
}

}  // namespace

int main(int argc, char** argv) {
  // Drawing needs no screen: the build may run without one.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = QGuiApplication::arguments();
  if (args.size() < 3) {
    std::fprintf(stderr, "usage: quor_icon_files DIR NAME [SIZE...]\n");
    return 2;
  }
  const QDir dir(args[1]);
  const QString name = args[2];
  if (!writeSvg(place(dir.filePath("scalable/apps"), name + ".svg"))) {
    std::fprintf(stderr, "quor_icon_files: cannot write the SVG icon in %s\n", qPrintable(args[1]));
    return 1;
  }
  for (qsizetype i = 3; i < args.size(); ++i) {
    bool number = false;
    const int size = args[i].toInt(&number);
    const QString folder = dir.filePath(QString("%1x%1/apps").arg(size));
    if (!number || size < 1 || !writePng(place(folder, name + ".png"), size)) {
      std::fprintf(stderr, "quor_icon_files: cannot write the %s icon in %s\n", qPrintable(args[i]),
                   qPrintable(folder));
      return 1;
    }
  }
  return 0;
}
