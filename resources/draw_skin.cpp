// Draws the program's pictures: the 300 x 350 skin that every screen copies
// its pieces from, and the program icon. Run after changing a picture and
// commit the PNGs it writes:
//   cmake --build build --target kelvane_draw_skin && build/src/app/kelvane_draw_skin resources
// The piece positions are fixed by the screens that use them; only the art is free.

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

const QColor ink(30, 60, 150);
const QColor key_colour(1, 1, 1);

void band(QPainter& p, QRect r, QColor top, QColor bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(r, g);
}

// The tab bar's background: a light band with a dark line along the bottom.
void tab_background(QPainter& p, QRect r, bool lit) {
    if (lit) {
        band(p, r, QColor(255, 248, 214), QColor(250, 196, 92));
        p.setPen(QColor(214, 140, 30));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -2));
    } else {
        band(p, r, QColor(242, 248, 255), QColor(186, 208, 245));
    }
    p.setPen(ink);
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
}

void fuel_icon(QPainter& p, QPoint o) {
    p.setPen(QPen(ink, 1));
    p.setBrush(QColor(60, 170, 70));
    p.drawRoundedRect(QRectF(o.x() + 5.5, o.y() + 4.5, 11, 18), 2, 2);
    p.setBrush(QColor(235, 250, 235));
    p.drawRect(QRectF(o.x() + 7.5, o.y() + 7.5, 7, 5));
    p.setBrush(ink);
    p.drawRect(QRectF(o.x() + 3.5, o.y() + 21.5, 15, 2));
    // hose and nozzle
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    QPainterPath hose;
    hose.moveTo(o.x() + 16.5, o.y() + 8);
    hose.cubicTo(o.x() + 22, o.y() + 8, o.x() + 21, o.y() + 18, o.x() + 23, o.y() + 18);
    hose.lineTo(o.x() + 23, o.y() + 9);
    p.drawPath(hose);
    p.drawLine(QPointF(o.x() + 23, o.y() + 9), QPointF(o.x() + 20.5, o.y() + 6));
}

void repair_icon(QPainter& p, QPoint o) {
    p.save();
    p.translate(o.x() + 13, o.y() + 13);
    p.rotate(-45);
    p.setPen(QPen(ink, 1));
    p.setBrush(QColor(150, 160, 175));
    p.drawRoundedRect(QRectF(-2.5, -4, 5, 16), 1.5, 1.5);
    QPainterPath head;
    head.addEllipse(QPointF(0, -7), 6, 6);
    QPainterPath jaw;
    jaw.addRect(QRectF(-2, -14, 4, 7));
    p.drawPath(head.subtracted(jaw));
    p.restore();
}

void fees_icon(QPainter& p, QPoint o) {
    p.setPen(QPen(QColor(120, 90, 10), 1));
    p.setBrush(QColor(250, 205, 60));
    p.drawEllipse(QRectF(o.x() + 9.5, o.y() + 9.5, 13, 13));
    p.setBrush(QColor(255, 225, 100));
    p.drawEllipse(QRectF(o.x() + 3.5, o.y() + 4.5, 13, 13));
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(120, 90, 10));
    p.drawText(QRectF(o.x() + 3.5, o.y() + 4.5, 13, 13), Qt::AlignCenter, QStringLiteral("$"));
}

