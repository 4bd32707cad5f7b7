// Build-time tool: renders the program's SVG icon into square PNG files of the given sizes, for the
// icon theme folders of the installed tree.
//   render-icon ICON.svg SIZE OUT.png [SIZE OUT.png]...

#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc < 4 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: render-icon ICON.svg SIZE OUT.png [SIZE OUT.png]...\n");
        return 64;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render-icon: %s is not a valid SVG image\n", argv[1]);
        return 1;
    }
    for (int i = 2; i + 1 < argc; i += 2) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size < 1 || size > 4096) {
            std::fprintf(stderr, "render-icon: %s is not an icon size\n", argv[i]);
            return 64;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        if (!image.save(QString::fromLocal8Bit(argv[i + 1]), "PNG")) {
            std::fprintf(stderr, "render-icon: cannot write %s\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
