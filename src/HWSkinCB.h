// The hardware skinning callback: prepares the crowd's shared skinned mesh for
// skinning in a vertex program, builds the skinning shader material and hands
// the vertex program its constants on every draw.
#pragma once

#include <irrlicht.h>

#include <vector>

// The vertex program's joint palette holds this many matrices.
const irr::u32 MaxShaderJoints = 55;

// The mesh as a skinned mesh, or null when it is of another kind. (The .x
// loader makes a skinned mesh of every model, with no joints for a static one.)
irr::scene::ISkinnedMesh* skinnedMeshOf(irr::scene::IAnimatedMesh* mesh);

class HWSkinCB : public irr::video::IShaderConstantSetCallBack
{
public:
	// The program's one callback object, made on first use and never released.
	static HWSkinCB* instance();

	// Separate objects are for tests; the program uses instance().
	HWSkinCB();

	// Prepares the node's skinned mesh and materials for hardware skinning.
	// Call it before cloning the node: the clones copy its materials.
	// An updateInterval of 0 keeps the current palette interval.
	void attachToNode(irr::IrrlichtDevice* device,
		irr::scene::IAnimatedMeshSceneNode* node, irr::u32 updateInterval);

	void OnSetConstants(irr::video::IMaterialRendererServices* services,
		irr::s32 userData) override;

private:
	void packJointIndices();
	irr::s32 buildSkinningMaterial(irr::video::IVideoDriver* driver);
	bool poseChanged() const;
	bool crowdOutOfStep(bool poseChanged);
	void uploadPalette(irr::video::IMaterialRendererServices* services);

	// Not owned: the device belongs to main, the mesh to the mesh cache.
	irr::IrrlichtDevice* Device;
	irr::scene::ISkinnedMesh* Mesh;
	irr::u32 LastUploadTime;
	irr::u32 UpdateInterval;
	bool LightingEnabled;

	// The joints' animated matrices as last uploaded, and the palette made
	// from them; both keep their storage from one upload to the next.
	std::vector<irr::core::matrix4> UploadedPose;
	std::vector<irr::f32> Palette;

	// The device time of the frame being drawn, whether the palette was
	// uploaded in it, and whether two poses were drawn in it or in the frame
	// before: the crowd is out of step.
	irr::u32 FrameTime;
	bool UploadedThisFrame;
	bool MixedThisFrame;
	bool MixedLastFrame;
};
