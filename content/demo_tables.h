#pragma once

// The bundled demo game's tables, in one place: the generator writes Kiv.txt, the pictures and
// the sounds from them, and the content tests read the generated folder back against them.
// Self-contained on purpose (no project headers), so both sides can include it.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kiv::demo {

inline constexpr int kStages = 10;

// ---- The character: the same child in every stage, standing right of centre. ----
inline constexpr int kHeadX = 420, kHeadY = 130;     // centre of the face
inline constexpr int kGuardRadius = 70;              // no erasing around the face
inline constexpr int kTextX = 16, kTextY = 64;       // speech origin; the tag sits on it
inline constexpr int kRefillX = 56, kRefillY = 340;  // the ink pot, also in the 580 x 380 window
inline constexpr int kTextRight = 336;               // speech rows stay left of this
inline constexpr int kTextBottom = 140;              // and above this (four rows)

// Cels: the screen point (x, y) is the cel point (x - kCelLeft, y - kCelTop).
inline constexpr int kCelLeft = 388, kCelTop = 122, kCelWidth = 64, kCelHeight = 56;
struct Rect {
    int16_t L, T, R, B;
};
inline constexpr Rect kEyeLeft{393, 128, 411, 148};
inline constexpr Rect kEyeRight{429, 128, 447, 148};
inline constexpr Rect kMouth{404, 153, 436, 173};

// ---- One row per stage. ----
struct StageDesign {
    const char* name;                  // a word for the comments and the guide
    int16_t spread;                    // f0: stroke spread
    uint8_t speechColour;              // 0 black, 1 white, 2 grey
    uint8_t stroke0, stroke1, refill;  // effect numbers for slots 0..2
    uint8_t celSet, stamp, back, picture;
    std::array<uint8_t, 4> decorations;
    uint8_t carryOver;  // w7 mod 10
    uint8_t bonusCels;  // w7 div 10
    Rect bonus;         // w9..w12, zero = none
    Rect insert;        // w13..w16, zero = none
    bool maskFile;      // "D" + NN + "mask" beside a JPEG picture; else a BMP with a derived mask
    uint8_t musicSingle, musicChallenge;
};

inline constexpr std::array<StageDesign, kStages> kStageDesigns{{
    {"park", 0, 0, 1, 2, 3, 1, 1, 1, 1, {0, 0, 0, 0}, 0, 0, {0, 0, 0, 0}, {0, 0, 0, 0}, false, 2, 5},
    {"seaside", 1, 0, 10, 11, 12, 2, 2, 2, 2, {0, 0, 0, 0}, 0, 0, {0, 0, 0, 0}, {0, 0, 0, 0}, true, 3, 5},
    {"garden", 0, 2, 1, 2, 3, 3, 1, 3, 3, {0, 0, 0, 0}, 1, 0, {0, 0, 0, 0}, {150, 318, 250, 398}, false, 2, 5},
    {"snow", 2, 2, 10, 11, 12, 4, 3, 4, 4, {0, 0, 0, 0}, 0, 11, {24, 150, 264, 330}, {0, 0, 0, 0}, false, 3, 5},
    {"circus", 1, 1, 1, 2, 3, 5, 2, 5, 5, {21, 0, 0, 0}, 0, 0, {0, 0, 0, 0}, {0, 0, 0, 0}, true, 2, 6},
    {"night", 0, 1, 10, 11, 12, 6, 3, 6, 6, {22, 0, 0, 0}, 0, 0, {0, 0, 0, 0}, {0, 0, 0, 0}, false, 3, 6},
    {"sea", 1, 1, 1, 2, 12, 7, 1, 7, 7, {0, 0, 0, 0}, 0, 0, {0, 0, 0, 0}, {0, 0, 0, 0}, true, 2, 6},
    {"party", -1, 0, 10, 11, 3, 8, 2, 8, 8, {21, 22, 0, 0}, 0, 0, {24, 150, 264, 330}, {0, 0, 0, 0}, false, 3, 6},
    {"castle", 0, 0, 1, 2, 3, 9, 3, 9, 9, {0, 0, 0, 0}, 0, 0, {0, 0, 0, 0}, {0, 0, 0, 0}, false, 2, 6},
    {"finale", 1, 1, 10, 11, 12, 10, 1, 10, 10, {22, 0, 0, 0}, 2, 0, {0, 0, 0, 0}, {0, 0, 0, 0}, true, 4, 4},
}};

