// Draws the photograph of the four-channel serial card that the main window shows and writes it as a
// baseline JPEG. The card is seen from above under soft light from the upper left. The places that
// the highlight circles mark sit where the circles expect them once the 793 x 508 picture is
// stretched into the 600 x 384 board image: the LEDs at the top left, the channels' jumper blocks
// along the top right and the USB socket at the bottom left.
//
// Usage: make_board_photo <output.jpg>

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

// libjpeg's header needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace {

constexpr int kWidth = 793;
constexpr int kHeight = 508;
constexpr int kJpegQuality = 90;
constexpr uint32_t kSeed = 0x5EED2417u;

constexpr QRectF kBoard(8, 4, 776, 478);
constexpr qreal kBoardEdge = 482;  // bottom edge, where the connectors stick out

constexpr QRgb kDesk = 0xff45433f;
constexpr QRgb kMask = 0xff1d643a;  // the middle of the mask's light gradient, for clearances
constexpr QRgb kTrace = 0xff2f8c52;
constexpr QRgb kSilk = 0xffe6ebe2;
constexpr QRgb kTin = 0xffc8cbca;
constexpr QRgb kGold = 0xffd3b25e;
constexpr QRgb kEpoxy = 0xff1f1f21;
constexpr QRgb kSteel = 0xffb4b8bb;
constexpr QRgb kCapBlue = 0xff2a4fa8;

// Header pitch on the photograph and the placement of the four channels' jumper blocks.
constexpr qreal kPitch = 8;
constexpr qreal kJumperLeft = 421.5;
constexpr qreal kChannelStep = 62;
constexpr qreal kLedY = 44;
constexpr qreal kLedX[5] = {110, 155, 200, 245, 290};
constexpr qreal kPortX[4] = {232, 387, 542, 697};
constexpr QPointF kUsbCentre(85, 450);
constexpr QPointF kUartCentre(330, 230);

// A fixed xorshift generator, so that the picture comes out the same on every run and library.
class TNoise {
 public:
  explicit TNoise(uint32_t seed) : FState(seed) {}
  uint32_t Next() {
    FState ^= FState << 13;
    FState ^= FState >> 17;
    FState ^= FState << 5;
    return FState;
  }
  double Unit() { return (Next() & 0xFFFFFF) / double(0x1000000); }

 private:
  uint32_t FState;
};

// Flat things (traces, pads, silkscreen) go on the board layer; parts stand on it and cast shadows.
struct TLayers {
  QPainter& Board;
  QPainter& Parts;
};

// Moves both painters into a part's own frame, centred and turned, for the lifetime of the object.
class TLocalFrame {
 public:
  TLocalFrame(TLayers& layers, QPointF centre, qreal angle) : FLayers(layers) {
    for (QPainter* p : {&layers.Board, &layers.Parts}) {
      p->save();
      p->translate(centre);
      p->rotate(angle);
    }
  }
  ~TLocalFrame() {
    FLayers.Board.restore();
    FLayers.Parts.restore();
  }

 private:
  TLayers& FLayers;
};

