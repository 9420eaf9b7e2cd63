// What the player sees: the game's windows read back from the screen (the X
// server's pixels on xcb, the platform's backing store offscreen) once the
// game's events are processed, against pictures the test draws itself.

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegion>
#include <QScreen>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>

#include "framework/text.h"
#include "game/message_window.h"
#include "screen.h"

namespace karuta {
namespace {

using testing::GameFixture;
using testing::Hex;
using testing::kHangMs;
using testing::NameOf;
using testing::ScreenOf;
using testing::Settled;
using testing::ShownControls;
// Per colour channel, between a picture the game scaled and the same picture
// the test scaled.
constexpr int kPictureTolerance = 2;

// The layout's colours and places, in window coordinates.
const QColor kOrange(0xFF, 0x90, 0x29);
const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kBlack(0, 0, 0);

constexpr QRect kFramePlaces[10] = {{21, 69, 90, 170},   {132, 67, 90, 170}, {241, 67, 90, 170},  {355, 69, 90, 170},
                                    {457, 67, 90, 170},  {21, 258, 90, 170}, {132, 258, 90, 170}, {241, 258, 90, 170},
                                    {355, 259, 90, 170}, {462, 259, 90, 170}};
constexpr QRect kCardPlaces[10] = {{31, 75, 70, 160},   {142, 73, 70, 160}, {251, 74, 70, 160},  {365, 75, 70, 160},
                                   {467, 73, 70, 160},  {31, 263, 70, 160}, {142, 264, 70, 160}, {251, 264, 70, 160},
                                   {365, 265, 70, 160}, {472, 265, 70, 160}};
constexpr QRect kQuestionPlace(145, 4, 280, 41);
constexpr QRect kVerdictPlace(404, 472, 100, 20);
constexpr QRect kTitlePlace(316, 483, 91, 20);

struct FieldPlace {
  const char* name;
  QRect place;
};
constexpr FieldPlace kNumberFields[] = {{"ScoreFiled", {55, 454, 60, 20}},
                                        {"TotalScoreField", {55, 482, 60, 20}},
                                        {"TimeField", {203, 455, 60, 20}},
                                        {"KaisuField", {325, 454, 60, 20}},
                                        {"HighScoreField", {203, 482, 60, 20}}};

// The message window's places, in its own coordinates.
constexpr QRect kMessagePlace(20, 14, 348, 52);
constexpr QRect kOKPlace(240, 71, 69, 22);

// Where the test puts the two windows, apart, so that on a real screen
// neither covers the other.
constexpr QPoint kGameWindowAt(0, 0);
constexpr QPoint kMessageWindowAt(600, 0);

std::string SizeOf(const QImage& image) { return std::to_string(image.width()) + "x" + std::to_string(image.height()); }

int ChannelDistance(QRgb a, QRgb b) {
  return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// How the region of the screen differs from the expected picture of it:
// empty when every channel of every pixel is within the tolerance. Pixels
// inside `skip` are not compared.
std::string Mismatch(const QImage& screen, const QRect& region, const QImage& expected, int tolerance = 0,
                     const QRect& skip = {}) {
  if (!screen.rect().contains(region)) return "the screen image does not reach the region";
  if (expected.size() != region.size()) return "the expected picture is not of the region's size";
  int compared = 0, differing = 0;
  QPoint first;
  QRgb shown = 0, wanted = 0;
  for (int y = region.top(); y <= region.bottom(); ++y)
    for (int x = region.left(); x <= region.right(); ++x) {
      const QPoint at(x, y);
      if (skip.contains(at)) continue;
      ++compared;
      const QRgb s = screen.pixel(at), e = expected.pixel(at - region.topLeft());
      if (ChannelDistance(s, e) <= tolerance) continue;
      if (differing++ == 0) first = at, shown = s, wanted = e;
    }
  if (differing == 0) return {};
  std::ostringstream out;
  out << differing << " of " << compared << " pixels differ, the first at (" << first.x() << ", " << first.y()
      << ") shows " << Hex(shown) << " where " << Hex(wanted) << " belongs";
  return out.str();
}

QImage Filled(QSize size, const QColor& colour) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// A picture of the application's, read from its file.
QImage Resource(const std::string& name) {
  return QImage(QString::fromStdString(fw::ResourceFolder() + "/" + name + ".png"));
}

// The whole picture smoothly scaled into the rectangle of the image.
void DrawWhole(QImage& onto, const QRect& into, const QImage& picture) {
  QPainter painter(&onto);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(into, picture);
}

// The expected picture of a control: a widget of the test's own with the
// control's font and the layout's colours, over the background the control
// sits on.
QImage Reference(QWidget* widget, QSize size, const QColor& background) {
  QWidget holder;
  QPalette palette = QApplication::palette();
  palette.setColor(QPalette::Window, background);
  palette.setColor(QPalette::WindowText, kBlack);
  palette.setColor(QPalette::Base, kWhite);
  palette.setColor(QPalette::Text, kBlack);
  holder.setPalette(palette);
  holder.setAutoFillBackground(true);
  holder.resize(size);
  widget->setParent(&holder);
  widget->setGeometry(QRect(QPoint(), size));
  return holder.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage FieldShowing(const QFont& font, const std::string& text, QSize size) {
  auto* field = new QLineEdit(QString::fromStdString(text));
  field->setFont(font);
  field->setCursorPosition(0);
  return Reference(field, size, kOrange);
}

// Lines break at carriage returns.
QImage LabelShowing(const QFont& font, const std::string& text, QSize size, const QColor& background) {
  auto* label = new QLabel(QString::fromStdString(text).replace('\r', '\n'));
  label->setFont(font);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setWordWrap(text.find('\r') != std::string::npos);
  return Reference(label, size, background);
}

QImage AreaShowing(const QFont& font, const std::string& text, QSize size) {
  auto* area = new QPlainTextEdit(QString::fromStdString(text));
  area->setFont(font);
  area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  return Reference(area, size, kOrange);
}

QImage ButtonShowing(const QFont& font, const std::string& caption, QSize size, const QColor& background) {
  auto* button = new QPushButton(QString::fromStdString(caption));
  button->setFont(font);
  button->setDefault(true);
  return Reference(button, size, background);
}

// A picture whose four quadrants differ in colour: a wrong source or
// destination rectangle, or a mirrored or partial draw, puts a colour in
// another quadrant or leaves one out.
struct Quadrant {
  const char* name;
  QColor colour;
};
const Quadrant kQuadrants[4] = {{"top-left", QColor(0xFF, 0, 0)},
                                {"top-right", QColor(0, 0, 0xFF)},
                                {"bottom-left", QColor(0xFF, 0xFF, 0)},
                                {"bottom-right", QColor(0, 0xFF, 0xFF)}};
constexpr QSize kQuadrantPictureSize(40, 60);
// Smooth scaling blends the colours this close to the lines between quadrants.
constexpr int kBlendBand = 4;

fw::Ref<fw::Picture> QuadrantPicture() {
  auto data = std::make_unique<fw::PictureData>();
  data->image = QImage(kQuadrantPictureSize, QImage::Format_ARGB32_Premultiplied);
  const int w = kQuadrantPictureSize.width() / 2, h = kQuadrantPictureSize.height() / 2;
  QPainter painter(&data->image);
  for (int q = 0; q < 4; ++q) painter.fillRect(q % 2 * w, q / 2 * h, w, h, kQuadrants[q].colour);
  painter.end();
  return std::make_shared<fw::Picture>(std::move(data));
}

// Quadrant q of a card, without the band where smooth scaling blends two quadrants.
QRect QuadrantOf(const QRect& card, int q) {
  const int w = card.width() / 2, h = card.height() / 2;
  const bool right = q % 2 == 1, bottom = q / 2 == 1;
  const QRect whole(card.left() + (right ? w : 0), card.top() + (bottom ? h : 0), w, h);
  return whole.adjusted(right ? kBlendBand : 0, bottom ? kBlendBand : 0, right ? 0 : -kBlendBand,
                        bottom ? 0 : -kBlendBand);
}

// The colours a part of the screen shows, most pixels first, named by their
// quadrant where they are one's.
std::string ColoursIn(const QImage& screen, const QRect& part) {
  std::map<std::string, int> counts;
  for (int y = part.top(); y <= part.bottom(); ++y)
    for (int x = part.left(); x <= part.right(); ++x) {
      const QRgb rgb = screen.pixel(x, y);
      std::string name = Hex(rgb);
      for (const Quadrant& q : kQuadrants)
        if (ChannelDistance(rgb, q.colour.rgb()) <= kPictureTolerance) name = std::string("the ") + q.name + " colour";
      ++counts[name];
    }
  std::vector<std::pair<int, std::string>> byCount;
  for (const auto& [name, count] : counts) byCount.push_back({count, name});
  std::sort(byCount.rbegin(), byCount.rend());
  std::string colours;
  for (size_t n = 0; n < std::min<size_t>(byCount.size(), 3); ++n)
    colours += (n ? ", " : "") + byCount[n].second + " (" + std::to_string(byCount[n].first) + " pixels)";
  return colours;
}

class ScreenTest : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    frame = window->Platform().frame;
    // No text control the test reads shows a cursor: the focus rests on 開始.
    fw::WidgetOf(*window->StartButton())->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame)) << "the game window never showed";
    frame->move(kGameWindowAt);
    green = Resource("Green");
    ASSERT_FALSE(green.isNull()) << "cannot read Green.png from " << fw::ResourceFolder();
  }

