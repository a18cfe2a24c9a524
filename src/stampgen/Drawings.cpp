#include "Drawings.h"

#include <QPainterPath>
#include <cmath>
#include <tuple>
#include <utility>

namespace celvane {

namespace {

const QColor kOutline(30, 30, 30);

// Everything is drawn in a 64 x 64 box and scaled to the stamp's size by the caller.
void fill(QPainter& p, const QPainterPath& path, const QColor& colour, double outline = 2)
{
    p.setPen(outline > 0 ? QPen(kOutline, outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin) : QPen(Qt::NoPen));
    p.setBrush(colour);
    p.drawPath(path);
}

QPainterPath ellipse(double x, double y, double w, double h)
{
    QPainterPath path;
    path.addEllipse(QRectF(x, y, w, h));
    return path;
}

QPainterPath rect(double x, double y, double w, double h, double round = 0)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), round, round);
    return path;
}

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

QPainterPath regular(int sides, double cx, double cy, double r, double turn = -90, double inner = 0)
{
    QPolygonF points;
    const int n = inner > 0 ? sides * 2 : sides;
    for (int i = 0; i < n; ++i) {
        const double a = (turn + 360.0 * i / n) * M_PI / 180;
        const double radius = inner > 0 && i % 2 ? inner : r;
        points << QPointF(cx + radius * std::cos(a), cy + radius * std::sin(a));
    }
    QPainterPath path;
    path.addPolygon(points);
    path.closeSubpath();
    return path;
}

void line(QPainter& p, double x1, double y1, double x2, double y2, double width = 2, const QColor& c = kOutline)
{
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void dot(QPainter& p, double x, double y, double r, const QColor& c = kOutline)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QPointF(x, y), r, r);
}

