// Reads the frame being drawn straight from the OpenGL back buffer.
//
// The engine's own screenshot reads the front buffer, which a software
// OpenGL on a virtual display does not keep (it comes back black), so the
// tools, tests and benchmark read the back buffer before endScene().
#pragma once

#include <irrlicht.h>

// The back buffer of the current OpenGL context as an 8-bit RGB image, top
// row first; null when the driver is not OpenGL. The caller drops the image.
irr::video::IImage* readBackBuffer(irr::video::IVideoDriver* driver);

// Writes the back buffer to a PNG file; false when that fails.
bool saveBackBuffer(irr::video::IVideoDriver* driver, const irr::io::path& file);

// Holds the scene still, every character halfway through its walk (out of
// step, each further on by its own share, as poseCrowd puts them) and the
// clock (camera and lights) at `timeMs`, and returns a frame of it read back.
// It draws a few frames 20 ms apart first: an in-step crowd's hardware
// skinning palette is refreshed every 17 ms. The caller drops the image.
irr::video::IImage* drawStill(irr::IrrlichtDevice* device, irr::u32 timeMs, bool outOfStep);