inline constexpr uint8_t kBonusCelSet = 11;  // the star-eyed cels of the snow stage's bonus

// Decoration pictures ("D" + NN, composed into the background).
inline constexpr uint8_t kBunting = 21, kSparkles = 22;

// ---- FaceTable: f0, then the cel offset and the three face rectangles. ----
inline constexpr std::array<int16_t, 15> FaceRow(int16_t spread) {
    return {spread,      kCelLeft,    kCelTop,     kEyeLeft.L, kEyeLeft.T, kEyeLeft.R, kEyeLeft.B, kEyeRight.L,
            kEyeRight.T, kEyeRight.R, kEyeRight.B, kMouth.L,   kMouth.T,   kMouth.R,   kMouth.B};
}

// ---- StageLayout: w0..w16 per stage. ----
inline constexpr std::array<int16_t, 17> LayoutRow(const StageDesign& d) {
    return {kHeadX,    kHeadY,     kGuardRadius, kTextX,
            kTextY,    kRefillX,   kRefillY,     static_cast<int16_t>(d.bonusCels * 10 + d.carryOver),
            0,         d.bonus.L,  d.bonus.T,    d.bonus.R,
            d.bonus.B, d.insert.L, d.insert.T,   d.insert.R,
            d.insert.B};
}

// Record 10: the ending. End2 is a 116 x 48 blink over the big face, End3 a 48 x 48 twinkle.
inline constexpr Rect kEndWink{262, 172, 378, 220};
inline constexpr Rect kEndStar{500, 60, 548, 108};
inline constexpr std::array<int16_t, 17> kEndingLayout{116, 48, kEndWink.L, kEndWink.T, kEndWink.R, kEndWink.B,
                                                       48,  48, kEndStar.L, kEndStar.T, kEndStar.R, kEndStar.B,
                                                       0,   0,  0,          0,          0};

// ---- StageParams: byte 0 is the next scene minus 1; stage 10 leads to scene 12. ----
inline constexpr std::array<uint8_t, 13> ParamsRow(int s, const StageDesign& d) {
    return {static_cast<uint8_t>(s + 2),
            d.speechColour,
            d.stroke0,
            d.stroke1,
            d.refill,
            d.celSet,
            d.stamp,
            d.back,
            d.picture,
            d.decorations[0],
            d.decorations[1],
            d.decorations[2],
            d.decorations[3]};
}

// Effect slots 0..8 (0..2 are replaced by each stage's own numbers).
inline constexpr std::array<uint8_t, 9> kSoundNumbers{1, 2, 3, 4, 5, 6, 7, 8, 9};
inline constexpr int kEffectFiles = 12;  // Q01 .. Q12

// ---- Reaction zones: A tummy, B chest, C knees (fixed radii), D the left hand, E the feet. ----
inline constexpr std::array<int16_t, 12> kSpots{420, 268, 420, 222, 420, 372, 334, 314, 34, 420, 446, 44};
inline constexpr std::array<int16_t, 12> kTailSpots{420, 268, 420, 222, 420, 372, 334, 314, 34, 420, 440, 52};