  QFont FontOf(const fw::Ref<fw::Control>& control) const {
    return fw::WidgetOf(*fw::Cast<fw::RectControl>(control))->font();
  }

  // The frame as it should show: Green over the whole frame and, unless the
  // card picture is null, that picture over the whole card.
  QImage FrameShowing(int i, const QImage& card) const {
    QImage frameImage = Filled(kFramePlaces[i].size(), kOrange);
    DrawWhole(frameImage, frameImage.rect(), green);
    if (!card.isNull()) DrawWhole(frameImage, kCardPlaces[i].translated(-kFramePlaces[i].topLeft()), card);
    return frameImage;
  }

  // What a card should show: a picture scaled whole, or with a null picture
  // its frame's Green, and the words a failure names it by.
  struct CardShows {
    QImage picture;
    std::string what;
  };

  // Each frame shows Green whole around its card, and each card what
  // card(i) gives.
  void ExpectTable(const QImage& screen, const std::function<CardShows(int)>& card) {
    for (int i = 0; i < 10; ++i) {
      const CardShows shows = card(i);
      const QImage expected = FrameShowing(i, shows.picture);
      EXPECT_EQ(Mismatch(screen, kFramePlaces[i], expected, kPictureTolerance, kCardPlaces[i]), "")
          << "frame " << i << " around its card does not show Green scaled whole to 90x170";
      EXPECT_EQ(Mismatch(screen, kCardPlaces[i], expected.copy(kCardPlaces[i].translated(-kFramePlaces[i].topLeft())),
                         kPictureTolerance),
                "")
          << "card " << i << " does not show " << shows.what;
    }
  }