void trip_icon(QPainter& p, QPoint o) {
    p.setPen(QPen(QColor(120, 120, 120), 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    QPainterPath road;
    road.moveTo(o.x() + 4, o.y() + 23);
    road.cubicTo(o.x() + 10, o.y() + 14, o.x() + 16, o.y() + 24, o.x() + 22, o.y() + 16);
    p.drawPath(road);
    p.setPen(QPen(QColor(150, 30, 30), 1));
    p.setBrush(QColor(220, 60, 50));
    QPainterPath pin;
    pin.moveTo(o.x() + 16, o.y() + 15);
    pin.cubicTo(o.x() + 9, o.y() + 8, o.x() + 11, o.y() + 2, o.x() + 16, o.y() + 2);
    pin.cubicTo(o.x() + 21, o.y() + 2, o.x() + 23, o.y() + 8, o.x() + 16, o.y() + 15);
    p.drawPath(pin);
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(o.x() + 16, o.y() + 7), 2, 2);
}

void report_icon(QPainter& p, QPoint o) {
    p.setPen(QPen(ink, 1));
    p.drawLine(o.x() + 3, o.y() + 22, o.x() + 23, o.y() + 22);
    p.drawLine(o.x() + 3, o.y() + 3, o.x() + 3, o.y() + 22);
    const int h[] = {8, 13, 6, 16};
    const QColor c[] = {QColor(60, 130, 220), QColor(60, 170, 70), QColor(240, 160, 40),
                        QColor(220, 60, 50)};
    for (int i = 0; i < 4; ++i) {
        p.setBrush(c[i]);
        p.drawRect(o.x() + 5 + i * 4 + i, o.y() + 21 - h[i], 3, h[i]);
    }
}

void car_shape(QPainter& p, QRectF r, QColor body, QColor outline) {
    const double w = r.width(), h = r.height();
    QPainterPath car;
    car.moveTo(r.left(), r.top() + h * 0.85);
    car.lineTo(r.left(), r.top() + h * 0.55);
    car.lineTo(r.left() + w * 0.18, r.top() + h * 0.45);
    car.lineTo(r.left() + w * 0.32, r.top() + h * 0.15);
    car.lineTo(r.left() + w * 0.72, r.top() + h * 0.15);
    car.lineTo(r.left() + w * 0.86, r.top() + h * 0.45);
    car.lineTo(r.right(), r.top() + h * 0.52);
    car.lineTo(r.right(), r.top() + h * 0.85);
    car.closeSubpath();
    p.setPen(QPen(outline, 1));
    p.setBrush(body);
    p.drawPath(car);
    p.setBrush(QColor(210, 235, 255));
    QPainterPath glass;
    glass.moveTo(r.left() + w * 0.24, r.top() + h * 0.45);
    glass.lineTo(r.left() + w * 0.35, r.top() + h * 0.22);
    glass.lineTo(r.left() + w * 0.69, r.top() + h * 0.22);
    glass.lineTo(r.left() + w * 0.79, r.top() + h * 0.45);
    glass.closeSubpath();
    p.drawPath(glass);
    p.setBrush(QColor(40, 40, 40));
    const double wr = h * 0.16;
    p.drawEllipse(QPointF(r.left() + w * 0.24, r.top() + h * 0.85), wr, wr);
    p.drawEllipse(QPointF(r.left() + w * 0.76, r.top() + h * 0.85), wr, wr);
}

void accounts_icon(QPainter& p, QPoint o) {
    car_shape(p, QRectF(o.x() + 1.5, o.y() + 5.5, 23, 15), QColor(60, 110, 210), ink);
}

void back_icon(QPainter& p, QPoint o) {
    p.setPen(QPen(ink, 1));
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(QRectF(o.x() + 0.5, o.y() + 0.5, 20, 20));
    p.setBrush(ink);
    QPolygonF arrow;
    arrow << QPointF(o.x() + 4.5, o.y() + 10.5) << QPointF(o.x() + 10.5, o.y() + 4.5)
          << QPointF(o.x() + 10.5, o.y() + 8) << QPointF(o.x() + 16.5, o.y() + 8)
          << QPointF(o.x() + 16.5, o.y() + 13) << QPointF(o.x() + 10.5, o.y() + 13)
          << QPointF(o.x() + 10.5, o.y() + 16.5);
    p.drawPolygon(arrow);
}

using icon_fn = void (*)(QPainter&, QPoint);
const icon_fn tab_icons[6] = {fuel_icon, repair_icon, fees_icon,
                              trip_icon, report_icon, accounts_icon};

void calculator_icon(QPainter& p, QRect r) {
    p.fillRect(r, Qt::white);
    p.setPen(QPen(ink, 1));
    p.setBrush(QColor(225, 232, 245));
    p.drawRoundedRect(QRectF(r.left() + 2.5, r.top() + 1.5, 13, 18), 1.5, 1.5);
    p.setBrush(QColor(190, 225, 190));
    p.drawRect(QRectF(r.left() + 4.5, r.top() + 3.5, 9, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) p.drawRect(r.left() + 5 + i * 3, r.top() + 10 + j * 3, 2, 2);
}

void picklist_icon(QPainter& p, QRect r) {
    p.fillRect(r, Qt::white);
    p.setPen(QPen(ink, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left() + 1.5, r.top() + 2.5, 15, 16));
    for (int i = 0; i < 3; ++i)
        p.drawLine(r.left() + 4, r.top() + 6 + i * 4, r.left() + 9, r.top() + 6 + i * 4);
    p.setBrush(ink);
    QPolygon down;
    down << QPoint(r.left() + 11, r.top() + 9) << QPoint(r.left() + 16, r.top() + 9)
         << QPoint(r.left() + 13, r.top() + 13) << QPoint(r.left() + 13, r.top() + 13);
    p.drawPolygon(down);
}

void mark_icon(QPainter& p, QRect r) {
    p.fillRect(r, key_colour);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 140, 30));
    QPolygon tri;
    tri << QPoint(r.left() + 3, r.top() + 1) << QPoint(r.left() + 9, r.top() + 6)
        << QPoint(r.left() + 3, r.top() + 11);
    p.drawPolygon(tri);
    p.setRenderHint(QPainter::Antialiasing, true);
}

