#pragma once

#include <cstdint>

#include "canvas.h"

namespace kiv::demo {

enum class Pattern { Plain, Stripes, Dots, Flowers, Stars, Scales, Sequins };
enum class Bottom { Shorts, Trousers, Skirt, Tail };
enum class Hat { None, SunHat, SailorCap, FlowerCrown, Beanie, TopHat, NightCap, Starfish, PartyHat, Crown };

// What the child wears in one stage.
struct Look {
    uint32_t top, topAccent;
    Pattern topPattern;
    uint32_t bottom, bottomAccent;
    Bottom bottomKind;
    Pattern bottomPattern;
    uint32_t shoes;
    Hat hat;
    uint32_t hatColour, hatAccent;
    uint32_t hands;  // skin, or gloves
    bool cape;
    int costumeStyle;  // details of the grey costume: 0..4
    int trim = 0;      // 1 sailor collar, 2 gold buttons, 3 belt
};

// Face cels: eyes 1 open, 2 half shut, 3 closed and smiling, 4 wide; mouths 1 smile, 2 "o",
// 3 open smile, 4 laugh. Star eyes are the bonus look.
struct Expression {
    int eyes = 1;
    int mouth = 1;
    bool starEyes = false;
};

// The child in full colour at the standard place (face centre kHeadX, kHeadY).
void DrawChild(Canvas& c, const Look& look, const Expression& e);
// The grey costume alone, on a transparent canvas: what the player rubs away.
void DrawCostume(Canvas& c, const Look& look);

}  // namespace kiv::demo
