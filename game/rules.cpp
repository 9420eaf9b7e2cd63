#include "game/rules.h"

#include <cmath>
#include <limits>

#include "framework/text.h"

namespace karuta {
namespace {

struct Rung {
  int64_t threshold;
  const char* title;
};

// Tried from the top: the first threshold at or below the total gives the title.
constexpr Rung kTitleLadder[] = {
    {170, "大歌聖"}, {160, "歌聖"},   {150, "六歌仙"}, {140, "三十六歌仙"}, {130, "左大臣"},
    {120, "右大臣"}, {110, "大納言"}, {80, "中納言"},  {40, "さきもり"},
};
constexpr const char* kTitleBelowLadder = "詠み人知らず";

}  // namespace

int64_t Truncate(double value) {
  constexpr double kLimit = 9.2e18;  // inside the range of int64_t
  if (std::isnan(value)) return 0;
  if (value >= kLimit) return std::numeric_limits<int64_t>::max();
  if (value <= -kLimit) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(value);
}

int64_t PointsForTime(double seconds) { return Truncate(20.0 - seconds); }

std::string TitleForTotal(int64_t total) {
  for (const Rung& rung : kTitleLadder)
    if (rung.threshold <= total) return rung.title;
  return kTitleBelowLadder;
}

std::string GameOverMessage(int64_t total, const std::string& title) {
  const std::string lineBreak = fw::Chr(13);
  return "ゲーム終了です。" + lineBreak + "あなたの総得点は" + fw::Str(total) + "です。" + lineBreak + "あなたの称号は" +
         title + "です。";
}

int64_t RevealedCharacters(double seconds) { return Truncate(seconds); }

}  // namespace karuta
