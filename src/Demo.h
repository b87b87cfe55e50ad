// The crowd demo: the start-up dialogue, the scene and the frame loop.
#pragma once

#include <irrlicht.h>

#include <iosfwd>

// The three answers of the start-up dialogue, each the single character typed;
// the zero character where no answer came. Then the command line's choice.
struct RunOptions
{
	char DriverKey = 0;   // '1' Direct3D 9, anything else OpenGL
	char SkinningKey = 0; // '1' hardware, '2' engine with a caption note, '3' none, else engine
	char LightingKey = 0; // '1' lighting on, anything else off
	bool OutOfStep = false; // every character at its own point of the walk
};

// The demo's command line options, as --help lists them.
extern const char* const CommandLineUsage;

// Reads the command line into options. Returns the exit code when the program
// ends here: 0 after --help (the usage printed on out), 2 after an unknown
// option (a message and the usage on err); -1 when it goes on.
int readCommandLine(int argc, const char* const argv[], RunOptions& options,
	std::ostream& out, std::ostream& err);

// Asks the three questions on out and reads one character for each from in;
// the other fields are kept from `options`.
RunOptions askRunOptions(std::istream& in, std::ostream& out, RunOptions options = RunOptions());

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

// Loads dwarf.x and builds the crowd, the camera and the four lights; out of
// step, every character starts at its own point of the walk and walks at its
// own speed. Returns the first character node (it ends on the last grid
// point), or null, with a message, when the model cannot be loaded.
irr::scene::IAnimatedMeshSceneNode* buildCrowdScene(irr::IrrlichtDevice* device,
	const RunOptions& options, const CrowdLayout& layout = CrowdLayout());

// Puts every character `progress` (0 to 1) of the way through its walk; out of
// step, each is further on by its own share of the walk, the same on every
// run. The characters are counted in the order they were added to the scene.
void poseCrowd(irr::scene::ISceneManager* smgr, bool outOfStep, irr::f32 progress);

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
