#pragma once

namespace kiv {

// The music player's state and the stage voices.
struct SoundState {};

}  // namespace kiv
