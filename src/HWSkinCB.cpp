#include "HWSkinCB.h"

#include <cstdio>
#include <cstring>
#include <vector>

using namespace irr;

namespace
{
HWSkinCB* SharedInstance = 0;

// Joint numbers go into the colour channels in this order.
const u32 ChannelShift[4] = { 16, 8, 0, 24 }; // red, green, blue, alpha

const u32 MaxShaderLights = 8;
} // namespace

scene::ISkinnedMesh* skinnedMeshOf(scene::IAnimatedMesh* mesh)
{
	return mesh->getMeshType() == scene::EAMT_SKINNED ? static_cast<scene::ISkinnedMesh*>(mesh) : 0;
}

HWSkinCB* HWSkinCB::instance()
{
	if (!SharedInstance)
		SharedInstance = new HWSkinCB();
	return SharedInstance;
}

HWSkinCB::HWSkinCB()
	: Device(0), Mesh(0), LastUploadTime(0), UpdateInterval(0), LightingEnabled(false),
	FrameTime(0), UploadedThisFrame(false), MixedThisFrame(false), MixedLastFrame(false)
{
}

void HWSkinCB::attachToNode(IrrlichtDevice* device,
	scene::IAnimatedMeshSceneNode* node, u32 updateInterval)
{
	if (updateInterval != 0)
		UpdateInterval = updateInterval;
	LightingEnabled = node->getMaterial(0).Lighting;
	Device = device;
	Mesh = skinnedMeshOf(node->getMesh());
	if (!Mesh)
	{
		fprintf(stderr, "The character model is not a skinned mesh: "
			"it cannot be skinned by the vertex program.\n");
		return;
	}
	Mesh->setHardwareMappingHint(scene::EHM_DYNAMIC, scene::EBT_VERTEX_AND_INDEX);
	video::IVideoDriver* driver = device->getVideoDriver();

	// Build the material before touching the mesh: when the vertex program
	// cannot be built, the engine keeps skinning an unchanged mesh.
	const s32 materialType = buildSkinningMaterial(driver);
	if (materialType < 0)
		return;

	packJointIndices();
	for (u32 i = 0; i < node->getMaterialCount(); ++i)
		node->getMaterial(i).MaterialType = static_cast<video::E_MATERIAL_TYPE>(materialType);
	Mesh->setHardwareSkinning(true);
}

void HWSkinCB::packJointIndices()
{
	core::array<scene::SSkinMeshBuffer*>& buffers = Mesh->getMeshBuffers();
	for (u32 b = 0; b < buffers.size(); ++b)
		for (u32 v = 0; v < buffers[b]->getVertexCount(); ++v)
			buffers[b]->getVertex(v)->Color.color = 0;

	const core::array<scene::ISkinnedMesh::SJoint*>& joints = Mesh->getAllJoints();
	for (u32 j = 0; j < joints.size(); ++j)
	{
		const u32 jointNumber = (j + 1) & 0xff;
		const core::array<scene::ISkinnedMesh::SWeight>& weights = joints[j]->Weights;
		for (u32 w = 0; w < weights.size(); ++w)
		{
			// A record naming a buffer or vertex that does not exist is skipped.
			if (weights[w].buffer_id >= buffers.size()
				|| weights[w].vertex_id >= buffers[weights[w].buffer_id]->getVertexCount())
				continue;
			u32& colour = buffers[weights[w].buffer_id]->getVertex(weights[w].vertex_id)->Color.color;
			for (u32 shift : ChannelShift)
			{
				if (((colour >> shift) & 0xff) == 0)
				{
					colour |= jointNumber << shift;
					break;
				}
			}
		}
	}

	printf("Joint Num: %d, current limit is 55 joints.\n", static_cast<int>(joints.size()));
	fflush(stdout);
	if (joints.size() > MaxShaderJoints)
		fprintf(stderr, "Joints beyond the first %u cannot be skinned by the vertex program: "
			"the vertices they move follow joint %u instead.\n", MaxShaderJoints, MaxShaderJoints);
}

s32 HWSkinCB::buildSkinningMaterial(video::IVideoDriver* driver)
{
	video::IGPUProgrammingServices* gpu = driver->getGPUProgrammingServices();
	io::path file = "HWSkin.hlsl";
	const c8* entryPoint = "vertexMain";
	if (driver->getDriverType() == video::EDT_OPENGL)
	{
		file = LightingEnabled ? "HWSkinV_lights.glsl" : "HWSkinV.glsl";
		entryPoint = "main";
	}

	// The engine builds a material without a vertex program from a missing
	// or empty file, which would draw the crowd unskinned.
	io::IReadFile* source = Device->getFileSystem()->createAndOpenFile(file);
	const bool hasSource = source && source->getSize() > 0;
	if (source)
		source->drop();
	if (!hasSource)
	{
		fprintf(stderr, "The vertex program \"%s\" is missing or empty: "
			"the engine skins the crowd instead.\n", file.c_str());
		return -1;
	}

	const s32 materialType = gpu ? gpu->addHighLevelShaderMaterialFromFiles(
		file, entryPoint, video::EVST_VS_2_0, "", "", video::EPST_PS_2_0,
		this, video::EMT_SOLID, 0) : -1;
	if (materialType < 0)
		fprintf(stderr, "The vertex program \"%s\" could not be built: "
			"the engine skins the crowd instead.\n", file.c_str());
	return materialType;
}

