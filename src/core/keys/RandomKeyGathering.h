#pragma once
// What the random-key window does with pointer movements and its 250 ms samples, apart from the
// window: one key character per sample that finds the pointer moved, and the progress text.
//
// Each character keeps the ritual of the movement (a value formed from the pointer position and
// the clock's hundredths) but takes its strength from libsodium's random source: the two are added
// modulo the 223 possible codes, so the character is uniform whatever the movement was.

#include <QString>
#include <QTime>
#include <cstdint>

#include "core/keys/SecureBytes.h"

namespace kyv {

// Codes 33 to 255: every character above the space.
inline constexpr int kRandomKeyLowestCode = 33;
inline constexpr int kRandomKeyCodeCount = 223;
inline constexpr int kRandomKeyLength = 64;
inline constexpr int kRandomKeySampleMilliseconds = 250;
// The progress text: 63 underscores, one turned into a solid block per sample; the 64th sample
// appends the 64th block.
inline constexpr int kRandomKeyProgressUnderscores = 63;
inline constexpr char16_t kProgressBlock = u'\u2588';

// The hundredths of the second (0 to 100) at `timeOfDay`, as seconds since midnight in single
// precision give them, rounded half to even.
[[nodiscard]] int HundredthsOfSecond(const QTime& timeOfDay);

// The code of one key character (33 to 255) from a sample at pointer position (x, y) in hundredths
// `hundredths`, mixed with `randomValue` (0 to 222, uniform). Any position, however far outside
// the window, gives a code in range: the product is formed in 64 bits and its remainder taken
// non-negative.
[[nodiscard]] unsigned char RandomKeyCharacter(std::int64_t x, std::int64_t y, int hundredths,
                                               std::uint32_t randomValue);

class RandomKeyGathering {
public:
    // A fresh key: no characters, the progress text of underscores, and the current position
    // taken as sampled, so that the first character needs a new movement.
    void Start();
    // The pointer moved to (x, y), in the window's coordinates (twips).
    void PointerMoved(std::int64_t x, std::int64_t y);
    // A key was pressed: it counts as a movement for the next sample, its code mixed into the
    // position the character is formed from, so that a key can be made without a mouse.
    void KeyPressed(int keyCode);
    // One sample at `timeOfDay`: adds a character when the pointer moved or a key was pressed since
    // the last sample and the key is not complete yet. True when it added one.
    bool Sample(const QTime& timeOfDay);

    [[nodiscard]] bool Complete() const { return key_.size() >= static_cast<std::size_t>(kRandomKeyLength); }
    [[nodiscard]] const QString& Progress() const { return progress_; }
    [[nodiscard]] std::size_t Gathered() const { return key_.size(); }
    // The characters gathered so far, moved out (the gathering then holds none). Fewer than 64
    // when the window was closed early: such a key is never to be used.
    [[nodiscard]] SecureBytes TakeKey();

private:
    SecureBytes key_;
    QString progress_;
    std::int64_t currentX_ = 0;
    std::int64_t currentY_ = 0;
    std::int64_t sampledX_ = 0;
    std::int64_t sampledY_ = 0;
    // The code of a key pressed since the last sample, if any.
    std::int64_t pendingKey_ = 0;
    bool keyPending_ = false;
};

}  // namespace kyv