void smile(QPainter& p, double cx, double cy, double w, int mood)
{
    p.setPen(QPen(kOutline, 2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QRectF box(cx - w / 2, cy - w / 2, w, w);
    if (mood > 0)
        p.drawArc(box, 200 * 16, 140 * 16);
    else if (mood < 0)
        p.drawArc(box.translated(0, w * 0.6), 20 * 16, 140 * 16);
    else
        p.drawEllipse(QPointF(cx, cy + w * 0.25), w * 0.15, w * 0.2);
}

void face(QPainter& p, int mood)
{
    fill(p, ellipse(6, 6, 52, 52), QColor(255, 214, 90));
    dot(p, 23, 26, 3.5);
    dot(p, 41, 26, 3.5);
    smile(p, 32, 34, 26, mood);
}

// A stick figure: head, body, arms and legs from the shoulder and hip angles (degrees from down).
void figure(QPainter& p, double armL, double armR, double legL, double legR, const QColor& shirt)
{
    const auto limb = [&](double x, double y, double angle, double length) {
        const double a = angle * M_PI / 180;
        line(p, x, y, x + length * std::sin(a), y + length * std::cos(a), 4);
    };
    limb(32, 26, -armL, 18);
    limb(32, 26, armR, 18);
    limb(32, 42, -legL, 20);
    limb(32, 42, legR, 20);
    fill(p, rect(26, 22, 12, 22, 4), shirt);
    fill(p, ellipse(24, 4, 16, 16), QColor(250, 205, 170));
    dot(p, 29, 11, 1.5);
    dot(p, 35, 11, 1.5);
}

void wheel(QPainter& p, double x, double y, double r)
{
    fill(p, ellipse(x - r, y - r, 2 * r, 2 * r), QColor(50, 50, 50));
    fill(p, ellipse(x - r / 2.5, y - r / 2.5, r / 1.25, r / 1.25), QColor(200, 200, 200), 1);
}

void bubbleTail(QPainterPath& path, double x, double y, double tipX, double tipY)
{
    path.moveTo(x - 5, y);
    path.lineTo(tipX, tipY);
    path.lineTo(x + 5, y);
}

// People
void standing(QPainter& p) { figure(p, 30, 30, 12, 12, QColor(60, 120, 220)); }
void waving(QPainter& p) { figure(p, 30, 150, 12, 12, QColor(220, 60, 60)); }
void walking(QPainter& p) { figure(p, 30, 35, 30, 25, QColor(60, 170, 80)); }
void jumping(QPainter& p) { figure(p, 140, 140, 40, 40, QColor(240, 160, 40)); }
void running(QPainter& p) { figure(p, 60, 70, 55, 35, QColor(150, 70, 200)); }
void happy(QPainter& p) { face(p, 1); }
void sad(QPainter& p) { face(p, -1); }
void surprised(QPainter& p) { face(p, 0); }
void king(QPainter& p)
{
    face(p, 1);
    fill(p, polygon({{14, 16}, {14, 2}, {23, 10}, {32, 0}, {41, 10}, {50, 2}, {50, 16}}), QColor(250, 200, 30));
}
void robot(QPainter& p)
{
    line(p, 32, 4, 32, 12);
    dot(p, 32, 4, 3, QColor(230, 50, 50));
    fill(p, rect(16, 12, 32, 22, 4), QColor(170, 180, 190));
    fill(p, rect(20, 36, 24, 22, 3), QColor(120, 140, 160));
    dot(p, 25, 22, 3, QColor(40, 160, 230));
    dot(p, 39, 22, 3, QColor(40, 160, 230));
    line(p, 25, 29, 39, 29);
    line(p, 20, 42, 8, 52, 4);
    line(p, 44, 42, 56, 52, 4);
}

// Animals
void cat(QPainter& p)
{
    fill(p, polygon({{10, 30}, {14, 4}, {28, 20}, {36, 20}, {50, 4}, {54, 30}}), QColor(240, 150, 60));
    fill(p, ellipse(10, 16, 44, 40), QColor(240, 150, 60));
    dot(p, 24, 32, 3);
    dot(p, 40, 32, 3);
    fill(p, polygon({{29, 39}, {35, 39}, {32, 43}}), QColor(240, 120, 140), 1);
    for (int side : {-1, 1}) {
        line(p, 32 + side * 6, 42, 32 + side * 24, 38, 1);
        line(p, 32 + side * 6, 44, 32 + side * 24, 46, 1);
    }
}
void dog(QPainter& p)
{
    fill(p, ellipse(12, 10, 40, 44), QColor(190, 140, 90));
    fill(p, ellipse(2, 10, 16, 30), QColor(120, 80, 50));
    fill(p, ellipse(46, 10, 16, 30), QColor(120, 80, 50));
    fill(p, ellipse(22, 34, 20, 16), QColor(240, 225, 200));
    dot(p, 24, 28, 3);
    dot(p, 40, 28, 3);
    dot(p, 32, 38, 4);
}
void fish(QPainter& p)
{
    fill(p, polygon({{44, 32}, {62, 18}, {62, 46}}), QColor(250, 130, 40));
    fill(p, ellipse(4, 16, 46, 32), QColor(250, 170, 40));
    dot(p, 16, 28, 3);
}
void bird(QPainter& p)
{
    fill(p, ellipse(10, 22, 40, 30), QColor(70, 140, 230));
    fill(p, ellipse(36, 12, 22, 22), QColor(70, 140, 230));
    fill(p, polygon({{56, 20}, {64, 24}, {56, 28}}), QColor(250, 190, 30), 1);
    fill(p, polygon({{16, 30}, {34, 30}, {20, 44}}), QColor(40, 100, 190));
    dot(p, 50, 21, 2);
    line(p, 26, 52, 24, 60);
    line(p, 34, 52, 36, 60);
}
void snail(QPainter& p)
{
    fill(p, rect(4, 44, 56, 12, 6), QColor(180, 210, 120));
    fill(p, ellipse(16, 14, 36, 36), QColor(200, 130, 70));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kOutline, 2));
    p.drawEllipse(QRectF(24, 22, 20, 20));
    p.drawEllipse(QRectF(30, 28, 8, 8));
    line(p, 8, 46, 4, 34);
    line(p, 12, 46, 12, 34);
}
void ladybird(QPainter& p)
{
    fill(p, ellipse(8, 14, 48, 44), QColor(220, 30, 30));
    fill(p, ellipse(20, 4, 24, 18), QColor(30, 30, 30));
    line(p, 32, 20, 32, 58);
    for (auto [x, y] : {std::pair{20, 30}, {44, 30}, {18, 44}, {46, 44}, {28, 50}, {36, 50}})
        dot(p, x, y, 4);
}
void butterfly(QPainter& p)
{
    for (int side : {-1, 1}) {
        fill(p, ellipse(32 + side * 16 - 14, 6, 28, 28), QColor(160, 80, 220));
        fill(p, ellipse(32 + side * 13 - 10, 32, 20, 22), QColor(230, 100, 180));
    }
    fill(p, rect(29, 12, 6, 42, 3), QColor(60, 40, 30));
    line(p, 31, 12, 24, 2, 1.5);
    line(p, 33, 12, 40, 2, 1.5);
}
void mouse(QPainter& p)
{
    fill(p, ellipse(8, 24, 44, 30), QColor(160, 160, 170));
    fill(p, ellipse(34, 14, 18, 18), QColor(200, 170, 180));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kOutline, 2));
    p.drawArc(QRectF(0, 36, 20, 24), 90 * 16, 180 * 16);
    dot(p, 48, 36, 2.5);
    dot(p, 55, 42, 2.5, QColor(240, 120, 140));
}
void duck(QPainter& p)
{
    fill(p, ellipse(6, 30, 46, 26), QColor(250, 220, 40));
    fill(p, ellipse(34, 10, 24, 24), QColor(250, 220, 40));
    fill(p, polygon({{56, 20}, {64, 24}, {56, 28}}), QColor(250, 140, 30), 1);
    dot(p, 48, 19, 2.5);
}
void bee(QPainter& p)
{
    fill(p, ellipse(14, 6, 18, 22), QColor(210, 235, 255));
    fill(p, ellipse(32, 6, 18, 22), QColor(210, 235, 255));
    fill(p, ellipse(8, 22, 48, 30), QColor(250, 200, 30));
    for (int x : {22, 34, 46})
        line(p, x, 24, x, 50, 5);
    dot(p, 14, 34, 2.5);
}
void spider(QPainter& p)
{
    for (int i = 0; i < 4; ++i) {
        line(p, 32, 34, 6, 18 + i * 10, 2);
        line(p, 32, 34, 58, 18 + i * 10, 2);
    }
    fill(p, ellipse(18, 22, 28, 26), QColor(40, 40, 40));
    dot(p, 27, 30, 3, Qt::white);
    dot(p, 37, 30, 3, Qt::white);
}