// ---- Check points: twenty per stage, on the grey costume, all inside the small window. ----
struct Pt {
    int16_t X, Y;
};
using PointSet = std::array<Pt, 20>;
inline constexpr PointSet kCostumePoints{{{395, 222}, {420, 227}, {445, 222}, {390, 252}, {420, 257},
                                          {450, 252}, {395, 287}, {445, 287}, {364, 240}, {351, 268},
                                          {344, 287}, {476, 240}, {489, 268}, {496, 287}, {399, 330},
                                          {441, 330}, {399, 368}, {441, 368}, {382, 306}, {458, 306}}};
// The finale's curtain covers the whole stage, so its points are spread over the screen.
inline constexpr PointSet kCurtainPoints{{{500, 40},  {556, 40},  {560, 130}, {560, 220}, {520, 210},
                                          {250, 190}, {150, 200}, {60, 250},  {170, 300}, {280, 280},
                                          {360, 260}, {480, 260}, {556, 300}, {130, 345}, {240, 350},
                                          {330, 345}, {470, 350}, {556, 365}, {190, 370}, {400, 368}}};

inline constexpr const PointSet& StagePoints(int s) { return s == 9 ? kCurtainPoints : kCostumePoints; }
inline constexpr const std::array<int16_t, 12>& StageSpotsRow(int s) { return s == 6 ? kTailSpots : kSpots; }

// ---- The opening logo: three rows of letter boundaries inside the 98-pixel logo. ----
inline constexpr std::array<std::array<uint8_t, 11>, 3> kOpeningScript{
    {{8, 40, 58, 90, 255, 255, 255, 255, 255, 255, 255},
     {4, 22, 40, 58, 76, 94, 255, 255, 255, 255, 255},
     {1, 17, 33, 49, 65, 81, 97, 255, 255, 255, 255}}};
inline constexpr std::array<std::string_view, 3> kLogoRows{"KIV", "ERASE", "REVEAL"};

// ---- 48 palette colours, components 0..15. ----
struct Rgb4 {
    uint8_t R, G, B;
};
inline constexpr std::array<Rgb4, 48> kPalette{
    {{0, 0, 0},   {1, 1, 1},    {2, 2, 2},    {3, 3, 3},    {4, 4, 4},    {5, 5, 5},    {6, 6, 6},    {7, 7, 7},
     {8, 8, 8},   {9, 9, 9},    {10, 10, 10}, {11, 11, 11}, {12, 12, 12}, {13, 13, 13}, {14, 14, 14}, {15, 15, 15},
     {15, 0, 0},  {15, 6, 0},   {15, 10, 0},  {15, 14, 3},  {10, 15, 2},  {3, 13, 3},   {0, 12, 8},   {0, 13, 13},
     {0, 9, 15},  {2, 5, 14},   {6, 3, 14},   {10, 2, 14},  {14, 3, 12},  {15, 5, 9},   {15, 10, 12}, {15, 13, 10},
     {8, 4, 2},   {11, 7, 4},   {14, 11, 8},  {15, 13, 11}, {4, 8, 3},    {2, 5, 8},    {1, 2, 5},    {5, 2, 6},
     {9, 12, 15}, {12, 14, 15}, {13, 15, 13}, {15, 15, 12}, {15, 12, 12}, {12, 11, 9},  {6, 6, 7},    {3, 3, 4}}};

inline constexpr int32_t kResultCodeSeed = 0x5EED1;

// Music slots 0..22: 0 the ending's message, 1 the title, 2..11 single stages, 12..21 the
// challenge run, 22 the ending's picture.
inline constexpr std::array<uint8_t, 23> MusicNumbers() {
    std::array<uint8_t, 23> m{};
    m[0] = 7;
    m[1] = 1;
    for (int s = 0; s < kStages; ++s) {
        m[2 + s] = kStageDesigns[s].musicSingle;
        m[12 + s] = kStageDesigns[s].musicChallenge;
    }
    m[22] = 8;
    return m;
}
inline constexpr int kTunes = 8;  // Kv01 .. Kv08

