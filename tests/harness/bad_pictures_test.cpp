// Damaged picture files, end to end: the game plays a whole game from a
// resource folder with broken pictures, and a card whose picture is bad draws
// nothing, so what lies beneath it shows.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <set>

#include "game/message_window.h"
#include "png_fixture.h"
#include "support.h"

namespace karuta {
namespace {

using testing::ClaimingHugeSize;
using testing::GameFixture;

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// How a picture file is damaged; false when the damage could not be done.
struct Damage {
  const char* name;  // picture name
  const char* what;
  std::function<bool(const QString& path)> apply;
};

const Damage kRemoved0{"karuta0", "removed", [](const QString& p) { return QFile::remove(p); }};
const Damage kRemoved19{"karuta19", "removed", [](const QString& p) { return QFile::remove(p); }};
const Damage kRemoved99{"karuta99", "removed", [](const QString& p) { return QFile::remove(p); }};
const Damage kEmpty{"karuta23", "empty", [](const QString& p) { return WriteAll(p, {}); }};
const Damage kTruncated{"karuta36", "cut in the middle of its image data", [](const QString& p) {
                          const QByteArray png = ReadAll(p);
                          return WriteAll(p, png.left(png.size() / 2));
                        }};
const Damage kHeaderOnly{"karuta64", "cut after its header", [](const QString& p) { return WriteAll(p, ReadAll(p).left(33)); }};
const Damage kText{"karuta45", "text", [](const QString& p) { return WriteAll(p, "not a picture\n"); }};
const Damage kHuge{"karuta57", "header claims 30000 x 30000",
                   [](const QString& p) { return WriteAll(p, ClaimingHugeSize(ReadAll(p))); }};
const Damage kFolder{"karuta71", "a folder in its place",
                     [](const QString& p) { return QFile::remove(p) && QDir().mkdir(p); }};
const Damage kGreenText{"Green", "text", [](const QString& p) { return WriteAll(p, "GIF89a"); }};

struct Scenario {
  const char* name;
  std::vector<Damage> damages;
  bool emptyFolder = false;  // no picture is copied at all
};

const Scenario kScenarios[] = {
    {"CardsDamagedEveryWay",
     {kRemoved0, kRemoved19, kRemoved99, kEmpty, kTruncated, kHeaderOnly, kText, kHuge, kFolder}},
    {"GreenAndSomeCardsDamaged", {kGreenText, kRemoved0, kHuge, kTruncated}},
    {"NoPicturesAtAll", {}, true},
};

void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

constexpr QRgb kWindowOrange = 0xFF9029;

// The share of a square patch around the point (9 x 9 by default) that is
// within a few levels of the colour.
double Share(const QImage& shot, QPoint centre, QColor colour, int radius = 4) {
  int near = 0, all = 0;
  for (int dy = -radius; dy <= radius; ++dy)
    for (int dx = -radius; dx <= radius; ++dx) {
      const QColor c = shot.pixelColor(centre + QPoint(dx, dy));
      ++all;
      near += std::abs(c.red() - colour.red()) <= 6 && std::abs(c.green() - colour.green()) <= 6 &&
              std::abs(c.blue() - colour.blue()) <= 6;
    }
  return double(near) / all;
}

// The colour most of the picture is: a card's paper, the green's body.
QColor MostCommon(const QImage& image) {
  std::map<QRgb, int> counts;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y)];
  auto most = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; });
  return QColor::fromRgb(most->first);
}

std::string Name(const QColor& c) { return c.name().toStdString(); }

class BadPicturesTest : public GameFixture, public ::testing::WithParamInterface<Scenario> {
 protected:
  void SetUp() override {
    RuntimeFixture::SetUp();
    fw::SetResourceFolder("");
    const QDir original(QString::fromStdString(fw::ResourceFolder()));
    ASSERT_TRUE(folder.isValid());
    const QStringList pictures = original.entryList({"*.png"}, QDir::Files);
    ASSERT_EQ(pictures.size(), 101) << "in " << original.path().toStdString();
    for (const QString& picture : GetParam().emptyFolder ? QStringList() : pictures) {
      ASSERT_TRUE(QFile::copy(original.filePath(picture), folder.filePath(picture))) << picture.toStdString();
      QFile::setPermissions(folder.filePath(picture), QFile::ReadOwner | QFile::WriteOwner);  // installed copies are read-only
    }
    for (const Damage& damage : GetParam().damages) {
      ASSERT_TRUE(damage.apply(folder.filePath(QString(damage.name) + ".png"))) << damage.name << " " << damage.what;
      bad.insert(damage.name);
    }
    greenBad = GetParam().emptyFolder || bad.count("Green") > 0;
    fw::SetResourceFolder(folder.path().toStdString());
    ResetPictureStore();
    window = KarutaWindow();
    content = window->Platform().content;
    beneath = greenBad ? QColor(kWindowOrange) : MostCommon(Green()->Data().image);
  }