  // Every pixel of the window that no shown control covers is the window's orange.
  void ExpectBareBackground(const QImage& screen) {
    QRegion bare(screen.rect());
    for (const auto& control : ShownControls(*window)) bare -= control.second;
    for (const QRect& part : bare)
      EXPECT_EQ(Mismatch(screen, part, Filled(part.size(), kOrange)), "")
          << "the window's background in " << part.x() << "," << part.y() << " " << part.width() << "x" << part.height()
          << " is not #ff9029";
  }

  void ExpectFields(const QImage& screen, const std::map<std::string, std::string>& texts) {
    for (const FieldPlace& field : kNumberFields) {
      const auto text = texts.find(field.name);
      ASSERT_NE(text, texts.end()) << field.name;
      EXPECT_EQ(Mismatch(screen, field.place,
                         FieldShowing(FontOf(window->ControlByName(field.name)), text->second, field.place.size())),
                "")
          << field.name << " does not show \"" << text->second << "\"";
    }
  }

  void ExpectQuestion(const QImage& screen, const std::string& text) {
    EXPECT_EQ(Mismatch(screen, kQuestionPlace, AreaShowing(FontOf(window->OdaiField()), text, kQuestionPlace.size())),
              "")
        << "the question area does not show \"" << text << "\" on white";
  }

  // The label's place shows the text, or only the orange when the text is empty.
  void ExpectLabel(const QImage& screen, const fw::Ref<fw::Control>& label, const QRect& place,
                   const std::string& text) {
    EXPECT_EQ(Mismatch(screen, place, LabelShowing(FontOf(label), text, place.size(), kOrange)), "")
        << label->Name() << " at its place does not show \"" << text << "\"";
  }

  testing::SteadyLook look;  // before the window, which it must not repaint
  QWidget* frame = nullptr;
  QImage green;
};

TEST_F(ScreenTest, TheOpeningWindowShowsGreenFramesAndCardsOnOrangeAndAnEmptyPanel) {
  const QImage screen = Settled(*window);
  ASSERT_EQ(SizeOf(screen), "570x510") << "the screen image is the window's content, the menu bar hidden";
  ExpectBareBackground(screen);
  ExpectTable(screen, [&](int) { return CardShows{green, "Green scaled whole to 70x160"}; });
  ExpectQuestion(screen, "");
  ExpectFields(screen, {{"ScoreFiled", "0"}, {"TotalScoreField", "0"}, {"TimeField", ""}, {"KaisuField", "0"},
                        {"HighScoreField", "0"}});
  ExpectLabel(screen, window->ShogoText(), kTitlePlace, "なし");
  ExpectLabel(screen, window->Label1(), kVerdictPlace, "");
}

TEST_F(ScreenTest, StartPutsEachDealtCardsPictureWholeOnItsPlace) {
  for (const char* round : {"1", "2"}) {
    SCOPED_TRACE(std::string("round ") + round);
    PressStart();
    const QImage screen = Settled(*window);
    ExpectTable(screen, [&](int i) {
      const std::string name = "karuta" + std::to_string(window->FudaNum[i]);
      const QImage picture = Resource(name);
      EXPECT_FALSE(picture.isNull()) << "cannot read " << name;
      return CardShows{picture, name + " scaled whole to 70x160"};
    });
    ExpectFields(screen, {{"ScoreFiled", "0"}, {"TotalScoreField", "0"}, {"TimeField", ""}, {"KaisuField", round},
                          {"HighScoreField", "0"}});
    ExpectQuestion(screen, "");
    ExpectLabel(screen, window->Label1(), kVerdictPlace, "");
  }
}