// Vehicles
void car(QPainter& p)
{
    fill(p, polygon({{2, 40}, {2, 28}, {14, 26}, {22, 12}, {44, 12}, {54, 26}, {62, 28}, {62, 40}}), QColor(220, 40, 40));
    fill(p, polygon({{25, 15}, {32, 15}, {32, 25}, {19, 25}}), QColor(180, 220, 250), 1);
    fill(p, polygon({{35, 15}, {43, 15}, {49, 25}, {35, 25}}), QColor(180, 220, 250), 1);
    wheel(p, 16, 42, 8);
    wheel(p, 48, 42, 8);
}
void bus(QPainter& p)
{
    fill(p, rect(2, 12, 60, 32, 4), QColor(250, 190, 30));
    for (int x = 6; x < 56; x += 13)
        fill(p, rect(x, 16, 10, 10, 1), QColor(180, 220, 250), 1);
    wheel(p, 14, 46, 7);
    wheel(p, 50, 46, 7);
}
void train(QPainter& p)
{
    fill(p, rect(4, 20, 40, 22), QColor(40, 120, 60));
    fill(p, rect(34, 8, 22, 34), QColor(40, 120, 60));
    fill(p, rect(38, 12, 14, 10), QColor(180, 220, 250), 1);
    fill(p, rect(10, 8, 8, 12), QColor(60, 60, 60));
    fill(p, polygon({{56, 42}, {62, 42}, {62, 34}, {56, 34}}), QColor(200, 40, 40), 1);
    wheel(p, 14, 46, 7);
    wheel(p, 30, 46, 7);
    wheel(p, 46, 46, 7);
}
void boat(QPainter& p)
{
    fill(p, polygon({{2, 40}, {62, 40}, {52, 54}, {12, 54}}), QColor(150, 80, 40));
    line(p, 32, 40, 32, 6, 3);
    fill(p, polygon({{34, 8}, {58, 36}, {34, 36}}), Qt::white);
    fill(p, polygon({{30, 12}, {30, 36}, {10, 36}}), QColor(240, 100, 80));
}
void plane(QPainter& p)
{
    fill(p, polygon({{26, 30}, {36, 30}, {44, 6}, {38, 6}}), QColor(200, 200, 210));
    fill(p, rect(4, 28, 56, 12, 6), QColor(230, 230, 240));
    fill(p, polygon({{4, 30}, {2, 16}, {10, 16}, {14, 30}}), QColor(220, 50, 50));
    fill(p, polygon({{26, 38}, {36, 38}, {44, 60}, {38, 60}}), QColor(200, 200, 210));
    for (int x : {22, 30, 38, 46})
        dot(p, x, 33, 2, QColor(60, 130, 220));
}
void rocket(QPainter& p)
{
    fill(p, polygon({{24, 46}, {14, 58}, {24, 54}}), QColor(220, 50, 50));
    fill(p, polygon({{40, 46}, {50, 58}, {40, 54}}), QColor(220, 50, 50));
    fill(p, polygon({{28, 54}, {32, 64}, {36, 54}}), QColor(250, 170, 30), 1);
    QPainterPath body;
    body.moveTo(32, 2);
    body.cubicTo(46, 14, 42, 40, 40, 54);
    body.lineTo(24, 54);
    body.cubicTo(22, 40, 18, 14, 32, 2);
    fill(p, body, QColor(230, 230, 240));
    fill(p, ellipse(26, 20, 12, 12), QColor(80, 160, 230));
}
void bicycle(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kOutline, 3));
    p.drawEllipse(QPointF(14, 42), 12, 12);
    p.drawEllipse(QPointF(50, 42), 12, 12);
    const QColor frame(40, 90, 200);
    line(p, 14, 42, 28, 24, 3, frame);
    line(p, 28, 24, 46, 24, 3, frame);
    line(p, 46, 24, 50, 42, 3, frame);
    line(p, 14, 42, 32, 42, 3, frame);
    line(p, 32, 42, 28, 24, 3, frame);
    line(p, 32, 42, 46, 24, 3, frame);
    line(p, 26, 18, 32, 18, 3);
    line(p, 44, 16, 50, 14, 3);
}
void lorry(QPainter& p)
{
    fill(p, rect(2, 10, 40, 32), QColor(60, 130, 200));
    fill(p, polygon({{44, 18}, {56, 18}, {62, 30}, {62, 42}, {44, 42}}), QColor(220, 60, 40));
    fill(p, polygon({{47, 21}, {54, 21}, {58, 29}, {47, 29}}), QColor(180, 220, 250), 1);
    wheel(p, 14, 46, 7);
    wheel(p, 52, 46, 7);
}
void balloon(QPainter& p)
{
    fill(p, ellipse(10, 2, 44, 44), QColor(240, 80, 80));
    fill(p, ellipse(22, 2, 20, 44), QColor(250, 220, 60), 1.5);
    line(p, 18, 40, 26, 52, 1.5);
    line(p, 46, 40, 38, 52, 1.5);
    fill(p, rect(24, 50, 16, 12, 2), QColor(160, 100, 50));
}
void tractor(QPainter& p)
{
    fill(p, rect(4, 26, 40, 14), QColor(60, 160, 60));
    fill(p, rect(26, 8, 18, 20), QColor(60, 160, 60));
    fill(p, rect(30, 12, 10, 10), QColor(180, 220, 250), 1);
    line(p, 10, 26, 10, 12, 3);
    fill(p, ellipse(34, 30, 28, 28), QColor(50, 50, 50));
    fill(p, ellipse(42, 38, 12, 12), QColor(250, 200, 40), 1);
    wheel(p, 12, 48, 9);
}

