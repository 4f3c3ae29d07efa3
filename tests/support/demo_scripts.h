#pragma once

#include <string>

#include "data/config.h"

namespace kiv {

// The press that picks a letter of the name-entry alphabet (rows of 28 pixels, odd letters left
// of x 177, even ones from there on).
std::string LetterClick(char c);

// The script of a challenge run that clears every stage by one press on each check point and
// enters `name`; with `assist`, F5 is pressed once in the first stage.
std::string ChallengeRun(const Config& cfg, const std::string& name, bool assist);

}  // namespace kiv