// "Friend" in full-width letters, so that the typing shows it one letter a unit like the lines.
inline constexpr std::string_view kDefaultPlayerName = "\uFF26\uFF52\uFF49\uFF45\uFF4E\uFF44";
inline constexpr std::string_view kPresetRankLine = "//du";  // the reader makes it "master"

// ---- Texts: UTF-8; '|' starts a new row. KivLine turns one into its typed form. ----
// Lines: 1 intro, 2 closing (not cleared), 3 closing (cleared), 4 pause prompt, 5/6 tickled
// body, 7/8 feet, 9/10 hand. U+FF27 (full-width G) stands for the player's name.
// The typing takes two bytes a unit and leaves 2 pixels after each, so KivLine writes English in
// full-width letters (one letter a unit) and a blank as two blanks (one unit): the letters then
// stand evenly and the words apart. That costs two bytes a letter: a line holds 47 units, the
// default name counting 6.
inline constexpr std::array<std::array<const char*, 10>, kStages> kTexts{{
    {"Hi, \uFF27!|Click the ink pot,|then rub!", "Some grey is left.|Try again soon!",
     "Wow, my new outfit!|Thanks a lot, \uFF27!", "Finish here?|Left click: yes|Right click: no",
     "Hee hee, that tickles!", "Careful, careful!", "Not my feet! Ha ha!", "My toes are ticklish!", "Eek! My hand!",
     "Ha ha, stop that!"},
    {"\uFF27、海へようこそ！|灰色のコートを|こすって消してね。", "まだ少し残ってるね。|また遊ぼうね！",
     "わあ、セーラー服だ！|ありがとう！", "ここで終わる？|左クリック：はい　右：いいえ", "くすぐったいよ！",
     "そっとね、そっと。", "足はだめだよ！", "あはは、つま先が！", "きゃっ、手が！", "手はくすぐったいの！"},
    {"Hello, \uFF27!|Find my flowers|under the grey!", "Hmm, still a bit grey.|Maybe next time!",
     "Ta-da! Flowers everywhere!", "All done?|Left click: yes|Right click: no", "Ooh, that tickles!", "Gently, please!",
     "Ha ha! Not my feet!", "Tickly toes!", "My hand! Hee hee!", "Eek! Ha ha ha!"},
    {"\uFF27、雪だよ！|灰色のコートの下に|冬の服があるよ。", "まだ灰色が残ってる…",
     "あったかい服だ！|ありがとう、\uFF27！", "終わる？　左：はい　右：いいえ|シフト＋左でおまけ！",
     "ひゃっ、つめたい！", "くすぐったいよ！", "足がくすぐったい！", "あはは、やめて！", "手はだめ！", "きゃはは！"},
    {"Roll up, \uFF27!|Rub off my cloak|for my show!", "The show is not ready...|Come back soon!",
     "Ladies and gentlemen... me!", "End the act?|Left click: yes|Right click: no", "Ha ha, that tickles!",
     "Oops, careful!", "My feet are dancing!", "Ha ha, tickly toes!", "Hey, my white glove!", "Hee hee hee!"},
    {"こんばんは、\uFF27。|星がきれいだね。|Rub the grey coat away!", "まだ暗いね。|Good night!",
     "星のパジャマだよ！|Thank you!", "終わる？|Left: yes|Right: no", "くすぐったい！", "Shh... that tickles!",
     "足は弱いの！", "Ha ha! My feet!", "手がくすぐったい！", "Eek! Ha ha!"},
    {"Blub! Hi, \uFF27!|Rub off my grey|diving suit!", "Still grey down here...|Swim again later!",
     "Splash! A mermaid outfit!", "Swim up now?|Left click: yes|Right click: no", "Hee hee, bubbles tickle!",
     "Gently, gently!", "My fins! Ha ha!", "Tickly tail!", "My hand! Blub!", "Ha ha, that tickles!"},
    {"It's a party, \uFF27!|Find my party clothes!", "The party is not ready yet!", "Party time! Hooray!|ありがとう！",
     "Finish? Left: yes|Right: no|Shift+left: bonus!", "Ha ha, stop it!", "That tickles!", "Dancing feet! Hee hee!",
     "My toes! Ha ha!", "Hey, my hand!", "Hee hee hee!"},
    {"ようこそ、お城へ！|\uFF27、最後の灰色を|こすってね。", "まだ灰色だ…|また来てね。",
     "王子様の服だ！|次はいよいよ最後だよ！", "終わる？|左：はい　右：いいえ", "くすぐったいぞ！", "やさしくね。",
     "足はだめだぞ！", "あはは！", "手はくすぐったい！", "ははは、まいった！"},
    {"The finale, \uFF27!|Wipe the curtain away!", "The curtain stays shut...|Thanks for playing!",
     "Thank you, \uFF27!|You found everything!", "Curtain call?|Left click: yes|Right click: no", "Bravo! Hee hee!",
     "Encore! Ha ha!", "My dancing shoes!", "Ha ha, my toes!", "Take a bow, hand!", "Hee hee, tickly!"},
}};

