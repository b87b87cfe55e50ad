// Checks of the character model file made before the engine loads it.
#pragma once

#include <irrlicht.h>

// True, with a message, for a text .x model whose blocks do not all close:
// the engine's loader would draw whatever such a file holds.
bool isCutShort(irr::io::IFileSystem* fileSystem, const irr::io::path& name);
