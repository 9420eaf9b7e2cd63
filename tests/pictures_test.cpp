// The picture store, the committed pictures, the card canvases and the card table.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <map>
#include <set>

#include "png_fixture.h"
#include "support.h"

namespace karuta {
namespace {

using testing::GameFixture;
using testing::RuntimeFixture;

fw::Ref<fw::Picture> MakePicture(int width, int height, QColor colour) {
  auto data = std::make_unique<fw::PictureData>();
  data->image = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
  data->image.fill(colour);
  return std::make_shared<fw::Picture>(std::move(data));
}

// An opener that counts its calls by name and answers as told.
struct ScriptedOpener {
  enum class Answer { Picture, Nil, Raise };
  std::map<std::string, int> opens;
  std::map<std::string, Answer> answers;  // a picture unless told otherwise

  PictureOpener Install() {
    return [this](const std::string& name) -> fw::Ref<fw::Picture> {
      ++opens[name];
      switch (answers.count(name) ? answers[name] : Answer::Picture) {
        case Answer::Nil: return {};
        case Answer::Raise: throw fw::RuntimeException("cannot open " + name);
        case Answer::Picture: break;
      }
      return MakePicture(4, 4, Qt::red);
    };
  }
};

class PictureStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPictureStore();
    SetPictureOpener(opener.Install());
  }
  void TearDown() override {
    SetPictureOpener(nullptr);
    ResetPictureStore();
  }
  ScriptedOpener opener;
};

TEST_F(PictureStoreTest, AHeldPictureIsHandedOutAgainWithoutOpening) {
  auto first = karuta7();
  auto second = karuta7();
  ASSERT_TRUE(first);
  EXPECT_EQ(first, second);
  EXPECT_EQ(opener.opens["karuta7"], 1);
}

TEST_F(PictureStoreTest, NilOrARaiseLeavesTheNameWaitingAndTheOthersAlone) {
  opener.answers["karuta3"] = ScriptedOpener::Answer::Nil;
  opener.answers["karuta4"] = ScriptedOpener::Answer::Raise;
  EXPECT_FALSE(karuta3());
  EXPECT_FALSE(karuta3());
  EXPECT_THROW(karuta4(), fw::RuntimeException);
  EXPECT_THROW(karuta4(), fw::RuntimeException);
  EXPECT_EQ(opener.opens["karuta3"], 2) << "nil is not remembered";
  EXPECT_EQ(opener.opens["karuta4"], 2) << "an exception is not remembered";
  EXPECT_TRUE(karuta5());

  opener.answers.clear();
  auto later = karuta3();
  EXPECT_TRUE(later);
  EXPECT_EQ(karuta3(), later);
  EXPECT_EQ(opener.opens["karuta3"], 3) << "held from the first open that yields a picture";
}

TEST_F(PictureStoreTest, NamesAreNotPadded) {
  karuta0();
  karuta9();
  karuta10();
  karuta99();
  Green();
  EXPECT_EQ((std::set<std::string>{"karuta0", "karuta9", "karuta10", "karuta99", "Green"}),
            [&] {
              std::set<std::string> names;
              for (const auto& [name, count] : opener.opens) names.insert(name);
              return names;
            }());
}

class OpeningPicturesTest : public RuntimeFixture {};

TEST_F(OpeningPicturesTest, OnlyTheFirstOfTheTwentyCanvasesOpensGreen) {
  ScriptedOpener opener;
  SetPictureOpener(opener.Install());
  auto window = KarutaWindow();
  EXPECT_EQ(opener.opens["Green"], 1);
  EXPECT_EQ(opener.opens.size(), 1u) << "no card picture is opened before it is dealt";
  auto green = Green();
  for (int64_t i = 0; i < 10; ++i) {
    EXPECT_EQ(window->CardCanvas(i)->Backdrop(), green) << i;
    EXPECT_EQ(window->FudaCanvas(i)->Backdrop(), green) << i;
  }
}

TEST_F(OpeningPicturesTest, WithoutGreenTheCanvasesDrawNothingAndTheGameGoesOn) {
  ScriptedOpener opener;
  opener.answers["Green"] = ScriptedOpener::Answer::Nil;
  SetPictureOpener(opener.Install());
  auto window = KarutaWindow();
  EXPECT_FALSE(window->CardCanvas(0)->Backdrop());
  EXPECT_EQ(opener.opens["Green"], 20) << "every canvas asks again";
  QImage shot = window->Platform().content->grab().toImage();
  EXPECT_EQ(shot.pixelColor(66, 154), QColor(0xFF, 0x90, 0x29)) << "the window's orange shows through";
}