// Which lines have a recorded voice (bit i-1 for line i): every line of every stage.
inline constexpr unsigned kVoicedLines = 0x3FF;

inline constexpr std::string_view kHelpLine =
    "HOW TO PLAY:  Pick an open stage on the wheel and click it again to start (a right click "
    "cancels).  First click the ink pot to load your brush with ink,  then hold the left button "
    "and rub the grey away.  Hold Shift for a fine brush.   The tag shows how many of the twenty "
    "hidden points you have found and the time left.   Right click to pause; a left click then "
    "ends the stage.  Uncover all twenty points to clear it!   The button beside the title runs "
    "every stage in a row against the clock.   On some stages, with all twenty found, hold Shift "
    "and left click at the pause for a bonus picture.   Have fun!";

// The typed form of a text: English letters and signs become their full-width forms, a blank two
// blanks, "..." an ellipsis, '|' the new-row code "__", and "_/" ends it. Every unit is then two
// bytes as Shift-JIS counts them, so each double-byte character and each code starts on an odd
// byte, as the typing needs; a blank would pad a run of odd length, should one be left.
inline std::string KivLine(std::string_view utf8) {
    std::string out;
    int pos = 0;
    auto pad = [&] {
        if (pos % 2) {
            out += ' ';
            ++pos;
        }
    };
    auto wide = [&](std::string_view ch) {
        pad();
        out.append(ch);
        pos += 2;
    };
    for (size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c == '|') {
            wide("__");
            ++i;
        } else if (c == ' ') {
            wide("  ");
            ++i;
        } else if (utf8.substr(i, 3) == "...") {
            wide("\u2026");
            i += 3;
        } else if (c == '\'') {
            wide("\u2019");
            ++i;
        } else if (c > 0x20 && c < 0x7F) {
            // U+FF01..U+FF5E, in UTF-8 EF BC 81..EF BD 9E
            const unsigned u = 0xFF00u + (c - 0x20u);
            const char f[3] = {static_cast<char>(0xE0 | (u >> 12)), static_cast<char>(0x80 | ((u >> 6) & 0x3F)),
                               static_cast<char>(0x80 | (u & 0x3F))};
            wide(std::string_view(f, 3));
            ++i;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
            ++pos;
            ++i;
        } else {
            size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
            wide(utf8.substr(i, n));
            i += n;
        }
    }
    wide("_/");
    return out;
}

// True when the text is English: nothing but ASCII besides the name placeholder.
inline bool IsEnglishLine(std::string_view utf8) {
    for (size_t i = 0; i < utf8.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) continue;
        if (utf8.substr(i, 3) == "\uFF27") {
            i += 2;
            continue;
        }
        return false;
    }
    return true;
}

}  // namespace kiv::demo
