// Draws Setup's two pictures: the 401 x 152 start picture and the 160 x 300
// picture at the left of every wizard page. Run after changing a picture and
// commit the PNGs it writes:
//   cmake --build build --target kelvane_draw_setup_art &&
//   QT_QPA_PLATFORM=offscreen build/src/setup/qt/kelvane_draw_setup_art resources
// The sizes are fixed by the windows that show them; only the art is free.

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

const QColor ink(30, 60, 150);
const QColor sky_top(233, 244, 255);
const QColor sky_bottom(178, 210, 250);

QFont title_font(int pixels, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// A side view of a small car, wheels on the line y = base, facing right.
void car(QPainter& p, qreal x, qreal base, qreal scale, const QColor& body) {
    p.save();
    p.translate(x, base);
    p.scale(scale, scale);
    QPainterPath shell;
    shell.moveTo(0, -8);
    shell.lineTo(2, -18);
    shell.cubicTo(8, -20, 16, -21, 22, -21);
    shell.lineTo(30, -33);
    shell.cubicTo(40, -36, 60, -36, 70, -33);
    shell.lineTo(82, -21);
    shell.cubicTo(92, -20, 98, -18, 100, -14);
    shell.lineTo(100, -8);
    shell.closeSubpath();
    p.setPen(QPen(ink, 1.5));
    p.setBrush(body);
    p.drawPath(shell);
    // windows
    p.setBrush(QColor(215, 236, 255));
    QPainterPath front, back;
    back.moveTo(33, -22);
    back.lineTo(38, -31);
    back.lineTo(50, -32);
    back.lineTo(50, -22);
    back.closeSubpath();
    front.moveTo(54, -22);
    front.lineTo(54, -32);
    front.lineTo(67, -31);
    front.lineTo(75, -22);
    front.closeSubpath();
    p.drawPath(back);
    p.drawPath(front);
    // wheels
    p.setBrush(QColor(45, 45, 55));
    p.drawEllipse(QPointF(22, -6), 9, 9);
    p.drawEllipse(QPointF(80, -6), 9, 9);
    p.setBrush(QColor(200, 205, 215));
    p.drawEllipse(QPointF(22, -6), 4, 4);
    p.drawEllipse(QPointF(80, -6), 4, 4);
    p.restore();
}

// A fuel drop with a small gauge needle: the program's subject in one sign.
void fuel_drop(QPainter& p, QPointF centre, qreal r) {
    QPainterPath drop;
    drop.moveTo(centre.x(), centre.y() - 1.8 * r);
    drop.cubicTo(centre.x() + 0.4 * r, centre.y() - r, centre.x() + r, centre.y() - 0.4 * r,
                 centre.x() + r, centre.y() + 0.2 * r);
    drop.arcTo(QRectF(centre.x() - r, centre.y() - 0.8 * r, 2 * r, 2 * r), 0, -180);
    drop.cubicTo(centre.x() - r, centre.y() - 0.4 * r, centre.x() - 0.4 * r, centre.y() - r,
                 centre.x(), centre.y() - 1.8 * r);
    QLinearGradient g(centre.x(), centre.y() - 1.8 * r, centre.x(), centre.y() + 1.2 * r);
    g.setColorAt(0, QColor(120, 210, 120));
    g.setColorAt(1, QColor(40, 140, 60));
    p.setPen(QPen(ink, 1.5));
    p.setBrush(g);
    p.drawPath(drop);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(centre.x() - 0.55 * r, centre.y() - 0.35 * r, 1.1 * r, 1.1 * r), 30 * 16,
              120 * 16);
    p.drawLine(centre + QPointF(0, 0.2 * r), centre + QPointF(0.35 * r, -0.2 * r));
}

void road(QPainter& p, const QRectF& r) {
    p.fillRect(r, QColor(95, 100, 115));
    p.setPen(QPen(QColor(250, 250, 250), 2, Qt::CustomDashLine));
    QPen dashes(QColor(250, 250, 250), 2);
    dashes.setDashPattern({6, 5});
    p.setPen(dashes);
    p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
}

QImage start_picture() {
    QImage img(401, 152, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient sky(0, 0, 0, 152);
    sky.setColorAt(0, sky_top);
    sky.setColorAt(1, sky_bottom);
    p.fillRect(img.rect(), sky);
    road(p, QRectF(0, 126, 401, 26));
    car(p, 18, 130, 1.25, QColor(60, 120, 210));
    fuel_drop(p, QPointF(172, 74), 16);
    p.setPen(ink);
    p.setFont(title_font(40, true));
    p.drawText(QRectF(196, 22, 200, 50), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Kelvane"));
    p.setFont(title_font(14, false));
    p.drawText(QRectF(198, 72, 200, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Vehicle expense tracker"));
    p.setFont(title_font(12, false));
    p.drawText(QRectF(198, 94, 200, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Installation"));
    p.setPen(QPen(ink, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 400, 151));
    return img;
}

QImage page_picture() {
    QImage img(160, 300, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0, sky_top);
    sky.setColorAt(1, sky_bottom);
    p.fillRect(img.rect(), sky);
    // hills
    QPainterPath hills;
    hills.moveTo(0, 220);
    hills.cubicTo(40, 190, 80, 205, 110, 198);
    hills.cubicTo(130, 194, 150, 200, 160, 204);
    hills.lineTo(160, 250);
    hills.lineTo(0, 250);
    hills.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 200, 140));
    p.drawPath(hills);
    road(p, QRectF(0, 246, 160, 24));
    car(p, 18, 252, 1.2, QColor(60, 120, 210));
    p.fillRect(QRectF(0, 270, 160, 30), QColor(140, 190, 130));
    fuel_drop(p, QPointF(80, 110), 24);
    p.setPen(ink);
    p.setFont(title_font(24, true));
    p.drawText(QRectF(0, 24, 160, 34), Qt::AlignCenter, QStringLiteral("Kelvane"));
    p.setPen(QPen(ink, 1));
    p.drawLine(QPointF(159.5, 0), QPointF(159.5, 300));
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    bool ok = start_picture().save(dir + QStringLiteral("/setup_start.png"));
    ok = page_picture().save(dir + QStringLiteral("/setup_page.png")) && ok;
    if (!ok) std::fprintf(stderr, "kelvane_draw_setup_art: cannot write the pictures\n");
    return ok ? 0 : 1;
}
