// Renders the program's SVG icon into a PNG of a given size, for the icon theme.
//   render_icon SVG SIZE PNG

#include <cstdlib>
#include <iostream>

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::cerr << "usage: render_icon SVG SIZE PNG\n";
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    int size = std::atoi(argv[2]);
    if (!svg.isValid() || size <= 0)
        return 1;
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    return image.save(QString::fromLocal8Bit(argv[3])) ? 0 : 1;
}
