// A frame of the crowd held still, the same in every skinning mode, for the
// picture tests and the benchmark's screenshots.
#pragma once

#include <irrlicht.h>

// Holds the scene still, every character halfway through its walk (out of
// step, each further on by its own share, as poseCrowd puts them) and the
// clock (camera and lights) at `timeMs`, and returns a frame of it read back
// from the OpenGL back buffer; null when the driver is not OpenGL. The
// caller drops the image.
irr::video::IImage* drawStill(irr::IrrlichtDevice* device, irr::u32 timeMs, bool outOfStep);