// Nature
void sun(QPainter& p)
{
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6;
        line(p, 32 + 20 * std::cos(a), 32 + 20 * std::sin(a), 32 + 30 * std::cos(a), 32 + 30 * std::sin(a), 3,
             QColor(250, 170, 20));
    }
    fill(p, ellipse(14, 14, 36, 36), QColor(255, 220, 40));
}
void cloud(QPainter& p)
{
    const QPainterPath c = ellipse(4, 26, 24, 22).united(ellipse(14, 12, 30, 30)).united(ellipse(34, 20, 26, 26)).united(rect(14, 34, 36, 14));
    fill(p, c, QColor(245, 248, 255));
}
void tree(QPainter& p)
{
    fill(p, rect(27, 36, 10, 26), QColor(130, 80, 40));
    fill(p, ellipse(8, 4, 48, 40), QColor(60, 170, 60));
}
void pine(QPainter& p)
{
    fill(p, rect(28, 50, 8, 12), QColor(130, 80, 40));
    fill(p, polygon({{32, 2}, {50, 24}, {42, 24}, {56, 40}, {46, 40}, {60, 52}, {4, 52}, {18, 40}, {8, 40}, {22, 24}, {14, 24}}),
         QColor(30, 130, 70));
}
void flower(QPainter& p)
{
    line(p, 32, 34, 32, 62, 3, QColor(40, 140, 40));
    fill(p, ellipse(32, 44, 16, 8), QColor(60, 170, 60), 1);
    for (int i = 0; i < 6; ++i) {
        const double a = i * M_PI / 3;
        fill(p, ellipse(32 + 12 * std::cos(a) - 8, 22 + 12 * std::sin(a) - 8, 16, 16), QColor(240, 90, 160));
    }
    fill(p, ellipse(24, 14, 16, 16), QColor(250, 210, 40));
}
void leaf(QPainter& p)
{
    QPainterPath l;
    l.moveTo(8, 56);
    l.cubicTo(4, 20, 30, 6, 58, 6);
    l.cubicTo(58, 36, 40, 60, 8, 56);
    fill(p, l, QColor(80, 180, 60));
    line(p, 8, 56, 46, 18, 2);
}
void raindrop(QPainter& p)
{
    QPainterPath d;
    d.moveTo(32, 4);
    d.cubicTo(44, 24, 52, 34, 52, 44);
    d.arcTo(QRectF(12, 24, 40, 36), 0, -180);
    d.cubicTo(12, 34, 20, 24, 32, 4);
    fill(p, d, QColor(70, 150, 240));
}
void snowflake(QPainter& p)
{
    const QColor ice(80, 160, 230);
    for (int i = 0; i < 6; ++i) {
        const double a = i * M_PI / 3;
        const double ex = 32 + 28 * std::cos(a), ey = 32 + 28 * std::sin(a);
        line(p, 32, 32, ex, ey, 3, ice);
        const double mx = 32 + 18 * std::cos(a), my = 32 + 18 * std::sin(a);
        line(p, mx, my, mx + 8 * std::cos(a + 0.8), my + 8 * std::sin(a + 0.8), 2, ice);
        line(p, mx, my, mx + 8 * std::cos(a - 0.8), my + 8 * std::sin(a - 0.8), 2, ice);
    }
}
void mountain(QPainter& p)
{
    fill(p, polygon({{2, 60}, {24, 14}, {46, 60}}), QColor(120, 110, 100));
    fill(p, polygon({{22, 60}, {42, 24}, {62, 60}}), QColor(150, 140, 130));
    fill(p, polygon({{24, 14}, {30, 26}, {24, 24}, {18, 26}}), Qt::white, 1);
}
void moon(QPainter& p)
{
    QPainterPath m;
    m.addEllipse(QRectF(8, 6, 50, 50));
    QPainterPath bite;
    bite.addEllipse(QRectF(22, 0, 46, 46));
    fill(p, m.subtracted(bite), QColor(250, 235, 140));
}
void rainbow(QPainter& p)
{
    const QColor bands[] = {QColor(230, 40, 40), QColor(250, 150, 30), QColor(250, 230, 40),
                            QColor(60, 180, 60), QColor(50, 120, 230), QColor(130, 60, 200)};
    for (int i = 0; i < 6; ++i) {
        p.setPen(QPen(bands[i], 4, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        const double r = 28 - i * 4;
        p.drawArc(QRectF(32 - r, 48 - r, 2 * r, 2 * r), 0, 180 * 16);
    }
}
void apple(QPainter& p)
{
    fill(p, ellipse(8, 14, 48, 46), QColor(220, 40, 40));
    line(p, 32, 16, 34, 4, 3, QColor(110, 70, 30));
    fill(p, ellipse(34, 4, 16, 8), QColor(60, 170, 60), 1);
}
void mushroom(QPainter& p)
{
    fill(p, rect(24, 30, 16, 28, 4), QColor(245, 235, 215));
    QPainterPath cap;
    cap.moveTo(4, 34);
    cap.arcTo(QRectF(4, 4, 56, 60), 180, -180);
    cap.closeSubpath();
    fill(p, cap, QColor(220, 50, 40));
    for (auto [x, y] : {std::pair{18, 20}, {32, 12}, {46, 20}, {26, 28}, {40, 28}})
        dot(p, x, y, 3, Qt::white);
}

// Shapes
void circle(QPainter& p) { fill(p, ellipse(4, 4, 56, 56), QColor(230, 60, 60)); }
void square(QPainter& p) { fill(p, rect(6, 6, 52, 52), QColor(60, 120, 230)); }
void triangle(QPainter& p) { fill(p, polygon({{32, 4}, {60, 58}, {4, 58}}), QColor(60, 180, 80)); }
void star(QPainter& p) { fill(p, regular(5, 32, 34, 30, -90, 12), QColor(250, 210, 30)); }
void heart(QPainter& p)
{
    QPainterPath h;
    h.moveTo(32, 58);
    h.cubicTo(4, 40, 2, 18, 16, 10);
    h.cubicTo(24, 6, 30, 10, 32, 18);
    h.cubicTo(34, 10, 40, 6, 48, 10);
    h.cubicTo(62, 18, 60, 40, 32, 58);
    fill(p, h, QColor(230, 50, 90));
}
void diamond(QPainter& p) { fill(p, polygon({{32, 2}, {58, 32}, {32, 62}, {6, 32}}), QColor(80, 200, 220)); }
void hexagon(QPainter& p) { fill(p, regular(6, 32, 32, 29, 0), QColor(240, 140, 40)); }
void pentagon(QPainter& p) { fill(p, regular(5, 32, 34, 29), QColor(160, 80, 200)); }
void arrow(QPainter& p) { fill(p, polygon({{4, 24}, {36, 24}, {36, 10}, {60, 32}, {36, 54}, {36, 40}, {4, 40}}), QColor(60, 160, 230)); }
void cross(QPainter& p)
{
    fill(p, polygon({{24, 4}, {40, 4}, {40, 24}, {60, 24}, {60, 40}, {40, 40}, {40, 60}, {24, 60}, {24, 40}, {4, 40}, {4, 24}, {24, 24}}),
         QColor(220, 40, 40));
}
void ring(QPainter& p)
{
    QPainterPath r;
    r.addEllipse(QRectF(4, 4, 56, 56));
    r.addEllipse(QRectF(18, 18, 28, 28));
    fill(p, r, QColor(250, 190, 40));
}
void crescent(QPainter& p)
{
    QPainterPath c;
    c.addEllipse(QRectF(4, 4, 56, 56));
    QPainterPath bite;
    bite.addEllipse(QRectF(20, 4, 50, 50));
    fill(p, c.subtracted(bite), QColor(100, 200, 120));
}

// Speech bubbles
QPainterPath roundBubble(double tipX, double tipY)
{
    QPainterPath b;
    b.addEllipse(QRectF(2, 4, 60, 40));
    QPainterPath tail;
    bubbleTail(tail, 22, 40, tipX, tipY);
    tail.closeSubpath();
    return b.united(tail);
}
void sayLeft(QPainter& p) { fill(p, roundBubble(8, 60), Qt::white); }
void sayRight(QPainter& p)
{
    p.translate(64, 0);
    p.scale(-1, 1);
    fill(p, roundBubble(8, 60), Qt::white);
}
void think(QPainter& p)
{
    QPainterPath c;
    for (auto [x, y, r] : {std::tuple{16, 20, 13}, {30, 14, 14}, {46, 18, 13}, {48, 32, 12}, {32, 36, 13}, {16, 34, 12}})
        c = c.united(ellipse(x - r, y - r, 2 * r, 2 * r));
    fill(p, c, Qt::white);
    fill(p, ellipse(12, 48, 8, 8), Qt::white);
    fill(p, ellipse(6, 57, 5, 5), Qt::white);
}
void shout(QPainter& p) { fill(p, regular(12, 32, 30, 30, -90, 20), QColor(255, 250, 200)); }
void caption(QPainter& p) { fill(p, rect(2, 14, 60, 36, 2), QColor(255, 245, 180)); }
void boxSay(QPainter& p)
{
    QPainterPath b;
    b.addRoundedRect(QRectF(2, 4, 60, 38), 8, 8);
    QPainterPath tail;
    bubbleTail(tail, 40, 40, 50, 60);
    tail.closeSubpath();
    fill(p, b.united(tail), Qt::white);
}
void whisper(QPainter& p)
{
    p.setPen(QPen(kOutline, 2, Qt::DashLine));
    p.setBrush(Qt::white);
    p.drawPath(roundBubble(8, 60));
}
void heartBubble(QPainter& p)
{
    fill(p, roundBubble(8, 60), Qt::white);
    p.translate(20, 8);
    p.scale(0.4, 0.4);
    heart(p);
}

} // namespace

const std::vector<StampDrawing>& stampDrawings()
{
    static const std::vector<StampDrawing> drawings = {
        {"", "Circle", 48, 48, circle},         {"", "Square", 48, 48, square},
        {"", "Triangle", 48, 48, triangle},     {"", "Star", 48, 48, star},
        {"", "Heart", 48, 48, heart},           {"", "Diamond", 48, 48, diamond},
        {"", "Hexagon", 48, 48, hexagon},       {"", "Pentagon", 48, 48, pentagon},
        {"", "Arrow", 48, 48, arrow},           {"", "Cross", 48, 48, cross},
        {"", "Ring", 48, 48, ring},             {"", "Crescent", 48, 48, crescent},

        {"People", "Standing", 48, 64, standing}, {"People", "Waving", 48, 64, waving},
        {"People", "Walking", 48, 64, walking},   {"People", "Jumping", 48, 64, jumping},
        {"People", "Running", 48, 64, running},   {"People", "Happy", 48, 48, happy},
        {"People", "Sad", 48, 48, sad},           {"People", "Surprised", 48, 48, surprised},
        {"People", "King", 48, 48, king},         {"People", "Robot", 48, 64, robot},

        {"Animals", "Cat", 56, 56, cat},          {"Animals", "Dog", 56, 56, dog},
        {"Animals", "Fish", 64, 48, fish},        {"Animals", "Bird", 56, 56, bird},
        {"Animals", "Snail", 56, 48, snail},      {"Animals", "Ladybird", 48, 48, ladybird},
        {"Animals", "Butterfly", 56, 56, butterfly}, {"Animals", "Mouse", 56, 48, mouse},
        {"Animals", "Duck", 56, 48, duck},        {"Animals", "Bee", 48, 48, bee},
        {"Animals", "Spider", 48, 48, spider},

        {"Vehicles", "Car", 80, 56, car},         {"Vehicles", "Bus", 80, 56, bus},
        {"Vehicles", "Train", 80, 56, train},     {"Vehicles", "Boat", 72, 64, boat},
        {"Vehicles", "Aeroplane", 80, 64, plane}, {"Vehicles", "Rocket", 48, 72, rocket},
        {"Vehicles", "Bicycle", 72, 56, bicycle}, {"Vehicles", "Lorry", 80, 56, lorry},
        {"Vehicles", "Balloon", 56, 64, balloon}, {"Vehicles", "Tractor", 72, 64, tractor},

        {"Nature", "Sun", 64, 64, sun},           {"Nature", "Cloud", 72, 56, cloud},
        {"Nature", "Tree", 56, 72, tree},         {"Nature", "Pine tree", 56, 72, pine},
        {"Nature", "Flower", 48, 64, flower},     {"Nature", "Leaf", 48, 48, leaf},
        {"Nature", "Raindrop", 32, 40, raindrop}, {"Nature", "Snowflake", 48, 48, snowflake},
        {"Nature", "Mountain", 80, 64, mountain}, {"Nature", "Moon", 48, 48, moon},
        {"Nature", "Rainbow", 80, 48, rainbow},   {"Nature", "Apple", 40, 40, apple},
        {"Nature", "Mushroom", 48, 48, mushroom},

        {"Bubbles", "Say", 80, 64, sayLeft},       {"Bubbles", "Say back", 80, 64, sayRight},
        {"Bubbles", "Think", 80, 64, think},       {"Bubbles", "Shout", 80, 64, shout},
        {"Bubbles", "Caption", 96, 48, caption},   {"Bubbles", "Talk", 80, 64, boxSay},
        {"Bubbles", "Whisper", 80, 64, whisper},   {"Bubbles", "Love", 80, 64, heartBubble},
    };
    return drawings;
}

} // namespace celvane
