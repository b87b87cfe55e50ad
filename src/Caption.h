// The window caption: the demo's title and the frame rate.
#pragma once

#include <irrlicht.h>

// The caption starts with this title; the scripts and tests find the demo's
// window by it.
extern const char* const CaptionTitle;

// The window caption, kept up to date with the frame rate.
class FrameRateCaption
{
public:
	explicit FrameRateCaption(char skinningKey);

	// The caption for a frame rate.
	irr::core::stringw text(irr::s32 fps) const;

	// Writes the caption when the frame rate differs from the one shown;
	// true when it was written.
	bool update(irr::IrrlichtDevice* device, irr::s32 fps);

private:
	char SkinningKey;
	irr::s32 LastFps;
};
