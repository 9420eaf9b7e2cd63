// Draws the card pictures: one grabbing card per poem, showing its lower
// verse written vertically, and the plain green card shown before a deal.
//
// Usage: make_cards OUTPUT_DIR
// Writes karuta0.png ... karuta99.png and Green.png into OUTPUT_DIR.
#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "game/poems.h"

namespace {

// Pictures are drawn at twice the on-screen card size of 70 x 160.
constexpr int kWidth = 140;
constexpr int kHeight = 320;

constexpr int kCardCount = 100;
constexpr int kRowsPerListBox = 50;
constexpr int kColumns = 3;
constexpr QChar kVerseSeparator = QChar(0x3000);

const QString kFontFamily = QStringLiteral("IPAMincho");
const QString kFontKind = QStringLiteral("Mincho");

struct FaceStyle {
  QColor edge;
  QColor paper;
  QColor ink;
  int edgeWidth;
  int glyphPixels;
  double strokeWidth;
  double columnPitch;
  double marginTop;
  double marginBottom;
};

constexpr FaceStyle kFace = {
    .edge = QColor(0x8a, 0x6d, 0x45),   // weathered brown
    .paper = QColor(0xf7, 0xee, 0xd4),  // cream
    .ink = QColor(0x1d, 0x18, 0x14),    // sumi black
    .edgeWidth = 3,
    .glyphPixels = 40,
    .strokeWidth = 1.0,
    .columnPitch = 43.0,
    .marginTop = 14.0,
    .marginBottom = 14.0,
};

struct BackStyle {
  QColor edge;
  QColor body;
  int edgeWidth;
};

constexpr BackStyle kBack = {
    .edge = QColor(0x0f, 0x3d, 0x22),  // darker green
    .body = QColor(0x17, 0x5a, 0x33),  // deep green
    .edgeWidth = 3,
};

void fail(const QString &message) {
  std::fprintf(stderr, "make_cards: %s\n", qPrintable(message));
}

// Splits the carriage-return-ended rows of one list box.
QStringList listBoxRows(std::string_view rows) {
  QString text = QString::fromUtf8(rows.data(), qsizetype(rows.size()));
  QStringList split = text.split(QChar('\r'));
  if (!split.isEmpty() && split.last().isEmpty()) split.removeLast();
  return split;
}

// The lower verses of all cards, indexed by card number, or nothing if the
// poem table is not shaped as expected.
std::optional<QStringList> lowerVerses() {
  const QStringList first = listBoxRows(karuta::kListBox1Rows);
  const QStringList second = listBoxRows(karuta::kListBox3Rows);
  if (first.size() != kRowsPerListBox || second.size() != kRowsPerListBox) {
    fail(QStringLiteral("poem table does not hold %1 rows").arg(kCardCount));
    return std::nullopt;
  }
  QStringList verses;
  for (const QString &poem : first + second) {
    const qsizetype separator = poem.indexOf(kVerseSeparator);
    if (separator < 0) {
      fail(QStringLiteral("poem without a verse separator: %1").arg(poem));
      return std::nullopt;
    }
    verses.append(poem.mid(separator + 1));
  }
  return verses;
}

// Mincho at glyph size, refusing any substitute family.
std::optional<QFont> minchoFont(const QStringList &verses) {
  QFont font(kFontFamily);
  font.setPixelSize(kFace.glyphPixels);
  font.setStyleStrategy(QFont::NoFontMerging);
  const QString resolved = QFontInfo(font).family();
  if (!resolved.contains(kFontKind, Qt::CaseInsensitive)) {
    fail(QStringLiteral("font %1 is not available (resolved to \"%2\")")
             .arg(kFontFamily, resolved));
    return std::nullopt;
  }
  const QFontMetricsF metrics(font);
  for (const QString &verse : verses) {
    for (const QChar ch : verse) {
      if (!metrics.inFont(ch)) {
        fail(QStringLiteral("font \"%1\" has no glyph for %2").arg(resolved, ch));
        return std::nullopt;
      }
    }
  }
  return font;
}

// Characters per column, longest first, as even as the count allows.
std::vector<int> columnLengths(int characters) {
  std::vector<int> lengths(kColumns, characters / kColumns);
  for (int i = 0; i < characters % kColumns; ++i) ++lengths[size_t(i)];
  return lengths;
}

void drawFrame(QPainter &painter, const QColor &edge, const QColor &body,
               int edgeWidth) {
  painter.fillRect(0, 0, kWidth, kHeight, edge);
  painter.fillRect(edgeWidth, edgeWidth, kWidth - 2 * edgeWidth,
                   kHeight - 2 * edgeWidth, body);
}

// Draws one character, its outline thickened a little so the thin Mincho
// strokes survive scaling down, with its ink bounds centred on the point.
void drawCentredGlyph(QPainter &painter, const QFont &font, QChar ch,
                      QPointF centre) {
  QPainterPath path;
  path.addText(0, 0, font, QString(ch));
  const QPointF shift = centre - path.boundingRect().center();
  const QPen outline(kFace.ink, kFace.strokeWidth, Qt::SolidLine, Qt::RoundCap,
                     Qt::RoundJoin);
  painter.setPen(outline);
  painter.setBrush(kFace.ink);
  painter.drawPath(path.translated(shift));
}

// Columns run right to left, each read top to bottom; every column shares
// the row pitch that lets the longest one fill the face.
void drawVerse(QPainter &painter, const QFont &font, const QString &verse) {
  const std::vector<int> lengths = columnLengths(int(verse.size()));
  const double rowPitch =
      (kHeight - kFace.marginTop - kFace.marginBottom) / lengths.front();
  const double rightmostX = kWidth / 2.0 + kFace.columnPitch * (kColumns - 1) / 2;
  qsizetype next = 0;
  for (int column = 0; column < kColumns; ++column) {
    const double x = rightmostX - column * kFace.columnPitch;
    for (int row = 0; row < lengths[size_t(column)]; ++row) {
      const double y = kFace.marginTop + (row + 0.5) * rowPitch;
      drawCentredGlyph(painter, font, verse[next++], QPointF(x, y));
    }
  }
}

QImage blankImage() {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

QImage cardFace(const QFont &font, const QString &verse) {
  QImage image = blankImage();
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  drawFrame(painter, kFace.edge, kFace.paper, kFace.edgeWidth);
  drawVerse(painter, font, verse);
  return image;
}

QImage cardBack() {
  QImage image = blankImage();
  QPainter painter(&image);
  drawFrame(painter, kBack.edge, kBack.body, kBack.edgeWidth);
  return image;
}

// Every face pixel is the edge colour or a blend of ink over paper, so a
// palette of the edge plus the blends matches each to within a few levels
// and keeps the files small.
QList<QRgb> facePalette() {
  constexpr int kBlends = 255;
  QList<QRgb> palette = {kFace.edge.rgb()};
  for (int step = 0; step < kBlends; ++step) {
    const double t = double(step) / (kBlends - 1);
    const auto mix = [t](int from, int to) { return qRound(from + (to - from) * t); };
    palette.append(qRgb(mix(kFace.paper.red(), kFace.ink.red()),
                        mix(kFace.paper.green(), kFace.ink.green()),
                        mix(kFace.paper.blue(), kFace.ink.blue())));
  }
  return palette;
}

const QList<QRgb> kBackPalette = {kBack.edge.rgb(), kBack.body.rgb()};

bool save(const QImage &image, const QList<QRgb> &palette, const QDir &dir,
          const QString &name) {
  const QString path = dir.filePath(name);
  QImageWriter writer(path, "png");
  writer.setQuality(0);  // strongest compression
  if (!writer.write(image.convertToFormat(QImage::Format_Indexed8, palette))) {
    fail(QStringLiteral("cannot write %1: %2").arg(path, writer.errorString()));
    return false;
  }
  return true;
}

std::optional<QDir> outputDir(const QString &path) {
  QDir dir(path);
  if (!dir.mkpath(QStringLiteral("."))) {
    fail(QStringLiteral("cannot create folder %1").arg(path));
    return std::nullopt;
  }
  return dir;
}

bool writeAll(const QDir &dir, const QFont &font, const QStringList &verses) {
  const QList<QRgb> palette = facePalette();
  for (int card = 0; card < kCardCount; ++card) {
    const QString name = QStringLiteral("karuta%1.png").arg(card);
    if (!save(cardFace(font, verses[card]), palette, dir, name)) return false;
  }
  return save(cardBack(), kBackPalette, dir, QStringLiteral("Green.png"));
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_cards OUTPUT_DIR\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const std::optional<QStringList> verses = lowerVerses();
  if (!verses) return 1;
  const std::optional<QFont> font = minchoFont(*verses);
  if (!font) return 1;
  const std::optional<QDir> dir = outputDir(QString::fromLocal8Bit(argv[1]));
  if (!dir) return 1;
  return writeAll(*dir, *font, *verses) ? 0 : 1;
}