class CardTableTest : public GameFixture {};

TEST_F(CardTableTest, PutsTheCardsPictureOnItsPlaceOnly) {
  auto frame = window->CardCanvas(4)->Backdrop();
  const std::pair<int64_t, PictureAccessor> kEntries[] = {{0, karuta0}, {99, karuta99}, {37, karuta37}};
  for (const auto& [k, accessor] : kEntries) {
    window->FudaNum[4] = k;
    window->Fuda(4);
    ASSERT_TRUE(window->FudaCanvas(4)->Backdrop()) << k;
    EXPECT_EQ(window->FudaCanvas(4)->Backdrop(), accessor()) << k;
  }
  EXPECT_EQ(window->CardCanvas(4)->Backdrop(), frame) << "the frame keeps its picture";
  for (int64_t outside : {-1, 100, 1000}) {
    window->FudaNum[4] = outside;
    window->Fuda(4);
    EXPECT_EQ(window->FudaCanvas(4)->Backdrop(), karuta37()) << outside;
  }
  window->FudaNum[5] = 37;
  window->Fuda(5);
  EXPECT_EQ(window->FudaCanvas(5)->Backdrop(), window->FudaCanvas(4)->Backdrop()) << "one picture per name";
}

TEST_F(CardTableTest, ABackdropOfAnySizeFillsItsCanvasExactly) {
  auto card = window->FudaCanvas(0);
  card->Backdrop(MakePicture(100, 100, Qt::red));
  QImage shot = WidgetOf(card)->grab().toImage();
  ASSERT_EQ(shot.size(), QSize(70, 160));
  for (QPoint corner : {QPoint(0, 0), QPoint(69, 0), QPoint(0, 159), QPoint(69, 159), QPoint(35, 80)})
    EXPECT_EQ(shot.pixelColor(corner), QColor(Qt::red)) << corner.x() << "," << corner.y();
  card->Backdrop(nullptr);
  shot = window->Platform().content->grab().toImage();
  EXPECT_EQ(shot.pixelColor(66, 154), window->CardCanvas(0)->Backdrop()->Data().image.pixelColor(70, 160))
      << "a card without a backdrop shows its frame";
}

// The committed pictures, read as the program reads them.
TEST(CommittedPicturesTest, EveryPictureLoadsAndNoTwoCardsAreAlike) {
  std::set<QByteArray> seen;
  for (int k = 0; k < 100; ++k) {
    auto picture = fw::Picture::OpenFromApp("karuta" + std::to_string(k));
    ASSERT_TRUE(picture) << k;
    EXPECT_EQ(picture->Width(), 140);
    EXPECT_EQ(picture->Height(), 320);
    const QImage& image = picture->Data().image;
    EXPECT_TRUE(seen.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes())).second)
        << "karuta" << k << " repeats another card";
  }
  auto green = fw::Picture::OpenFromApp("Green");
  ASSERT_TRUE(green);
  EXPECT_GT(green->Width(), 0);
}

// Damaged picture files yield nil and never raise.
class DamagedPicturesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    fw::SetResourceFolder(folder.path().toStdString());
  }
  void TearDown() override { fw::SetResourceFolder(""); }

  void Write(const char* name, const QByteArray& bytes) {
    QFile file(folder.filePath(QString(name) + ".png"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QByteArray ValidPng() {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
  }
  QTemporaryDir folder;
};

TEST_F(DamagedPicturesTest, YieldNilForEveryKindOfDamage) {
  const QByteArray good = ValidPng();
  Write("empty", "");
  Write("truncated", good.left(good.size() / 2));
  Write("text", "this is not a picture\n");
  Write("huge", testing::ClaimingHugeSize(good));
  Write("good", good);
  for (const char* name : {"missing", "empty", "truncated", "text", "huge"})
    EXPECT_FALSE(fw::Picture::OpenFromApp(name)) << name;
  EXPECT_TRUE(fw::Picture::OpenFromApp("good"));
  for (const char* name : {"", "../good", "good.png", "go od", "ｇood"})
    EXPECT_FALSE(fw::Picture::OpenFromApp(name)) << "a name of letters and digits only: " << name;
}

}  // namespace
}  // namespace karuta
