// mkicons FOLDER SIZE...: draws the program icon as FOLDER/NxN/apps/tabwright.png
// for every size given, the layout of an icon theme such as hicolor.
#include <QDir>
#include <QImage>
#include <cstdio>

#include "app/Glyphs.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: mkicons FOLDER SIZE...\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  for (int i = 2; i < argc; ++i) {
    const int side = QString::fromLatin1(argv[i]).toInt();
    if (side <= 0) {
      std::fprintf(stderr, "mkicons: not a size: %s\n", argv[i]);
      return 2;
    }
    const QString apps = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(side);
    if (!QDir().mkpath(apps) || !ProductLogoImage(side).save(apps + QStringLiteral("/tabwright.png"))) {
      std::fprintf(stderr, "mkicons: cannot write %s\n", qPrintable(apps));
      return 1;
    }
  }
  return 0;
}
