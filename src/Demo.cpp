#include "Demo.h"

#include "HWSkinCB.h"
#include "ModelFile.h"

#include <cstdio>

using namespace irr;

namespace
{
void addCircleAnimator(scene::ISceneManager* smgr, scene::ISceneNode* node,
	const core::vector3df& centre, f32 radius, f32 speed)
{
	scene::ISceneNodeAnimator* circle = smgr->createFlyCircleAnimator(
		centre, radius, speed, core::vector3df(0, 1, 0), 0.f, 0.f);
	node->addAnimator(circle);
	circle->drop();
}

// The characters in the order they were added to the scene.
core::array<scene::ISceneNode*> charactersOf(scene::ISceneManager* smgr)
{
	core::array<scene::ISceneNode*> characters;
	smgr->getSceneNodesFromType(scene::ESNT_ANIMATED_MESH, characters);
	return characters;
}

// Steps of the golden ratio's fraction spread any number of characters evenly
// over the walk, with neighbours far apart; a second such number (the
// plastic ratio's) gives the paces, unrelated to the offsets.
f32 walkOffset(u32 character)
{
	return core::fract(character * 0.6180340f);
}

f32 paceFactor(u32 character)
{
	return 0.9f + 0.2f * core::fract(character * 0.7548777f);
}

struct LightSetup
{
	f32 Radius;
	f32 Speed;
	video::SColorf Colour;
};

const LightSetup Lights[] = {
	{ 100.f, 0.001f, video::SColorf(0.5f, 0.5f, 0.f, 0.f) },
	{ 100.f, -0.001f, video::SColorf(0.f, 1.f, 0.f, 0.f) },
	{ 80.f, 0.001f, video::SColorf(0.f, 0.5f, 1.f, 0.f) },
	{ 60.f, -0.002f, video::SColorf(0.8f, 0.2f, 0.f, 0.f) },
};
} // namespace

IrrlichtDevice* createDemoDevice(const RunOptions& options)
{
	IrrlichtDevice* device = 0;
	if (options.DriverKey == '1')
	{
		// Asked first: a failed attempt opens and closes an X connection, and
		// a virtual display left with no client resets under the next window.
		if (IrrlichtDevice::isDriverSupported(video::EDT_DIRECT3D9))
			device = createDevice(video::EDT_DIRECT3D9, WindowSize, 16, false, false, false, 0);
		if (!device)
			fprintf(stderr, "Direct3D 9 is not available on this system, using OpenGL instead.\n");
	}
	if (!device)
		device = createDevice(video::EDT_OPENGL, WindowSize, 16, false, false, false, 0);
	if (!device)
		fprintf(stderr, "Could not open a %ux%u OpenGL window: "
			"is there a display (DISPLAY) with OpenGL?\n", WindowSize.Width, WindowSize.Height);
	return device;
}

scene::IAnimatedMeshSceneNode* buildCrowdScene(IrrlichtDevice* device,
	const RunOptions& options, const CrowdLayout& layout)
{
	scene::ISceneManager* smgr = device->getSceneManager();
	const io::path modelFile = "dwarf.x";
	scene::IAnimatedMesh* mesh = isCutShort(device->getFileSystem(), modelFile) ? 0 : smgr->getMesh(modelFile);
	if (!mesh)
	{
		fprintf(stderr, "Could not load the character model \"%s\" from the working directory %s.\n",
			modelFile.c_str(), device->getFileSystem()->getWorkingDirectory().c_str());
		return 0;
	}
	scene::IAnimatedMeshSceneNode* node = smgr->addAnimatedMeshSceneNode(mesh);
	node->setScale(core::vector3df(1, 1, 1));

	if (options.SkinningKey == '3')
	{
		// Switching the engine to hardware skinning with no vertex program
		// leaves the characters in their bind pose.
		if (scene::ISkinnedMesh* skinned = skinnedMeshOf(node->getMesh()))
			skinned->setHardwareSkinning(true);
		else
			fprintf(stderr, "The character model is not a skinned mesh: "
				"it is drawn as the engine animates it.\n");
	}
	node->setMaterialFlag(video::EMF_LIGHTING, options.LightingKey == '1');

	// The clones copy the node's materials, so the skinning material is set
	// up first.
	if (options.SkinningKey == '1')
		HWSkinCB::instance()->attachToNode(device, node, PaletteInterval);

	// Each clone stays where the first node stood; the first node moves on
	// and ends on the last grid point.
	for (u32 row = 0; row < layout.Rows; ++row)
	{
		for (u32 column = 0; column < layout.Columns; ++column)
		{
			if (row == 0 && column == 0)
				continue;
			node->clone();
			node->setPosition(core::vector3df(f32(GridStep * column), 0, f32(GridStep * row)));
		}
	}
	if (options.OutOfStep)
	{
		poseCrowd(smgr, true, 0.f);
		const core::array<scene::ISceneNode*> characters = charactersOf(smgr);
		for (u32 i = 0; i < characters.size(); ++i)
		{
			scene::IAnimatedMeshSceneNode* character = static_cast<scene::IAnimatedMeshSceneNode*>(characters[i]);
			character->setAnimationSpeed(character->getAnimationSpeed() * paceFactor(i));
		}
	}

	scene::ICameraSceneNode* camera = smgr->addCameraSceneNode(
		0, core::vector3df(0, 0, 0), core::vector3df(0, 0, 100));
	camera->setTarget(core::vector3df(125, 32, 125));
	addCircleAnimator(smgr, camera, core::vector3df(125, 100, 125), 200.f, 0.0002f);

	for (const LightSetup& setup : Lights)
	{
		scene::ILightSceneNode* light = smgr->addLightSceneNode(
			0, core::vector3df(0, 0, 0), video::SColorf(1, 1, 1, 1), 100.f);
		addCircleAnimator(smgr, light, core::vector3df(125, 180, 125), setup.Radius, setup.Speed);
		light->getLightData().DiffuseColor = setup.Colour;
	}
	return node;
}

void poseCrowd(scene::ISceneManager* smgr, bool outOfStep, f32 progress)
{
	const core::array<scene::ISceneNode*> characters = charactersOf(smgr);
	for (u32 i = 0; i < characters.size(); ++i)
	{
		scene::IAnimatedMeshSceneNode* character = static_cast<scene::IAnimatedMeshSceneNode*>(characters[i]);
		const f32 start = f32(character->getStartFrame());
		const f32 length = f32(character->getEndFrame()) - start;
		character->setCurrentFrame(start + length * core::fract(progress + (outOfStep ? walkOffset(i) : 0.f)));
	}
}

void drawFrame(IrrlichtDevice* device, const std::function<void()>& beforeShow)
{
	video::IVideoDriver* driver = device->getVideoDriver();
	driver->beginScene(true, true, ClearColour);
	device->getSceneManager()->drawAll();
	if (beforeShow)
		beforeShow();
	driver->endScene();
}

void runFrameLoop(IrrlichtDevice* device, const RunOptions& options)
{
	FrameRateCaption caption(options.SkinningKey);
	while (device->run())
	{
		drawFrame(device);
		caption.update(device, device->getVideoDriver()->getFPS());
	}
}

DemoDevice::DemoDevice(const RunOptions& options)
	: Options(options), Device(createDemoDevice(options))
{
}

DemoDevice::~DemoDevice()
{
	if (!Device)
		return;
	Device->closeDevice();
	Device->run(); // lets the window go before the device does
	Device->drop();
}

bool DemoDevice::buildScene(const CrowdLayout& layout)
{
	return buildCrowdScene(Device, Options, layout) != 0;
}