TEST_F(ScreenTest, EachQuadrantOfACardsPictureLandsInTheSameQuadrantOfTheCard) {
  SetPictureOpener(
      [](const std::string& name) { return name == "Green" ? fw::Picture::OpenFromApp(name) : QuadrantPicture(); });
  PressStart();
  const QImage screen = Settled(*window);
  for (int i = 0; i < 10; ++i)
    for (int q = 0; q < 4; ++q) {
      const QRect part = QuadrantOf(kCardPlaces[i], q);
      EXPECT_EQ(Mismatch(screen, part, Filled(part.size(), kQuadrants[q].colour), kPictureTolerance), "")
          << "card " << i << ", " << kQuadrants[q].name << " quadrant shows " << ColoursIn(screen, part);
    }
  ExpectTable(screen, [](int) {
    return CardShows{QuadrantPicture()->Data().image, "the four-colour picture scaled whole"};
  });
}

TEST_F(ScreenTest, AClickShowsThePoemTheVerdictAndTheRepaintedScores) {
  struct Case {
    bool right;
    double seconds;
    const char* verdict;
    std::map<std::string, std::string> fields;
  };
  const Case kCases[] = {
      {true, 3.0, "正解",
       {{"ScoreFiled", "17"}, {"TotalScoreField", "17"}, {"TimeField", "3"}, {"KaisuField", "1"},
        {"HighScoreField", "17"}}},
      {false, 4.5, "ハズレ",
       {{"ScoreFiled", "0"}, {"TotalScoreField", "17"}, {"TimeField", "4.5"}, {"KaisuField", "2"},
        {"HighScoreField", "17"}}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.verdict);
    PressStart();
    const std::string poem = window->OdaiString[window->OdaiNum];
    clock->Advance(2.0);
    Tick();
    ExpectQuestion(Settled(*window), fw::Left(poem, 2));
    clock->Advance(c.seconds - 2.0);
    ClickCard(c.right ? QuestionPlace() : WrongPlace());
    const QImage screen = Settled(*window);
    ExpectQuestion(screen, poem);
    ExpectLabel(screen, window->Label1(), kVerdictPlace, c.verdict);
    ExpectFields(screen, c.fields);
  }
}

TEST_F(ScreenTest, AGameOverClearsTheCardsAndShowsTheMessageAndTheTitle) {
  // As a player plays: the screen shows each deal before the click, so that
  // no pending repaint of the deal covers the game over's.
  for (int round = 1; round <= 10; ++round) {
    SCOPED_TRACE(round);
    PressStart();
    Settled(*window);
    clock->Advance(3.0);
    ClickCard(QuestionPlace());
    if (round < 10) Settled(*window);
    if (HasFailure()) return;
  }
  auto message = fw::Cast<class MessageWindow>(fw::GetImplicitWindow(MessageWindow::kClassName));
  ASSERT_TRUE(message) << "no message window after the tenth round";
  QWidget* messageFrame = message->Platform().frame;
  ASSERT_TRUE(QTest::qWaitForWindowExposed(messageFrame)) << "the message window never showed";
  messageFrame->move(kMessageWindowAt);
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return !messageFrame->frameGeometry().intersects(frame->frameGeometry()); }, kHangMs))
      << "the message window stays over the game window";

  const QImage shown = Settled(*message);
  ASSERT_EQ(SizeOf(shown), "388x100");
  const QColor background = messageFrame->palette().window().color();
  EXPECT_EQ(Mismatch(shown, kMessagePlace,
                     LabelShowing(FontOf(message->Message()),
                                  "ゲーム終了です。\rあなたの総得点は170です。\rあなたの称号は大歌聖です。",
                                  kMessagePlace.size(), background)),
            "")
      << "the message window does not show the three lines";
  EXPECT_EQ(Mismatch(shown, kOKPlace, ButtonShowing(FontOf(message->OKButton()), "OK", kOKPlace.size(), background)),
            "")
      << "the message window does not show its OK button";

  const QImage screen = Settled(*window);
  ExpectTable(screen, [](int) { return CardShows{{}, "its frame's Green through it: the card keeps a picture"}; });
  ExpectQuestion(screen, "");
  ExpectLabel(screen, window->ShogoText(), kTitlePlace, "大歌聖");
  ExpectLabel(screen, window->Label1(), kVerdictPlace, "正解");
  ExpectBareBackground(screen);
}

}  // namespace
}  // namespace karuta
