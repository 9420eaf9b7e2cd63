#pragma once

namespace karuta {

// First values of the shell's module fields and its classes' registration.
void InitializeShellModule();
// Releases what the shell's module fields hold.
void FinalizeShellModule();

}  // namespace karuta