  void TearDown() override {
    fw::SetResourceFolder("");
    GameFixture::TearDown();
  }

  bool CardBad(int64_t card) const {
    return GetParam().emptyFolder || bad.count("karuta" + std::to_string(card)) > 0;
  }

  QImage Shot() const {
    QImage shot = content->grab().toImage();
    shot.setDevicePixelRatio(1);  // pixels, for the places below
    return shot;
  }
  QPoint Scaled(const QImage& shot, QPoint at) const {
    const double ratio = double(shot.width()) / content->width();
    return QPoint(int(at.x() * ratio), int(at.y() * ratio));
  }
  QPoint CardCentre(int64_t place) const {
    QWidget* card = fw::WidgetOf(*window->FudaCanvas(place));
    return card->mapTo(content, QPoint(card->width() / 2, card->height() / 2));
  }
  // A point of the frame's left margin, clear of its edge.
  QPoint FrameMargin(int64_t place) const {
    return fw::WidgetOf(*window->CardCanvas(place))->mapTo(content, QPoint(5, 85));
  }

  // Every place of the deal: nil backdrop and the colour beneath for a bad
  // card, the card's face for a good one; the frame itself as its picture allows.
  void ExpectTheDealDrawn(const char* when) {
    SCOPED_TRACE(when);
    const QImage shot = Shot();
    for (int64_t place = 0; place < 10; ++place) {
      const int64_t card = window->FudaNum[place];
      SCOPED_TRACE("place " + std::to_string(place) + ", card " + std::to_string(card));
      const QPoint centre = Scaled(shot, CardCentre(place));
      const fw::Ref<fw::Picture>& backdrop = window->FudaCanvas(place)->Backdrop();
      EXPECT_EQ(Share(shot, Scaled(shot, FrameMargin(place)), beneath, 1), 1.0) << "the frame shows " << Name(beneath);
      if (CardBad(card)) {
        EXPECT_FALSE(backdrop);
        EXPECT_EQ(Share(shot, centre, beneath), 1.0)
            << "a bad card draws nothing: " << Name(shot.pixelColor(centre)) << ", not " << Name(beneath);
      } else {
        ASSERT_TRUE(backdrop);
        EXPECT_EQ(backdrop->Width(), 140);
        const QColor face = MostCommon(backdrop->Data().image);
        // The ink of the verse covers much of the centre; the rest is paper.
        EXPECT_GE(Share(shot, centre, face), 0.1) << "the face " << Name(face) << ", here " << Name(shot.pixelColor(centre));
        EXPECT_EQ(Share(shot, centre, beneath), 0.0);
      }
    }
  }

  QTemporaryDir folder;
  std::set<std::string> bad;
  bool greenBad = false;
  QWidget* content = nullptr;
  QColor beneath;
};

TEST_P(BadPicturesTest, AWholeGamePlaysAndBadCardsDrawNothing) {
  EXPECT_EQ(bool(Green()), !greenBad);
  for (int64_t place = 0; place < 10; ++place) EXPECT_EQ(bool(window->FudaCanvas(place)->Backdrop()), !greenBad);
  const QImage before = Shot();
  EXPECT_EQ(Share(before, Scaled(before, CardCentre(4)), beneath), 1.0) << "before a deal the cards show the green";

  for (int round = 1; round <= 10; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    PressStart();
    clock->Advance(2.0);
    Tick();
    ExpectTheDealDrawn("dealt");
    const int64_t place = QuestionPlace();
    ASSERT_GE(place, 0);
    ClickCard(place);
    ASSERT_EQ(window->MyPoint, 18);
  }

  EXPECT_EQ(NewUnhandledExceptions(), 0);
  EXPECT_EQ(window->shogo, "大歌聖");
  EXPECT_TRUE(fw::GetImplicitWindow(MessageWindow::kClassName)) << "the game ended with its message";
  const QImage after = Shot();
  for (int64_t place = 0; place < 10; ++place) {
    EXPECT_FALSE(window->FudaCanvas(place)->Backdrop());
    EXPECT_EQ(Share(after, Scaled(after, CardCentre(place)), beneath), 1.0) << "cleared place " << place;
  }
}

INSTANTIATE_TEST_SUITE_P(Damage, BadPicturesTest, ::testing::ValuesIn(kScenarios),
                         [](const ::testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace karuta
