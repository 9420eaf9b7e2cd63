#pragma once

namespace karuta {

// Registers the game's classes.
void InitializeGameModule();

}  // namespace karuta
