// SPDX-License-Identifier: MIT
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: svgtopng <input.svg> <output.png> <width> <height>\n");
        return 2;
    }
    // No window is shown: offscreen keeps this usable on build machines without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);

    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    bool widthOk = false;
    bool heightOk = false;
    const int width = QString::fromLocal8Bit(argv[3]).toInt(&widthOk);
    const int height = QString::fromLocal8Bit(argv[4]).toInt(&heightOk);
    if (!widthOk || !heightOk || width <= 0 || height <= 0) {
        std::fprintf(stderr, "svgtopng: bad size %s x %s\n", argv[3], argv[4]);
        return 2;
    }

    // Text would be drawn in whatever fonts the build machine has (or as empty boxes where it has
    // none): the pictures keep their labels as outlines.
    QFile file(input);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "svgtopng: cannot read %s\n", argv[1]);
        return 1;
    }
    const QByteArray svg = file.readAll();
    for (QXmlStreamReader xml(svg); !xml.atEnd();) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"text") {
            std::fprintf(stderr, "svgtopng: %s has text on line %lld: draw it as outlines\n",
                         argv[1], static_cast<long long>(xml.lineNumber()));
            return 1;
        }
    }

    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "svgtopng: %s is not a valid SVG file\n", argv[1]);
        return 1;
    }

    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        renderer.render(&painter, QRectF(0, 0, width, height));
    }

    if (!image.save(output, "PNG")) {
        std::fprintf(stderr, "svgtopng: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
