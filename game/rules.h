#pragma once

#include <cstdint>
#include <string>

// The rules of a round and of a game, apart from the window.
namespace karuta {

inline constexpr int64_t kRoundsPerGame = 10;
inline constexpr int64_t kCardsPerRound = 10;
inline constexpr int64_t kCardNumbers = 100;

// A double truncated toward zero; out of range it saturates, NaN gives 0.
int64_t Truncate(double value);

// Points of a right answer after seconds: 20 minus the time, truncated
// toward zero, negative without a floor.
int64_t PointsForTime(double seconds);

// The title the ladder gives a game's total.
std::string TitleForTotal(int64_t total);

// The three lines of the game-over message, joined by carriage returns.
std::string GameOverMessage(int64_t total, const std::string& title);

// The whole seconds since Start, as many characters of the poem as show.
int64_t RevealedCharacters(double seconds);

}  // namespace karuta
