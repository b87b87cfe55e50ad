// The crowd demo: its device, the crowd scene and the frame loop.
#pragma once

#include "Caption.h"
#include "RunOptions.h"

#include <irrlicht.h>

#include <functional>

// The window: its size and the colour each frame is cleared to.
const irr::core::dimension2du WindowSize(640, 480);
const irr::video::SColor ClearColour(0xff0000c8);

// Hardware skinning refreshes an in-step crowd's joint palette at most this
// often (milliseconds).
const irr::u32 PaletteInterval = 17;

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

// Draws one frame of the scene. `beforeShow`, when given, runs once the scene
// is drawn and before the frame is shown (the back buffer can be read then).
void drawFrame(irr::IrrlichtDevice* device, const std::function<void()>& beforeShow = nullptr);

// Draws frames until the window is closed.
void runFrameLoop(irr::IrrlichtDevice* device, const RunOptions& options);

// The demo's device and its crowd scene, closed and released when it goes out
// of scope.
class DemoDevice
{
public:
	// Creates the device (see createDemoDevice); device() is null when none
	// could be made.
	explicit DemoDevice(const RunOptions& options);
	~DemoDevice();
	DemoDevice(const DemoDevice&) = delete;
	DemoDevice& operator=(const DemoDevice&) = delete;

	// Builds the crowd scene (see buildCrowdScene); false when it cannot be.
	bool buildScene(const CrowdLayout& layout = CrowdLayout());

	irr::IrrlichtDevice* device() const { return Device; }

private:
	RunOptions Options;
	irr::IrrlichtDevice* Device;
};