void HWSkinCB::OnSetConstants(video::IMaterialRendererServices* services, s32)
{
	video::IVideoDriver* driver = services->getVideoDriver();
	if (driver->getDriverType() == video::EDT_DIRECT3D9)
	{
		core::matrix4 worldViewProj = driver->getTransform(video::ETS_PROJECTION);
		worldViewProj *= driver->getTransform(video::ETS_VIEW);
		worldViewProj *= driver->getTransform(video::ETS_WORLD);
		services->setVertexShaderConstant("mWorldViewProj", worldViewProj.pointer(), 16);
		services->setVertexShaderConstant("mWorld", driver->getTransform(video::ETS_WORLD).pointer(), 16);

		if (LightingEnabled)
		{
			f32 positions[MaxShaderLights * 3] = {};
			f32 colours[MaxShaderLights * 4] = {};
			const u32 count = core::min_(driver->getDynamicLightCount(), MaxShaderLights);
			for (u32 e = 0; e < count; ++e)
			{
				const video::SLight& light = driver->getDynamicLight(e);
				memcpy(&positions[3 * e], &light.Position.X, 3 * sizeof(f32));
				memcpy(&colours[4 * e], &light.DiffuseColor.r, 4 * sizeof(f32));
			}
			services->setVertexShaderConstant("lightPosArray", positions, MaxShaderLights * 3);
			services->setVertexShaderConstant("lightColorArray", colours, MaxShaderLights * 4);
		}
	}

	// In step, every character shows the pose uploaded first in a frame, and
	// the palette is refreshed once per interval. Out of step, the engine
	// re-animates the shared mesh for every character: each pose is uploaded.
	const u32 now = Device->getTimer()->getRealTime();
	const bool due = now - LastUploadTime >= UpdateInterval;
	if (due)
		LastUploadTime = now;
	if (!Mesh)
		return;
	const bool changed = poseChanged();
	const bool outOfStep = crowdOutOfStep(changed);
	if (due || (outOfStep && changed))
		uploadPalette(services);
}

bool HWSkinCB::poseChanged() const
{
	const core::array<scene::ISkinnedMesh::SJoint*>& joints = Mesh->getAllJoints();
	if (joints.size() != UploadedPose.size())
		return true;
	for (u32 j = 0; j < joints.size(); ++j)
		if (joints[j]->GlobalAnimatedMatrix != UploadedPose[j])
			return true;
	return false;
}

// Characters in step show one pose within a frame (one device time): a pose
// other than the one uploaded in the same frame shows the crowd out of step.
// The verdict holds through the next frame, whose first character differs
// from the last one uploaded.
bool HWSkinCB::crowdOutOfStep(bool poseChanged)
{
	const u32 time = Device->getTimer()->getTime();
	if (time != FrameTime)
	{
		FrameTime = time;
		MixedLastFrame = MixedThisFrame;
		MixedThisFrame = UploadedThisFrame = false;
	}
	MixedThisFrame = MixedThisFrame || (poseChanged && UploadedThisFrame);
	return MixedThisFrame || MixedLastFrame;
}

void HWSkinCB::uploadPalette(video::IMaterialRendererServices* services)
{
	const core::array<scene::ISkinnedMesh::SJoint*>& joints = Mesh->getAllJoints();
	UploadedPose.resize(joints.size());
	Palette.resize(16 * joints.size());
	for (u32 j = 0; j < joints.size(); ++j)
	{
		UploadedPose[j] = joints[j]->GlobalAnimatedMatrix;
		core::matrix4 skinning;
		skinning.setbyproduct_nocheck(joints[j]->GlobalAnimatedMatrix, joints[j]->GlobalInversedMatrix);
		memcpy(&Palette[16 * j], skinning.pointer(), 16 * sizeof(f32));
	}
	UploadedThisFrame = true;

	// OpenGL drivers list an array uniform under the name of its first
	// element; the engine only finds "JointTransform[0]" there.
	const s32 count = static_cast<s32>(Palette.size());
	if (!services->setVertexShaderConstant("JointTransform", Palette.data(), count))
		services->setVertexShaderConstant("JointTransform[0]", Palette.data(), count);
}