QImage MakeLayer() {
  QImage layer(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  layer.fill(Qt::transparent);
  return layer;
}

void Text(QPainter& p, QPointF centre, const QString& text, qreal px, QRgb colour, bool bold = false) {
  QFont font("DejaVu Sans Condensed");
  font.setPointSizeF(px * 0.75);  // the image paints at 96 dots per inch
  font.setBold(bold);
  font.setHintingPreference(QFont::PreferNoHinting);
  p.setFont(font);
  p.setPen(QColor::fromRgba(colour));
  p.drawText(QRectF(centre.x() - 200, centre.y() - px, 400, 2 * px), Qt::AlignCenter, text);
}

void Silk(QPainter& p, QPointF centre, const QString& text, qreal px = 6.5, bool bold = false) {
  Text(p, centre, text, px, kSilk, bold);
}

void SilkRect(QPainter& p, const QRectF& r) {
  p.setPen(QPen(QColor::fromRgba(kSilk), 0.9));
  p.setBrush(Qt::NoBrush);
  p.drawRect(r);
}

// Light falls from the upper left: a bright band near the start, darker towards the end.
QLinearGradient Shaded(QPointF from, QPointF to, QRgb base, int light = 135, int dark = 140) {
  const QColor c = QColor::fromRgba(base);
  QLinearGradient g(from, to);
  g.setColorAt(0, c.lighter(light - 15));
  g.setColorAt(0.3, c.lighter(light));
  g.setColorAt(0.65, c);
  g.setColorAt(1, c.darker(dark));
  return g;
}

// Pads and vias keep a gap to any copper pour around them.
void Pad(QPainter& b, const QRectF& r) {
  b.fillRect(r.adjusted(-1.2, -1.2, 1.2, 1.2), QColor::fromRgba(kMask));
  b.fillRect(r, Shaded(r.topLeft(), r.bottomRight(), kTin, 118, 115));
}

void Via(QPainter& b, QPointF c, qreal r = 2.6) {
  b.setPen(Qt::NoPen);
  b.setBrush(QColor::fromRgba(kMask));
  b.drawEllipse(c, r + 1.2, r + 1.2);
  b.setBrush(QColor::fromRgba(kTin));
  b.drawEllipse(c, r, r);
  b.setBrush(QColor(40, 44, 40));
  b.drawEllipse(c, r * 0.45, r * 0.45);
}

// Copper under the solder mask shows as a slightly lighter, raised line. Corners are cut at 45
// degrees as a router draws them. A bundle repeats the path shifted by step, which keeps the lines
// parallel as long as step is not along any segment.
void Route(QPainter& b, const std::vector<QPointF>& points, qreal width = 1.6, int count = 1,
           QPointF step = {}) {
  std::vector<QPainterPath> paths;
  for (int k = 0; k < count; ++k) {
    QPainterPath path(points.front() + step * k);
    for (size_t i = 1; i + 1 < points.size(); ++i) {
      const QPointF here = points[i] + step * k;
      const QPointF in = points[i - 1] - points[i];
      const QPointF out = points[i + 1] - points[i];
      const qreal inLength = std::hypot(in.x(), in.y());
      const qreal outLength = std::hypot(out.x(), out.y());
      const qreal cut = std::min({8.0, inLength / 2, outLength / 2});
      path.lineTo(here + in / inLength * cut);
      path.lineTo(here + out / outLength * cut);
    }
    path.lineTo(points.back() + step * k);
    paths.push_back(path);
  }
  // First the gap to any pour around the whole bundle, then the lines.
  for (const QPainterPath& path : paths) {
    b.strokePath(path,
                 QPen(QColor::fromRgba(kMask), width + 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  }
  for (const QPainterPath& path : paths) {
    b.strokePath(path,
                 QPen(QColor(16, 72, 38, 110), width + 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    b.strokePath(path, QPen(QColor::fromRgba(kTrace), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  }
}

// Ground pour under the mask over the whole board but a strip along the edge: a lighter field in
// which every trace, pad and via shows its clearance gap.
void Pour(QPainter& b) {
  QPainterPath field;
  field.addRoundedRect(kBoard.adjusted(7, 7, -7, -7), 6, 6);
  b.strokePath(field, QPen(QColor(16, 72, 38, 90), 1.2));
  b.fillPath(field, QColor(47, 140, 82, 95));
}

// Two-terminal chip part (resistor, ceramic capacitor, bead) lying along the local x axis.
void DrawChip(TLayers& d, QPointF c, qreal angle, QRgb body, qreal length = 9, qreal width = 4.6) {
  TLocalFrame frame(d, c, angle);
  Pad(d.Board, QRectF(-length / 2 - 1.2, -width / 2 - 0.7, 3.6, width + 1.4));
  Pad(d.Board, QRectF(length / 2 - 2.4, -width / 2 - 0.7, 3.6, width + 1.4));
  const QRectF r(-length / 2, -width / 2, length, width);
  d.Parts.fillRect(r, Shaded(r.topLeft(), r.bottomLeft(), body, 125, 130));
  d.Parts.fillRect(QRectF(r.left(), r.top(), 1.7, width), Shaded(r.topLeft(), r.bottomLeft(), kTin));
  d.Parts.fillRect(QRectF(r.right() - 1.7, r.top(), 1.7, width), Shaded(r.topLeft(), r.bottomLeft(), kTin));
}

void Resistor(TLayers& d, QPointF c, qreal angle) { DrawChip(d, c, angle, 0xff202020); }
void Capacitor(TLayers& d, QPointF c, qreal angle) { DrawChip(d, c, angle, 0xffa98458); }

// Moulded package body with its laser marking; the top is a little smaller than the base (draft).
void DrawPackageBody(QPainter& p, const QRectF& r, const QStringList& marks, qreal markPx) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(18, 18, 19));
  p.drawRoundedRect(r, 1.5, 1.5);
  const QRectF top = r.adjusted(1.2, 1.2, -1.2, -1.2);
  p.setBrush(Shaded(top.topLeft(), top.bottomRight(), kEpoxy, 150, 120));
  p.drawRoundedRect(top, 1, 1);
  p.setBrush(QColor(12, 12, 13));
  p.drawEllipse(QPointF(top.left() + 3.2, top.bottom() - 3.2), 1.4, 1.4);
  for (int i = 0; i < marks.size(); ++i) {
    const qreal y = r.center().y() + (i - (marks.size() - 1) / 2.0) * markPx * 1.25;
    Text(p, QPointF(r.center().x(), y), marks[i], markPx, 0xff8c8d8f);
  }
}

// Gull-wing leads along the top edge of a body, in the local frame.
void DrawLeads(TLayers& d, qreal bodyLength, qreal edgeY, int count) {
  const qreal pitch = bodyLength / count;
  for (int i = 0; i < count; ++i) {
    const qreal x = -bodyLength / 2 + pitch * (i + 0.5);
    Pad(d.Board, QRectF(x - pitch * 0.3, edgeY - 7, pitch * 0.6, 6.5));
    const QRectF lead(x - pitch * 0.2, edgeY - 5.2, pitch * 0.4, 5.4);
    d.Parts.fillRect(lead, Shaded(lead.topLeft(), lead.bottomLeft(), kTin, 140, 150));
  }
}

void DrawSoic(TLayers& d, QPointF c, qreal angle, int pinsPerSide, qreal length, qreal width,
              const QStringList& marks, const QString& reference) {
  TLocalFrame frame(d, c, angle);
  DrawLeads(d, length, -width / 2, pinsPerSide);
  {
    TLocalFrame turned(d, {}, 180);
    DrawLeads(d, length, -width / 2, pinsPerSide);
  }
  DrawPackageBody(d.Parts, QRectF(-length / 2, -width / 2, length, width), marks, 4.6);
  Silk(d.Board, QPointF(-length / 2 - 8, 0), reference, 5.5);
}

// Six-lead SOT-23 package, as the protection diode arrays come.
void DrawSot23(TLayers& d, QPointF c, qreal angle, const QString& reference) {
  TLocalFrame frame(d, c, angle);
  constexpr qreal length = 11;
  for (qreal turn : {0.0, 180.0}) {
    TLocalFrame turned(d, {}, turn);
    DrawLeads(d, length, -3.5, 3);
  }
  DrawPackageBody(d.Parts, QRectF(-length / 2, -3.5, length, 7), {}, 4);
  Silk(d.Board, QPointF(length / 2 + 7, 0), reference, 5);
}

void DrawQfp(TLayers& d, QPointF c, qreal body, int pinsPerSide, const QStringList& marks) {
  TLocalFrame frame(d, c, 0);
  for (int side = 0; side < 4; ++side) {
    TLocalFrame turned(d, {}, 90 * side);
    DrawLeads(d, body - 4, -body / 2, pinsPerSide);
  }
  SilkRect(d.Board, QRectF(-body / 2 - 9, -body / 2 - 9, body + 18, body + 18));
  DrawPackageBody(d.Parts, QRectF(-body / 2, -body / 2, body, body), marks, 6.5);
  Silk(d.Board, QPointF(-body / 2 - 5, -body / 2 - 15), "U1", 6.5);
}

// 3 mm through-hole LED from above: a coloured dome on a flange with a flat on the cathode side.
void DrawLed(TLayers& d, QPointF c, QRgb lens, const QString& label) {
  TLocalFrame frame(d, c, 0);
  d.Board.setPen(QPen(QColor::fromRgba(kSilk), 1));
  d.Board.setBrush(Qt::NoBrush);
  d.Board.drawArc(QRectF(-9.5, -9.5, 19, 19), 40 * 16, 280 * 16);
  d.Board.drawLine(QPointF(7.3, -6.1), QPointF(7.3, 6.1));
  Silk(d.Board, QPointF(0, 18), label, 7, true);

  const QColor colour = QColor::fromRgba(lens);
  QPainterPath flange;
  flange.addEllipse(QPointF(), 7.6, 7.6);
  QPainterPath cut;
  cut.addRect(QRectF(-8, -8, 14.6, 16));
  d.Parts.fillPath(flange.intersected(cut), colour.darker(150));
  QRadialGradient dome(QPointF(-2, -2.4), 7.5);
  dome.setColorAt(0, colour.lighter(165));
  dome.setColorAt(0.45, colour);
  dome.setColorAt(1, colour.darker(160));
  d.Parts.setPen(Qt::NoPen);
  d.Parts.setBrush(dome);
  d.Parts.drawEllipse(QPointF(), 6.2, 6.2);
  d.Parts.setBrush(QColor(255, 255, 255, 190));
  d.Parts.drawEllipse(QPointF(-2.3, -2.6), 1.7, 1.2);
}

// Pin header of cols x rows gold pins on a black plastic strip.
void DrawHeader(TLayers& d, QPointF topLeft, int cols, int rows) {
  const QRectF base(topLeft, QSizeF(cols * kPitch, rows * kPitch));
  SilkRect(d.Board, base.adjusted(-1.6, -1.6, 1.6, 1.6));
  d.Parts.fillRect(base, Shaded(base.topLeft(), base.bottomLeft(), 0xff1c1c1e, 160, 120));
  d.Parts.setPen(QPen(QColor(8, 8, 8), 0.6));
  for (int i = 1; i < cols; ++i) {
    d.Parts.drawLine(QPointF(base.left() + i * kPitch, base.top()),
                     QPointF(base.left() + i * kPitch, base.bottom()));
  }
  for (int row = 0; row < rows; ++row) {
    for (int col = 0; col < cols; ++col) {
      const QPointF pin = topLeft + QPointF((col + 0.5) * kPitch, (row + 0.5) * kPitch);
      const QRectF r(pin - QPointF(1.6, 1.6), QSizeF(3.2, 3.2));
      d.Parts.fillRect(r, Shaded(r.topLeft(), r.bottomRight(), kGold, 150, 150));
    }
  }
}

// Jumper cap: a shunt of blue plastic over two pins.
void DrawCap(TLayers& d, const QRectF& r) {
  d.Parts.setPen(Qt::NoPen);
  d.Parts.setBrush(Shaded(r.topLeft(), r.bottomRight(), kCapBlue, 140, 150));
  d.Parts.drawRoundedRect(r, 1.4, 1.4);
  d.Parts.setBrush(QColor(14, 28, 70));
  const bool tall = r.height() > r.width();
  d.Parts.drawRect(tall ? QRectF(r.center().x() - 0.8, r.top() + 2.5, 1.6, r.height() - 5)
                        : QRectF(r.left() + 2.5, r.center().y() - 0.8, r.width() - 5, 1.6));
  d.Parts.setPen(QPen(QColor(255, 255, 255, 70), 0.8));
  d.Parts.drawLine(r.topLeft() + QPointF(1.2, 0.6), r.topRight() + QPointF(-1.2, 0.6));
}

// One channel: the three-pin RS232 / RS422-RS485 selector with its cap above the five two-pin
// RS485 jumpers, capped where closed.
void DrawChannelJumpers(TLayers& d, int channel, bool capRight, const std::vector<int>& closed) {
  const qreal x0 = kJumperLeft + channel * kChannelStep;
  Silk(d.Board, QPointF(x0 + 20, 56), QString(QChar('A' + channel)), 8, true);
  Silk(d.Board, QPointF(x0 + 1, 70), "232", 5);
  Silk(d.Board, QPointF(x0 + 39, 70), "485", 5);
  DrawHeader(d, QPointF(x0 + 8, 66), 3, 1);
  DrawCap(d, QRectF(x0 + (capRight ? 16.4 : 8.4), 66.2, 15.2, 7.6));

  DrawHeader(d, QPointF(x0, 82), 5, 2);
  for (int i : closed) DrawCap(d, QRectF(x0 + i * kPitch + 0.4, 82.2, 7.2, 15.6));
  for (int i = 0; i < 5; ++i) {
    const qreal x = x0 + 4 + i * kPitch;
    const qreal end = 104 + (i % 2) * 7;
    Route(d.Board, {{x, 98}, {x, end}}, 1.4);
    Via(d.Board, {x, end + 2});
  }
}

void DrawJumperArea(TLayers& d) {
  DrawChannelJumpers(d, 0, false, {});
  DrawChannelJumpers(d, 1, true, {0, 1});
  DrawChannelJumpers(d, 2, true, {0, 2, 3, 4});
  DrawChannelJumpers(d, 3, false, {});
  Silk(d.Board, QPointF(534.5, 124), "1-2 RS232     2-3 RS422/485", 6);
}

void DrawLeds(TLayers& d) {
  const QRgb lenses[5] = {0xff3dae4c, 0xffe9c23a, 0xffe9c23a, 0xffe9c23a, 0xffe9c23a};
  const char* labels[5] = {"PWR", "A", "B", "C", "D"};
  for (int i = 0; i < 5; ++i) {
    const qreal x = kLedX[i];
    // Each LED runs from the UART through its series resistor; the lines step down so none cross.
    const qreal bend = 150 - 5 * i;
    const qreal pin = kUartCentre.x() - 20.6 + 7.5 * i;
    Route(d.Board, {{x, 50}, {x, 76}}, 1.4);
    Route(d.Board, {{x, 84}, {x, bend}, {pin, bend}, {pin, 196}}, 1.4);
    Resistor(d, QPointF(x, 80), 90);
    DrawLed(d, QPointF(x, kLedY), lenses[i], labels[i]);
  }
}

// Top-entry USB type B receptacle: the shell's mouth, square with its top corners cut, faces up.
void DrawUsb(TLayers& d) {
  TLocalFrame frame(d, kUsbCentre, 0);
  auto shape = [](qreal w, qreal h, qreal chamfer) {
    QPainterPath p;
    p.moveTo(-w / 2, -h / 2 + chamfer);
    p.lineTo(-w / 2 + chamfer, -h / 2);
    p.lineTo(w / 2 - chamfer, -h / 2);
    p.lineTo(w / 2, -h / 2 + chamfer);
    p.lineTo(w / 2, h / 2);
    p.lineTo(-w / 2, h / 2);
    p.closeSubpath();
    return p;
  };
  for (qreal side : {-1.0, 1.0}) Pad(d.Board, QRectF(side * 25 - 4, -6, 8, 12));
  for (qreal side : {-1.0, 1.0}) {
    const QRectF tab(side * 24.5 - 2.5, -4, 5, 8);
    d.Parts.fillRect(tab, Shaded(tab.topLeft(), tab.bottomRight(), kSteel));
  }
  d.Parts.fillPath(shape(46, 42, 10), Shaded(QPointF(-23, -21), QPointF(23, 21), kSteel, 140, 150));
  d.Parts.strokePath(shape(46, 42, 10), QPen(QColor(70, 72, 74), 0.8));
  QLinearGradient cavity(QPointF(0, -17), QPointF(0, 17));
  cavity.setColorAt(0, QColor(6, 6, 7));
  cavity.setColorAt(1, QColor(28, 28, 30));
  d.Parts.fillPath(shape(38, 34, 7.5), cavity);
  const QRectF tongue(-10.5, -5, 21, 15);
  d.Parts.fillRect(tongue, Shaded(tongue.topLeft(), tongue.bottomLeft(), 0xffe4e0d4, 110, 125));
  for (qreal x : {-7.0, 3.0}) {
    d.Parts.fillRect(QRectF(x, tongue.top() - 0.2, 4, 1.8), QColor::fromRgba(kGold));
    d.Parts.fillRect(QRectF(x, tongue.bottom() - 1.6, 4, 1.8), QColor::fromRgba(kGold));
  }
  Silk(d.Board, QPointF(60, -10), "USB", 7, true);
  Silk(d.Board, QPointF(60, -1), "J5", 6);
}

// Right-angle DB9 at the board edge: plastic body behind the steel flange, the D shell and the
// two jack screws sticking out over the edge.
void DrawDb9(TLayers& d, int channel) {
  const qreal xc = kPortX[channel];
  const qreal e = kBoardEdge;
  Silk(d.Board, QPointF(xc, e - 45), QString("PORT %1").arg(QChar('A' + channel)), 7, true);
  Silk(d.Board, QPointF(xc - 58, e - 45), QString("P%1").arg(channel + 1), 6);
  for (qreal side : {-1.0, 1.0}) {
    const QRectF lock(xc + side * 56 - 4, e - 30, 8, 22);
    Pad(d.Board, lock.adjusted(-1.5, -1.5, 1.5, 1.5));
    d.Parts.fillRect(lock, Shaded(lock.topLeft(), lock.bottomRight(), kSteel));
  }
  const QRectF body(xc - 50, e - 36, 100, 31);
  d.Parts.fillRect(body, Shaded(body.topLeft(), body.bottomLeft(), 0xff222224, 150, 120));
  d.Parts.setPen(QPen(QColor(12, 12, 12), 0.7));
  for (int i = 1; i < 6; ++i)
    d.Parts.drawLine(QPointF(body.left() + 4, body.top() + i * 5),
                     QPointF(body.right() - 4, body.top() + i * 5));
  const QRectF flange(xc - 64, e - 6, 128, 7);
  d.Parts.fillRect(flange, Shaded(flange.topLeft(), flange.bottomLeft(), kSteel, 150, 140));
  const QRectF shell(xc - 33, e + 1, 66, 15);
  d.Parts.fillRect(shell, Shaded(shell.topLeft(), shell.topRight(), kSteel, 145, 145));
  d.Parts.fillRect(QRectF(shell.left(), shell.bottom() - 2, shell.width(), 2), QColor(150, 153, 156));
  d.Parts.setBrush(QColor(120, 123, 126));
  d.Parts.setPen(Qt::NoPen);
  for (qreal side : {-1.0, 1.0}) d.Parts.drawEllipse(QPointF(xc + side * 20, e + 7), 2.5, 1.5);
  for (qreal side : {-1.0, 1.0}) {
    const QRectF screw(xc + side * 56 - 5.5, e + 1, 11, 9);
    d.Parts.fillRect(screw, Shaded(screw.topLeft(), screw.topRight(), 0xffa8abae, 150, 160));
  }
}

void DrawCrystal(TLayers& d, QPointF c) {
  TLocalFrame frame(d, c, 0);
  for (qreal side : {-1.0, 1.0}) Pad(d.Board, QRectF(side * 19 - 4, -3, 8, 6));
  QPainterPath can;
  can.addRoundedRect(QRectF(-20, -8, 40, 16), 8, 8);
  d.Parts.fillPath(can, Shaded(QPointF(0, -8), QPointF(0, 8), kSteel, 150, 150));
  QPainterPath top;
  top.addRoundedRect(QRectF(-17.5, -5.5, 35, 11), 5.5, 5.5);
  d.Parts.strokePath(top, QPen(QColor(240, 242, 244, 150), 0.8));
  Text(d.Parts, QPointF(0, 0), "12.000", 5.5, 0xff4a4c50, true);
  Silk(d.Board, QPointF(0, -14), "Y1", 6);
}

// Aluminium electrolytic in its SMD seat: the can top with the polarity band and vent cross.
void DrawElectrolytic(TLayers& d, QPointF c, qreal r, const QString& reference) {
  TLocalFrame frame(d, c, 0);
  QPainterPath seat;
  seat.moveTo(-r - 1, -r + 4);
  seat.lineTo(-r + 4, -r - 1);
  seat.lineTo(r + 1, -r - 1);
  seat.lineTo(r + 1, r + 1);
  seat.lineTo(-r + 4, r + 1);
  seat.lineTo(-r - 1, r - 4);
  seat.closeSubpath();
  d.Parts.fillPath(seat, QColor(26, 26, 28));
  QRadialGradient can(QPointF(-r * 0.35, -r * 0.4), r * 1.6);
  can.setColorAt(0, QColor(236, 238, 240));
  can.setColorAt(0.5, QColor(180, 184, 188));
  can.setColorAt(1, QColor(110, 114, 118));
  d.Parts.setPen(Qt::NoPen);
  d.Parts.setBrush(can);
  d.Parts.drawEllipse(QPointF(), r, r);
  d.Parts.setBrush(QColor(24, 30, 44, 230));
  d.Parts.drawPie(QRectF(-r, -r, 2 * r, 2 * r), 135 * 16, 90 * 16);
  d.Parts.setPen(QPen(QColor(90, 94, 98), 0.9));
  d.Parts.drawLine(QPointF(-r * 0.45, 0), QPointF(r * 0.45, 0));
  d.Parts.drawLine(QPointF(0, -r * 0.45), QPointF(0, r * 0.45));
  Silk(d.Board, QPointF(0, r + 8), reference, 6);
}

void DrawMountingHole(QPainter& b, QPointF c) {
  b.setPen(Qt::NoPen);
  b.setBrush(QColor::fromRgba(kTin));
  b.drawEllipse(c, 10, 10);
  for (int i = 0; i < 8; ++i) {
    const qreal a = i * M_PI / 4;
    Via(b, c + QPointF(std::cos(a), std::sin(a)) * 7.5, 1.3);
  }
  b.setCompositionMode(QPainter::CompositionMode_Clear);
  b.drawEllipse(c, 5.5, 5.5);
  b.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void DrawBarcodeLabel(TLayers& d, TNoise& noise) {
  const QRectF label(415, 318, 80, 26);
  d.Parts.fillRect(label, QColor(238, 236, 228));
  qreal x = label.left() + 5;
  while (x < label.right() - 7) {
    const qreal bar = 0.7 + (noise.Next() % 3) * 0.7;
    d.Parts.fillRect(QRectF(x, label.top() + 3, bar, 14), QColor(24, 24, 24));
    x += bar + 0.7 + (noise.Next() % 3) * 0.7;
  }
  Text(d.Parts, QPointF(label.center().x(), label.bottom() - 4.5), "SN 2417-00386", 5, 0xff202020);
}

void DrawBoard(QPainter& b) {
  QPainterPath outline;
  outline.addRoundedRect(kBoard, 10, 10);
  QLinearGradient mask(kBoard.topLeft(), kBoard.bottomRight());
  mask.setColorAt(0, QColor(36, 116, 64));
  mask.setColorAt(1, QColor(24, 88, 50));
  b.fillPath(outline, mask);
  QPainterPath rim;
  rim.addRoundedRect(kBoard.adjusted(0.8, 0.8, -0.8, -0.8), 9.5, 9.5);
  b.strokePath(rim, QPen(QColor(150, 170, 110, 150), 1.4));
  Pour(b);
  for (QPointF hole : {QPointF(26, 24), QPointF(766, 24), QPointF(26, 392), QPointF(768, 425)}) {
    DrawMountingHole(b, hole);
  }
}

// The UART's buses to the four channels' transceivers, the USB pair and the supply lines.
void DrawBuses(QPainter& b) {
  const QPointF across(4, 4);
  const QPointF down(4, -4);
  Route(b, {{303.8, 262}, {303.8, 300}, {200, 300}, {200, 382}}, 1.5, 3, across);
  Route(b, {{318.8, 262}, {318.8, 335}, {345, 361}, {345, 382}}, 1.5, 3, down);
  Route(b, {{333.8, 262}, {333.8, 314}, {505, 314}, {505, 382}}, 1.5, 3, down);
  Route(b, {{348.8, 262}, {348.8, 292}, {660, 292}, {660, 382}}, 1.5, 3, down);
  Route(b, {{82, 436}, {82, 318}, {150, 250}, {296, 250}}, 1.5, 2, across);
  Route(b, {{100, 434}, {100, 404}, {176, 404}, {176, 360}}, 4);
  Route(b, {{185, 334}, {185, 262}, {296, 262}}, 3);
  for (int k = 0; k < 4; ++k) {
    const qreal from = 220.6 + 3.75 * k;
    const qreal to = 222.5 + 5 * k;
    Route(b, {{364, from}, {380, from}, {380 + (to - from), to}, {404, to}});
  }
  Route(b, {{364, 201.9}, {385, 201.9}, {385, 140}, {736, 140}}, 1.5, 3, QPointF(3.75, 3.75));
  Route(b, {{252, 214}, {296, 214}});
  Route(b, {{208, 214}, {200, 214}, {200, 190}, {296, 190}, {296, 200}});
  for (qreal x : kPortX) {
    for (qreal dx : {-41.0, -30.0, -19.0, 36.0, 44.0}) Route(b, {{x + dx, 404}, {x + dx, 450}});
  }
  for (QPointF v : {QPointF(250, 160), QPointF(262, 166), QPointF(600, 250), QPointF(720, 350),
                    QPointF(150, 300), QPointF(470, 380), QPointF(290, 400), QPointF(610, 420)}) {
    Via(b, v);
  }
}

void DrawParts(TLayers& d, TNoise& noise) {
  DrawLeds(d);
  DrawJumperArea(d);
  DrawUsb(d);
  for (int c = 0; c < 4; ++c) {
    const qreal x = kPortX[c];
    DrawSoic(d, QPointF(x - 30, 392), 0, 8, 44, 20, {"NBT32", "2417"}, QString("U%1").arg(3 + c));
    DrawSoic(d, QPointF(x + 40, 392), 0, 4, 20, 17, {"T85"}, QString("U%1").arg(7 + c));
    Capacitor(d, QPointF(x - 62, 392), 90);
    Capacitor(d, QPointF(x + 10, 392), 90);
    Resistor(d, QPointF(x + 62, 392), 90);
    DrawSot23(d, QPointF(x + 4, 421), 0, QString("D%1").arg(c + 1));
    DrawDb9(d, c);
  }
  DrawQfp(d, kUartCentre, 60, 16, {"NBQ-U4", "2417 A1", "TW"});
  for (QPointF corner : {QPointF(-44, -44), QPointF(44, -44), QPointF(-44, 44), QPointF(44, 44)}) {
    Capacitor(d, kUartCentre + corner, 45);
  }
  DrawSoic(d, QPointF(420, 230), 90, 4, 20, 16, {"E2K"}, "U2");
  DrawCrystal(d, QPointF(230, 214));
  Capacitor(d, QPointF(214, 236), 90);
  Capacitor(d, QPointF(246, 236), 90);
  DrawSoic(d, QPointF(185, 350), 0, 3, 24, 14, {"R33"}, "");
  const QRectF tab(174, 329, 22, 7);
  d.Parts.fillRect(tab, Shaded(tab.topLeft(), tab.bottomLeft(), kTin));
  Silk(d.Board, QPointF(185, 322), "U11", 6);
  DrawChip(d, QPointF(122, 404), 0, 0xff2a2a2a, 11, 6);
  DrawChip(d, QPointF(150, 404), 0, 0xff3d3a36, 12, 6);
  Silk(d.Board, QPointF(122, 396), "L1", 5);
  Silk(d.Board, QPointF(150, 396), "F1", 5);
  DrawElectrolytic(d, QPointF(135, 365), 13, "C1");
  DrawElectrolytic(d, QPointF(736, 200), 13, "C2");
  for (QPointF r : {QPointF(400, 270), QPointF(412, 270), QPointF(250, 275), QPointF(262, 275)})
    Resistor(d, r, 90);
  for (qreal x : {455.0, 468.0, 481.0, 494.0}) Resistor(d, QPointF(x, 255), 90);
  Capacitor(d, QPointF(160, 350), 90);
  Capacitor(d, QPointF(228, 345), 90);
  DrawSot23(d, QPointF(104, 372), 90, "D5");
  DrawSoic(d, QPointF(745, 135), 90, 7, 36, 15, {"NB74"}, "U12");
  Capacitor(d, QPointF(722, 160), 90);
  Capacitor(d, QPointF(722, 110), 90);
  DrawBarcodeLabel(d, noise);
}

void DrawSilkscreen(QPainter& b) {
  Silk(b, QPointF(560, 182), "NB-QUADPORT", 17, true);
  Silk(b, QPointF(560, 201), "REV A", 9, true);
  Silk(b, QPointF(100, 186), "4 x RS232 / RS422 / RS485", 7);
  Silk(b, QPointF(620, 238), "94V-0  2417", 5.5);
  // The unfitted programming header: six plated holes in a frame.
  SilkRect(b, QRectF(727, 262, 26, 38));
  for (int i = 0; i < 6; ++i) Via(b, QPointF(734 + (i % 2) * 12, 269 + (i / 2) * 12), 3.4);
  Silk(b, QPointF(740, 308), "J10", 6);
  for (QPointF tp : {QPointF(700, 178), QPointF(250, 330)}) {
    b.setPen(QPen(QColor::fromRgba(kSilk), 0.9));
    b.setBrush(QColor::fromRgba(kTin));
    b.drawEllipse(tp, 4, 4);
  }
}

// Soft shadow of everything drawn on a layer, cast onto the picture below it.
void CastShadow(QPainter& target, const QImage& layer, QPointF offset, int radius, double opacity) {
  const int w = layer.width();
  const int h = layer.height();
  std::vector<float> alpha(size_t(w) * h);
  for (int y = 0; y < h; ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
    for (int x = 0; x < w; ++x) alpha[size_t(y) * w + x] = qAlpha(row[x]) / 255.0f;
  }
  // Three box blurs in each direction come close to a Gaussian.
  std::vector<float> line;
  auto blur = [&](int count, int stride, int lines, int lineStride) {
    for (int l = 0; l < lines; ++l) {
      float* p = alpha.data() + size_t(l) * lineStride;
      line.assign(count, 0);
      for (int i = 0; i < count; ++i) line[i] = p[size_t(i) * stride];
      for (int i = 0; i < count; ++i) {
        float sum = 0;
        for (int j = -radius; j <= radius; ++j) sum += line[std::clamp(i + j, 0, count - 1)];
        p[size_t(i) * stride] = sum / (2 * radius + 1);
      }
    }
  };
  for (int pass = 0; pass < 3; ++pass) {
    blur(w, 1, h, w);
    blur(h, w, w, 1);
  }
  QImage shadow(w, h, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < h; ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(shadow.scanLine(y));
    for (int x = 0; x < w; ++x) row[x] = qRgba(0, 0, 0, int(alpha[size_t(y) * w + x] * opacity * 255 + 0.5));
  }
  target.drawImage(offset, shadow);
}

// Light from the upper left, a darker rim, uneven mask thickness and sensor grain.
void Develop(QImage& photo, TNoise& noise) {
  {
    QPainter p(&photo);
    QRadialGradient light(QPointF(220, 70), 900);
    light.setColorAt(0, QColor(255, 252, 240, 34));
    light.setColorAt(0.45, QColor(0, 0, 0, 0));
    light.setColorAt(1, QColor(0, 0, 0, 80));
    p.fillRect(photo.rect(), light);
  }
  constexpr int kCells = 24;
  constexpr int kRows = 16;
  std::vector<double> field((kCells + 1) * (kRows + 1));
  for (double& v : field) v = noise.Unit() - 0.5;
  for (int y = 0; y < photo.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
    const double fy = double(y) / photo.height() * kRows;
    const int gy = std::min(int(fy), kRows - 1);
    const double ty = (fy - gy) * (fy - gy) * (3 - 2 * (fy - gy));
    for (int x = 0; x < photo.width(); ++x) {
      const double fx = double(x) / photo.width() * kCells;
      const int gx = std::min(int(fx), kCells - 1);
      const double tx = (fx - gx) * (fx - gx) * (3 - 2 * (fx - gx));
      auto at = [&](int cx, int cy) { return field[size_t(cy) * (kCells + 1) + cx]; };
      const double top = at(gx, gy) + (at(gx + 1, gy) - at(gx, gy)) * tx;
      const double bottom = at(gx, gy + 1) + (at(gx + 1, gy + 1) - at(gx, gy + 1)) * tx;
      const double shift = (top + (bottom - top) * ty) * 7 + (noise.Unit() - 0.5) * 4;
      auto channel = [&](int v) { return std::clamp(int(std::lround(v + shift)), 0, 255); };
      row[x] = qRgb(channel(qRed(row[x])), channel(qGreen(row[x])), channel(qBlue(row[x])));
    }
  }
}

QImage DrawPhoto() {
  TNoise noise(kSeed);
  QImage photo(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  {
    QPainter p(&photo);
    QLinearGradient desk(QPointF(0, 0), QPointF(kWidth, kHeight));
    desk.setColorAt(0, QColor::fromRgba(kDesk).lighter(115));
    desk.setColorAt(1, QColor::fromRgba(kDesk).darker(125));
    p.fillRect(photo.rect(), desk);
  }
  QImage board = MakeLayer();
  QImage parts = MakeLayer();
  {
    QPainter b(&board);
    QPainter p(&parts);
    b.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::Antialiasing);
    DrawBoard(b);
    DrawBuses(b);
    DrawSilkscreen(b);
    TLayers layers{b, p};
    DrawParts(layers, noise);
  }
  {
    QPainter p(&photo);
    CastShadow(p, board, QPointF(5, 7), 5, 0.65);
    p.drawImage(0, 0, board);
    CastShadow(p, parts, QPointF(2, 3), 2, 0.6);
    p.drawImage(0, 0, parts);
  }
  Develop(photo, noise);
  return photo;
}

bool WriteJpeg(const QImage& image, const char* path) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  FILE* file = std::fopen(path, "wb");
  if (!file) return false;
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);  // a failure prints and ends the program: fine for a tool
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = JDIMENSION(rgb.width());
  info.image_height = JDIMENSION(rgb.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, kJpegQuality, TRUE);
  info.optimize_coding = TRUE;
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_board_photo <output.jpg>\n");
    return 2;
  }
  const char* path = argv[1];
  // Text needs a font database, which needs an application; no window is ever shown.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (!WriteJpeg(DrawPhoto(), path)) {
    std::fprintf(stderr, "make_board_photo: cannot write %s\n", path);
    return 1;
  }
  return 0;
}
