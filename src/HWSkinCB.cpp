#include "HWSkinCB.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <vector>

using namespace irr;

namespace
{
HWSkinCB* SharedInstance = 0;

// Joint numbers go into the colour channels in this order.
const size_t ChannelCount = 4;
const u32 ChannelShift[ChannelCount] = { 16, 8, 0, 24 }; // red, green, blue, alpha

const u32 MaxShaderLights = 8;

// One joint's pull on a vertex: the joint's number (its index + 1) and weight.
struct Influence
{
	u32 JointNumber;
	f32 Weight;
};

// Packs a vertex for the vertex program: up to four joint numbers into the
// colour channels, in joint order, their weights into Tangent (the fourth
// weight is what is left of 1) and the model's own colour into Binormal.
// Where more joints pull, the weakest go (the later one of equals), and the
// weights of those kept are scaled to sum to 1.
void packVertex(video::S3DVertexTangents& vertex, std::vector<Influence> influences)
{
	const video::SColor colour = vertex.Color;
	vertex.Binormal.set(colour.getRed() / 255.f, colour.getGreen() / 255.f, colour.getBlue() / 255.f);

	while (influences.size() > ChannelCount)
	{
		const auto weakest = std::min_element(influences.rbegin(), influences.rend(),
			[](const Influence& a, const Influence& b) { return a.Weight < b.Weight; });
		influences.erase(std::next(weakest).base());
	}
	f32 sum = 0;
	for (const Influence& influence : influences)
		sum += influence.Weight;
	if (sum <= 0) // weightless joints pull nothing: the vertex keeps its place
		influences.clear();

	f32 weights[ChannelCount] = {};
	vertex.Color.color = 0;
	for (size_t k = 0; k < influences.size(); ++k)
	{
		vertex.Color.color |= influences[k].JointNumber << ChannelShift[k];
		weights[k] = influences[k].Weight / sum;
	}
	vertex.Tangent.set(weights[0], weights[1], weights[2]);
}
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
	// Each vertex's influences, in joint order; joint numbers that pack to 0
	// cannot be told from "no joint" and are left out.
	core::array<scene::SSkinMeshBuffer*>& buffers = Mesh->getMeshBuffers();
	std::vector<std::vector<std::vector<Influence>>> influences(buffers.size());
	for (u32 b = 0; b < buffers.size(); ++b)
		influences[b].resize(buffers[b]->getVertexCount());
	const core::array<scene::ISkinnedMesh::SJoint*>& joints = Mesh->getAllJoints();
	for (u32 j = 0; j < joints.size(); ++j)
	{
		const u32 jointNumber = (j + 1) & 0xff;
		const core::array<scene::ISkinnedMesh::SWeight>& weights = joints[j]->Weights;
		for (u32 w = 0; jointNumber != 0 && w < weights.size(); ++w)
		{
			// A record naming a buffer or vertex that does not exist is skipped.
			if (weights[w].buffer_id < buffers.size()
				&& weights[w].vertex_id < influences[weights[w].buffer_id].size())
				influences[weights[w].buffer_id][weights[w].vertex_id].push_back({ jointNumber, weights[w].strength });
		}
	}

	for (u32 b = 0; b < buffers.size(); ++b)
	{
		// The weights and the model's colour travel in the tangent vertex's
		// two extra vectors; the engine no longer moves these vertices, so
		// the buffer is sent to the graphics card anew once.
		buffers[b]->convertToTangents();
		buffers[b]->setDirty(scene::EBT_VERTEX);
		video::S3DVertexTangents* vertices = static_cast<video::S3DVertexTangents*>(buffers[b]->getVertices());
		for (u32 v = 0; v < buffers[b]->getVertexCount(); ++v)
			packVertex(vertices[v], influences[b][v]);
	}

	printf("Joint Num: %d, current limit is %u joints.\n", static_cast<int>(joints.size()), MaxShaderJoints);
	fflush(stdout);
	if (joints.size() > MaxShaderJoints)
		fprintf(stderr, "Joints beyond the first %u cannot be skinned by the vertex program: "
			"the vertices they move follow their other joints.\n", MaxShaderJoints);
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