// The chart screen's 15 x 15 buttons; the second state (33 pixels lower) is
// the pressed/alternate face.
void chart_button(QPainter& p, QPoint o, int kind, bool second) {
    const QRect r(o, QSize(15, 15));
    if (second)
        band(p, r, QColor(250, 196, 92), QColor(255, 240, 200));
    else
        band(p, r, QColor(242, 248, 255), QColor(186, 208, 245));
    p.setPen(QPen(ink, 1));
    p.setBrush(Qt::NoBrush);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setBrush(ink);
    switch (kind) {
        case 0: {  // previous
            QPolygon a;
            a << QPoint(o.x() + 4, o.y() + 7) << QPoint(o.x() + 9, o.y() + 3)
              << QPoint(o.x() + 9, o.y() + 11);
            p.drawPolygon(a);
            break;
        }
        case 1: {  // next
            QPolygon a;
            a << QPoint(o.x() + 10, o.y() + 7) << QPoint(o.x() + 5, o.y() + 3)
              << QPoint(o.x() + 5, o.y() + 11);
            p.drawPolygon(a);
            break;
        }
        case 2:  // chart kind
            p.setPen(Qt::NoPen);
            p.fillRect(o.x() + 3, o.y() + 7, 2, 5, QColor(60, 130, 220));
            p.fillRect(o.x() + 6, o.y() + 4, 2, 8, QColor(60, 170, 70));
            p.fillRect(o.x() + 9, o.y() + 6, 2, 6, QColor(220, 60, 50));
            break;
        case 3:  // fit on: arrows pointing in
        case 4:  // fit off: arrows pointing out
        {
            const bool in = kind == 3;
            p.setPen(QPen(ink, 1));
            p.drawLine(o.x() + 3, o.y() + 7, o.x() + 11, o.y() + 7);
            const int l = in ? 6 : 3, rr = in ? 8 : 11, d = in ? -1 : 1;
            p.drawLine(o.x() + l, o.y() + 7, o.x() + l - 2 * d, o.y() + 5);
            p.drawLine(o.x() + l, o.y() + 7, o.x() + l - 2 * d, o.y() + 9);
            p.drawLine(o.x() + rr, o.y() + 7, o.x() + rr + 2 * d, o.y() + 5);
            p.drawLine(o.x() + rr, o.y() + 7, o.x() + rr + 2 * d, o.y() + 9);
            p.drawLine(o.x() + 3, o.y() + 3, o.x() + 3, o.y() + 11);
            p.drawLine(o.x() + 11, o.y() + 3, o.x() + 11, o.y() + 11);
            break;
        }
        case 5:  // save
            p.setPen(Qt::NoPen);
            p.fillRect(o.x() + 3, o.y() + 3, 9, 9, ink);
            p.fillRect(o.x() + 5, o.y() + 3, 5, 3, Qt::white);
            p.fillRect(o.x() + 5, o.y() + 8, 5, 4, QColor(200, 215, 240));
            break;
    }
    p.setRenderHint(QPainter::Antialiasing, true);
}

void report_picture(QPainter& p, QPoint o, int kind) {
    const QRect r(o, QSize(32, 32));
    p.fillRect(r, Qt::white);
    p.setPen(QPen(QColor(170, 180, 200), 1));
    p.setBrush(QColor(248, 250, 255));
    p.drawRoundedRect(QRectF(o.x() + 0.5, o.y() + 0.5, 31, 31), 3, 3);
    p.setPen(QPen(ink, 1));
    p.drawLine(o.x() + 5, o.y() + 26, o.x() + 27, o.y() + 26);
    p.drawLine(o.x() + 5, o.y() + 5, o.x() + 5, o.y() + 26);
    if (kind == 0) {  // a line of fuel economy
        p.setPen(QPen(QColor(220, 60, 50), 2));
        QPolygonF line;
        line << QPointF(7, 20) << QPointF(12, 14) << QPointF(17, 17) << QPointF(22, 9)
             << QPointF(27, 11);
        line.translate(o);
        p.drawPolyline(line);
    } else {  // columns of costs
        const int h[] = {9, 15, 11, 18};
        const QColor c[] = {QColor(60, 130, 220), QColor(60, 170, 70), QColor(240, 160, 40),
                            QColor(220, 60, 50)};
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 4; ++i) p.fillRect(o.x() + 8 + i * 5, o.y() + 25 - h[i], 4, h[i], c[i]);
    }
}

