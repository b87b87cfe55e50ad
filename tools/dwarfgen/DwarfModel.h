// The whole character, skeleton, skinned body and march, described for the
// .x writer.
#pragma once

#include "XFile.h"

// The model refers to its texture as TextureFile.
extern const char* const TextureFile;

xfile::Model describeDwarf();
