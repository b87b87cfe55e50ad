// The crowd demo: the start-up dialogue, the scene and the frame loop.
#pragma once

#include <irrlicht.h>

#include <iosfwd>

// The three answers of the start-up dialogue, each the single character typed;
// the zero character where no answer came.
struct RunOptions
{
	char DriverKey = 0;   // '1' Direct3D 9, anything else OpenGL
	char SkinningKey = 0; // '1' hardware, '2' engine with a caption note, '3' none, else engine
	char LightingKey = 0; // '1' lighting on, anything else off
};

// Asks the three questions on out and reads one character for each from in.
RunOptions askRunOptions(std::istream& in, std::ostream& out);

// Creates the device for the chosen renderer, falling back to OpenGL where
// Direct3D 9 does not exist; null, with a message, when none can be made.
irr::IrrlichtDevice* createDemoDevice(const RunOptions& options);

// The crowd stands on a grid of Columns × Rows characters, GridStep apart.
struct CrowdLayout
{
	irr::u32 Columns = 7;
	irr::u32 Rows = 6;
};
const irr::s32 GridStep = 50;

// Loads dwarf.x and builds the crowd, the camera and the four lights. Returns
// the first character node (it ends on the last grid point), or null, with a
// message, when the model cannot be loaded.
irr::scene::IAnimatedMeshSceneNode* buildCrowdScene(irr::IrrlichtDevice* device,
	const RunOptions& options, const CrowdLayout& layout = CrowdLayout());

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

// Draws frames until the window is closed.
void runFrameLoop(irr::IrrlichtDevice* device, const RunOptions& options);
