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