void check_icon(QPainter& p, QPoint o, bool checked) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(o, QSize(12, 12)), Qt::white);
    p.setPen(ink);
    p.setBrush(Qt::white);
    p.drawRect(o.x() + 1, o.y() + 1, 10, 10);
    if (checked) {
        p.setPen(QPen(QColor(20, 130, 40), 2));
        p.setRenderHint(QPainter::Antialiasing, true);
        p.drawLine(QPointF(o.x() + 3, o.y() + 6), QPointF(o.x() + 5.5, o.y() + 9));
        p.drawLine(QPointF(o.x() + 5.5, o.y() + 9), QPointF(o.x() + 10, o.y() + 3));
    }
    p.setRenderHint(QPainter::Antialiasing, true);
}

QImage draw_skin() {
    QImage img(300, 350, QImage::Format_RGB888);
    img.fill(QColor(255, 255, 255));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);

    // Filler beyond 240 pixels: the tab bar's background without icons.
    tab_background(p, QRect(0, 0, 80, 33), false);

    // Tab bar and back button, then the highlighted tabs.
    tab_background(p, QRect(0, 133, 240, 33), false);
    for (int page = 0; page < 6; ++page) {
        tab_icons[page](p, QPoint(35 * page + 4, 133 + 3));
        p.setPen(QColor(160, 185, 225));
        if (page < 6) p.drawLine(35 * page + 34, 136, 35 * page + 34, 162);
    }
    back_icon(p, QPoint(214, 139));
    for (int page = 0; page < 6; ++page) {
        tab_background(p, QRect(35 * page, 166, 35, 33), true);
        tab_icons[page](p, QPoint(35 * page + 4, 166 + 3));
    }

    chart_button(p, QPoint(50, 38), 0, false);
    chart_button(p, QPoint(66, 38), 1, false);
    chart_button(p, QPoint(80, 38), 2, false);
    chart_button(p, QPoint(95, 38), 3, false);
    chart_button(p, QPoint(110, 38), 4, false);
    chart_button(p, QPoint(125, 38), 5, false);
    chart_button(p, QPoint(50, 71), 0, true);
    chart_button(p, QPoint(66, 71), 1, true);
    chart_button(p, QPoint(80, 71), 2, true);
    chart_button(p, QPoint(95, 71), 3, true);
    chart_button(p, QPoint(110, 71), 4, true);
    chart_button(p, QPoint(125, 71), 5, true);

    mark_icon(p, QRect(36, 53, 12, 12));
    calculator_icon(p, QRect(0, 112, 18, 21));
    picklist_icon(p, QRect(18, 112, 19, 21));
    report_picture(p, QPoint(0, 199), 0);
    report_picture(p, QPoint(32, 199), 1);
    check_icon(p, QPoint(0, 240), false);
    check_icon(p, QPoint(12, 240), true);
    return img;
}

QImage draw_icon(int size) {
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size / 32.0, size / 32.0);
    QLinearGradient g(0, 0, 0, 32);
    g.setColorAt(0, QColor(80, 130, 220));
    g.setColorAt(1, QColor(30, 60, 150));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    car_shape(p, QRectF(4, 11, 24, 15), QColor(255, 255, 255), QColor(20, 40, 100));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 180, 40));
    QPainterPath drop;
    drop.moveTo(24, 3);
    drop.cubicTo(21, 8, 20.5, 10, 24, 11);
    drop.cubicTo(27.5, 10, 27, 8, 24, 3);
    p.drawPath(drop);
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    bool ok = draw_skin().save(dir + QStringLiteral("/skin.png"));
    ok = draw_icon(32).save(dir + QStringLiteral("/kelvane32.png")) && ok;
    ok = draw_icon(128).save(dir + QStringLiteral("/kelvane128.png")) && ok;
    if (!ok) std::fprintf(stderr, "could not write the pictures into %s\n", qPrintable(dir));
    return ok ? 0 : 1;
}
