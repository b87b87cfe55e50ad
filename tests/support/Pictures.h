// Crowd frames and pixel comparisons for the picture tests.
#pragma once

#include "Demo.h"

#include <irrlicht.h>

#include <string>

// The fraction of pixels where any colour channel differs by more than
// `tolerance` between two images of the same size (1 when the sizes differ).
double differingFraction(irr::video::IImage* a, irr::video::IImage* b, irr::u32 tolerance);

// The fraction of pixels further than `tolerance` from `colour` in any channel.
double fractionNotColour(irr::video::IImage* image, irr::video::SColor colour, irr::u32 tolerance);

// Loads an image file with the engine's loaders; null when it cannot. The
// caller drops the image.
irr::video::IImage* loadImage(const std::string& file);

// Writes an image to a file (PNG for a .png name) with the engine's writers.
void saveImage(irr::video::IImage* image, const std::string& file);

// A frame of the crowd drawn by OpenGL halfway through its walk (out of step,
// every character further on by its own share, as drawStill puts it), the
// clock held at 0 so that camera and lights stand still, with the model and
// the vertex programs read from workingDirectory (when empty, the current
// one: the build directory under ctest). glError receives glGetError() after
// the frame. Null when there is no OpenGL display or no model. The caller
// drops the image.
irr::video::IImage* renderCrowd(const RunOptions& options, unsigned* glError,
	const std::string& workingDirectory = "");
