#include "Caption.h"

using namespace irr;

const char* const CaptionTitle = "Hardware Skinning example";

FrameRateCaption::FrameRateCaption(char skinningKey)
	: SkinningKey(skinningKey), LastFps(0)
{
}

core::stringw FrameRateCaption::text(s32 fps) const
{
	core::stringw caption = CaptionTitle;
	if (SkinningKey == '2')
		caption += "(Hardware Skinning is disabled)";
	caption += " FPS:";
	caption += core::stringw(fps);
	return caption;
}

bool FrameRateCaption::update(IrrlichtDevice* device, s32 fps)
{
	if (fps == LastFps)
		return false;
	device->setWindowCaption(text(fps).c_str());
	LastFps = fps;
	return true;
}
