// The skinning callback against small skinned meshes built in code and
// stand-ins for the driver, the clock and the renderer services.

#include "HWSkinCB.h"
#include "support/Cases.h"
#include "support/Console.h"
#include "support/StandIns.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>

using namespace irr;

namespace
{
struct WeightRecord
{
	u32 Joint;
	u16 Buffer;
	u32 Vertex;
	f32 Strength = 0.25f;
};

class SkinningTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		Real = createDevice(video::EDT_NULL);
		ASSERT_TRUE(Real);
		Device = new StandInDevice(Real);
		Callback = new HWSkinCB();
	}

	void TearDown() override
	{
		Callback->drop();
		delete Device;
		Real->drop();
	}

	// A node for a skinned mesh of `buffers` buffers of `vertices` vertices
	// each, of the given colour, with `jointCount` joints and the given
	// weight records.
	scene::IAnimatedMeshSceneNode* makeNode(u32 jointCount, const std::vector<WeightRecord>& weights,
		u32 vertices = 4, u32 buffers = 1, video::SColor vertexColour = video::SColor(0xffffffff))
	{
		scene::ISkinnedMesh* mesh = Real->getSceneManager()->createSkinnedMesh();
		for (u32 b = 0; b < buffers; ++b)
		{
			scene::SSkinMeshBuffer* buffer = mesh->addMeshBuffer();
			for (u32 v = 0; v < vertices; ++v)
				buffer->Vertices_Standard.push_back(video::S3DVertex(
					f32(v), 0, 0, 0, 1, 0, vertexColour, 0, 0));
			buffer->Indices.push_back(0);
			buffer->Indices.push_back(1);
			buffer->Indices.push_back(2);
		}
		std::vector<scene::ISkinnedMesh::SJoint*> joints;
		for (u32 j = 0; j < jointCount; ++j)
			joints.push_back(mesh->addJoint(0));
		for (const WeightRecord& record : weights)
		{
			scene::ISkinnedMesh::SWeight* weight = mesh->addWeight(joints[record.Joint]);
			weight->buffer_id = record.Buffer;
			weight->vertex_id = record.Vertex;
			weight->strength = record.Strength;
		}
		mesh->finalize();
		scene::IAnimatedMeshSceneNode* node = Real->getSceneManager()->addAnimatedMeshSceneNode(mesh);
		mesh->drop();
		return node;
	}

	scene::ISkinnedMesh* skinnedMesh(scene::IAnimatedMeshSceneNode* node)
	{
		return static_cast<scene::ISkinnedMesh*>(node->getMesh());
	}

	u32 colour(scene::IAnimatedMeshSceneNode* node, u32 vertex, u32 buffer = 0)
	{
		return skinnedMesh(node)->getMeshBuffers()[buffer]->getVertex(vertex)->Color.color;
	}

	// A vertex as the vertex program receives it after attaching.
	const video::S3DVertexTangents& packedVertex(scene::IAnimatedMeshSceneNode* node, u32 vertex)
	{
		scene::SSkinMeshBuffer* buffer = skinnedMesh(node)->getMeshBuffers()[0];
		EXPECT_EQ(video::EVT_TANGENTS, buffer->getVertexType());
		return buffer->Vertices_Tangents[vertex];
	}

	void attachQuietly(scene::IAnimatedMeshSceneNode* node, u32 interval = 17)
	{
		printedBy([&] { Callback->attachToNode(Device, node, interval); });
	}

	// One draw's constants, at the given real time.
	RecordingServices draw(u32 realTime)
	{
		Device->Timer.RealTime = realTime;
		RecordingServices services(&Device->Driver);
		Callback->OnSetConstants(&services, 0);
		return services;
	}

	static bool uploadsPalette(const RecordingServices& services)
	{
		return !services.Constants.empty() && services.Constants.back().Name == "JointTransform";
	}

	IrrlichtDevice* Real = 0;
	StandInDevice* Device = 0;
	HWSkinCB* Callback = 0;
};

u32 packed(u32 red, u32 green, u32 blue, u32 alpha)
{
	return alpha << 24 | red << 16 | green << 8 | blue;
}
} // namespace

TEST(HWSkinCBInstance, IsMadeOnceAndShared)
{
	HWSkinCB* first = HWSkinCB::instance();
	EXPECT_EQ(first, HWSkinCB::instance());
	EXPECT_EQ(1, first->getReferenceCount());
}

struct PackingCase : NamedCase
{
	u32 JointCount;
	std::vector<WeightRecord> Weights;
	std::vector<u32> Expected; // the colours of vertices 0..3
};

class Packing : public SkinningTest, public ::testing::WithParamInterface<PackingCase>
{
};

TEST_P(Packing, WritesJointNumbersIntoTheColourChannels)
{
	const PackingCase& c = GetParam();
	scene::IAnimatedMeshSceneNode* node = makeNode(c.JointCount, {});
	// Records naming what does not exist get past the engine's own checks
	// only after the mesh is finished.
	scene::ISkinnedMesh* mesh = skinnedMesh(node);
	mesh->setHardwareSkinning(true);
	for (const WeightRecord& record : c.Weights)
	{
		scene::ISkinnedMesh::SWeight* weight = mesh->addWeight(mesh->getAllJoints()[record.Joint]);
		weight->buffer_id = record.Buffer;
		weight->vertex_id = record.Vertex;
		weight->strength = record.Strength;
	}

	EXPECT_EQ("Joint Num: " + std::to_string(c.JointCount) + ", current limit is 55 joints.\n",
		printedBy([&] { Callback->attachToNode(Device, node, 17); }));
	for (u32 v = 0; v < c.Expected.size(); ++v)
		EXPECT_EQ(c.Expected[v], colour(node, v)) << "vertex " << v;
}

INSTANTIATE_TEST_SUITE_P(Cases, Packing, ::testing::Values(
	PackingCase{ "NoWeightClearsTheColour", 2, { { 1, 0, 1 } }, { 0, packed(2, 0, 0, 0), 0, 0 } },
	PackingCase{ "JointIndexZeroIsNumberOne", 1, { { 0, 0, 0 } }, { packed(1, 0, 0, 0), 0, 0, 0 } },
	PackingCase{ "FifthJointIsDropped", 5,
		{ { 4, 0, 0 }, { 0, 0, 0 }, { 3, 0, 0 }, { 1, 0, 0 }, { 2, 0, 0 } },
		{ packed(1, 2, 3, 4), 0, 0, 0 } },
	PackingCase{ "SameJointTwiceTakesTwoChannels", 3, { { 2, 0, 3 }, { 2, 0, 3 } },
		{ 0, 0, 0, packed(3, 3, 0, 0) } },
	PackingCase{ "JointNumber256WritesZero", 257, { { 255, 0, 0 }, { 256, 0, 0 } },
		{ packed(1, 0, 0, 0), 0, 0, 0 } },
	PackingCase{ "RecordsOutsideTheMeshAreSkipped", 2,
		{ { 0, 0, 4 }, { 0, 7, 0 }, { 0, 0, 0xffffffffu }, { 1, 0, 2 } },
		{ 0, 0, packed(2, 0, 0, 0), 0 } },
	PackingCase{ "NoJoints", 0, {}, { 0, 0, 0, 0 } },
	PackingCase{ "SixtyJointsAreNotRefused", 60, { { 59, 0, 1 } }, { 0, packed(60, 0, 0, 0), 0, 0 } }),
	caseName<PackingCase>);

struct WeightsCase : NamedCase
{
	std::vector<f32> Strengths; // of joints 0, 1, ... on vertex 0
	u32 Expected;               // the packed colour of vertex 0
	std::vector<f32> Weights;   // the weights of the packed joints, in channel order
};

class Weights : public SkinningTest, public ::testing::WithParamInterface<WeightsCase>
{
};

TEST_P(Weights, TravelWithTheJointsScaledToSumToOne)
{
	const WeightsCase& c = GetParam();
	std::vector<WeightRecord> records;
	for (u32 j = 0; j < c.Strengths.size(); ++j)
		records.push_back({ j, 0, 0, c.Strengths[j] });
	scene::IAnimatedMeshSceneNode* node = makeNode(c.Strengths.size(), records);
	attachQuietly(node);

	const video::S3DVertexTangents& vertex = packedVertex(node, 0);
	EXPECT_EQ(c.Expected, vertex.Color.color);
	// The first three weights travel in the tangent; the fourth is what is left.
	const f32 travelling[4] = { vertex.Tangent.X, vertex.Tangent.Y, vertex.Tangent.Z,
		1.f - vertex.Tangent.X - vertex.Tangent.Y - vertex.Tangent.Z };
	for (u32 k = 0; k < 4; ++k)
	{
		// An empty fourth channel is left whatever remains; it moves nothing.
		if (k < c.Weights.size() || k < 3)
		{
			EXPECT_NEAR(k < c.Weights.size() ? c.Weights[k] : 0.f, travelling[k], 1e-6f) << "channel " << k;
		}
	}
}

INSTANTIATE_TEST_SUITE_P(Cases, Weights, ::testing::Values(
	WeightsCase{ "OneJointWeighsOne", { 0.4f }, packed(1, 0, 0, 0), { 1 } },
	WeightsCase{ "UnequalWeightsKeepTheirRatio", { 0.3f, 0.1f }, packed(1, 2, 0, 0), { 0.75f, 0.25f } },
	WeightsCase{ "FourUnequal", { 0.4f, 0.3f, 0.2f, 0.1f }, packed(1, 2, 3, 4), { 0.4f, 0.3f, 0.2f, 0.1f } },
	WeightsCase{ "FifthAndStrongestIsKept", { 0.1f, 0.1f, 0.1f, 0.1f, 0.6f }, packed(1, 2, 3, 5),
		{ 0.1f / 0.9f, 0.1f / 0.9f, 0.1f / 0.9f, 0.6f / 0.9f } },
	WeightsCase{ "EqualWeakestGoLaterFirst", { 0.2f, 0.1f, 0.2f, 0.1f, 0.2f, 0.2f }, packed(1, 3, 5, 6),
		{ 0.25f, 0.25f, 0.25f, 0.25f } },
	WeightsCase{ "WeightlessJointsPullNothing", { 0.f, 0.f }, 0, {} }),
	caseName<WeightsCase>);

TEST_F(SkinningTest, TheModelsColourTravelsInTheBinormal)
{
	scene::IAnimatedMeshSceneNode* node = makeNode(1, { { 0, 0, 2 } }, 4, 1, video::SColor(255, 204, 102, 51));
	attachQuietly(node);
	for (u32 v = 0; v < 4; ++v)
	{
		const video::S3DVertexTangents& vertex = packedVertex(node, v);
		EXPECT_FLOAT_EQ(0.8f, vertex.Binormal.X) << "vertex " << v;
		EXPECT_FLOAT_EQ(0.4f, vertex.Binormal.Y) << "vertex " << v;
		EXPECT_FLOAT_EQ(0.2f, vertex.Binormal.Z) << "vertex " << v;
	}
	EXPECT_EQ(packed(1, 0, 0, 0), packedVertex(node, 2).Color.color);
}

TEST_F(SkinningTest, PackingCoversEveryBuffer)
{
	scene::IAnimatedMeshSceneNode* node = makeNode(2, { { 0, 0, 0 }, { 1, 1, 3 }, { 0, 1, 3 } }, 4, 2);
	attachQuietly(node);
	EXPECT_EQ(packed(1, 0, 0, 0), colour(node, 0, 0));
	EXPECT_EQ(0u, colour(node, 0, 1));
	EXPECT_EQ(packed(1, 2, 0, 0), colour(node, 3, 1));
}

struct MaterialCase : NamedCase
{
	video::E_DRIVER_TYPE Driver;
	bool Lighting;
	const char* File;
	const char* EntryPoint;
};

class Material : public SkinningTest, public ::testing::WithParamInterface<MaterialCase>
{
};

TEST_P(Material, ChosenByRendererAndLightingAndGivenToEveryMaterial)
{
	const MaterialCase& c = GetParam();
	Device->Driver.Type = c.Driver;
	scene::IAnimatedMeshSceneNode* node = makeNode(1, { { 0, 0, 0 } }, 4, 3);
	ASSERT_EQ(3u, node->getMaterialCount());
	node->setMaterialFlag(video::EMF_LIGHTING, c.Lighting);

	attachQuietly(node);
	// Later changes of the flag do not change the program chosen.
	node->setMaterialFlag(video::EMF_LIGHTING, !c.Lighting);

	const std::vector<RecordingGpuServices::Registration>& registrations = Device->Driver.Gpu.Registrations;
	ASSERT_EQ(1u, registrations.size());
	EXPECT_EQ(c.File, registrations[0].File);
	EXPECT_EQ(c.EntryPoint, registrations[0].EntryPoint);
	EXPECT_EQ(video::EVST_VS_2_0, registrations[0].VertexTarget);
	EXPECT_EQ("", registrations[0].PixelFile);
	EXPECT_EQ("", registrations[0].PixelEntryPoint);
	EXPECT_EQ(video::EPST_PS_2_0, registrations[0].PixelTarget);
	EXPECT_EQ(Callback, registrations[0].Callback);
	EXPECT_EQ(video::EMT_SOLID, registrations[0].BaseMaterial);
	EXPECT_EQ(0, registrations[0].UserData);
	for (u32 i = 0; i < node->getMaterialCount(); ++i)
		EXPECT_EQ(30, node->getMaterial(i).MaterialType) << "material " << i;
}

INSTANTIATE_TEST_SUITE_P(Renderers, Material, ::testing::Values(
	MaterialCase{ "OpenGLUnlit", video::EDT_OPENGL, false, "HWSkinV.glsl", "main" },
	MaterialCase{ "OpenGLLit", video::EDT_OPENGL, true, "HWSkinV_lights.glsl", "main" },
	MaterialCase{ "Direct3D9Unlit", video::EDT_DIRECT3D9, false, "HWSkin.hlsl", "vertexMain" },
	MaterialCase{ "Direct3D9Lit", video::EDT_DIRECT3D9, true, "HWSkin.hlsl", "vertexMain" }),
	caseName<MaterialCase>);

// Under Direct3D 9 the engine feeds a tangent vertex to the vertex program
// as position, normal, colour and three texture coordinate sets; the HLSL
// program must read the joints, weights and colour where they are packed.
TEST_F(SkinningTest, Direct3D9VertexInputIsWhatThePackedVertexHolds)
{
	Device->Driver.Type = video::EDT_DIRECT3D9;
	scene::IAnimatedMeshSceneNode* node = makeNode(2, { { 0, 0, 0, 0.75f }, { 1, 0, 0, 0.25f } }, 4, 1,
		video::SColor(255, 102, 51, 204));
	attachQuietly(node);
	ASSERT_EQ("HWSkin.hlsl", Device->Driver.Gpu.Registrations.at(0).File);
	const video::S3DVertexTangents& vertex = packedVertex(node, 0);
	EXPECT_EQ(packed(1, 2, 0, 0), vertex.Color.color);
	EXPECT_EQ(core::vector3df(0.75f, 0.25f, 0), vertex.Tangent);
	EXPECT_EQ(core::vector3df(0.4f, 0.2f, 0.8f), vertex.Binormal);

	std::ifstream file("HWSkin.hlsl");
	std::stringstream text;
	text << file.rdbuf();
	std::smatch block;
	const std::string source = text.str();
	ASSERT_TRUE(std::regex_search(source, block, std::regex("struct VertexInput\\s*\\{([^}]*)\\}")));
	std::map<std::string, std::string> inputs; // semantic -> type
	const std::string members = block[1];
	const std::regex member("(\\w+)\\s+\\w+\\s*:\\s*(\\w+)\\s*;");
	for (std::sregex_iterator m(members.begin(), members.end(), member), end; m != end; ++m)
		inputs[(*m)[2]] = (*m)[1];
	const std::map<std::string, std::string> tangentVertex = { { "POSITION", "float4" }, { "NORMAL", "float3" },
		{ "COLOR0", "float4" }, { "TEXCOORD0", "float2" }, { "TEXCOORD1", "float3" }, { "TEXCOORD2", "float3" } };
	EXPECT_EQ(tangentVertex, inputs);
}

TEST_F(SkinningTest, LightingIsTakenFromTheFirstMaterial)
{
	scene::IAnimatedMeshSceneNode* node = makeNode(1, { { 0, 0, 0 } }, 4, 2);
	node->getMaterial(0).Lighting = false;
	node->getMaterial(1).Lighting = true;
	Device->Driver.Type = video::EDT_OPENGL;
	attachQuietly(node);
	EXPECT_EQ("HWSkinV.glsl", Device->Driver.Gpu.Registrations.at(0).File);
}

TEST_F(SkinningTest, AFailedShaderLeavesMeshAndMaterialsToTheEngine)
{
	scene::IAnimatedMeshSceneNode* node = makeNode(1, { { 0, 0, 0 } }, 4, 2);
	Device->Driver.Gpu.MaterialType = -1;
	std::string printed;
	const std::string errors = errorsOf([&] { printed = printedBy([&] { Callback->attachToNode(Device, node, 17); }); });
	EXPECT_EQ("", printed);
	EXPECT_NE(std::string::npos, errors.find("\"HWSkin.hlsl\" could not be built"));

	for (u32 i = 0; i < node->getMaterialCount(); ++i)
		EXPECT_EQ(video::EMT_SOLID, node->getMaterial(i).MaterialType);
	EXPECT_EQ(0xffffffffu, colour(node, 0));
	EXPECT_EQ(video::EVT_STANDARD, skinnedMesh(node)->getMeshBuffers()[0]->getVertexType());
}

TEST_F(SkinningTest, AMissingVertexProgramIsNotRegistered)
{
	io::IFileSystem* files = Real->getFileSystem();
	const io::path workingDirectory = files->getWorkingDirectory();
	files->changeWorkingDirectoryTo("/");
	scene::IAnimatedMeshSceneNode* node = makeNode(1, { { 0, 0, 0 } });
	const std::string errors = errorsOf([&] { Callback->attachToNode(Device, node, 17); });
	files->changeWorkingDirectoryTo(workingDirectory);
	EXPECT_NE(std::string::npos, errors.find("\"HWSkin.hlsl\" is missing or empty"));
	EXPECT_TRUE(Device->Driver.Gpu.Registrations.empty());
	EXPECT_EQ(video::EMT_SOLID, node->getMaterial(0).MaterialType);
}

TEST_F(SkinningTest, ANodeWithoutSkinnedMeshIsLeftAlone)
{
	scene::IMesh* cube = Real->getSceneManager()->getGeometryCreator()->createCubeMesh();
	scene::SAnimatedMesh* animated = new scene::SAnimatedMesh(cube);
	cube->drop();
	scene::IAnimatedMeshSceneNode* node = Real->getSceneManager()->addAnimatedMeshSceneNode(animated);
	animated->drop();

	EXPECT_NE(std::string::npos, errorsOf([&] { Callback->attachToNode(Device, node, 17); }).find("not a skinned mesh"));
	EXPECT_TRUE(Device->Driver.Gpu.Registrations.empty());
	EXPECT_EQ(video::EMT_SOLID, node->getMaterial(0).MaterialType);

	// Without a mesh the interval still runs, but nothing is uploaded.
	EXPECT_FALSE(uploadsPalette(draw(100)));
	scene::IAnimatedMeshSceneNode* skinned = makeNode(1, { { 0, 0, 0 } });
	attachQuietly(skinned, 0);
	EXPECT_FALSE(uploadsPalette(draw(105))) << "the call at 100 ms started the interval";
	EXPECT_TRUE(uploadsPalette(draw(117)));
}

// Attaches a one-joint mesh under the given renderer and lighting.
class Constants : public SkinningTest
{
protected:
	void attach(video::E_DRIVER_TYPE driver, bool lighting, u32 interval = 17, u32 joints = 1)
	{
		Device->Driver.Type = driver;
		scene::IAnimatedMeshSceneNode* node = makeNode(joints, {});
		node->setMaterialFlag(video::EMF_LIGHTING, lighting);
		attachQuietly(node, interval);
		Mesh = skinnedMesh(node);
	}

	scene::ISkinnedMesh* Mesh = 0;
};

struct ConstantsCase : NamedCase
{
	video::E_DRIVER_TYPE Driver;
	bool Lighting;
	std::vector<std::string> Names;
	std::vector<size_t> Counts;
};

class ConstantOrder : public Constants, public ::testing::WithParamInterface<ConstantsCase>
{
};

TEST_P(ConstantOrder, NamesAndSizesPerRendererAndLighting)
{
	const ConstantsCase& c = GetParam();
	attach(c.Driver, c.Lighting, 17, 3);
	const RecordingServices services = draw(1000);
	EXPECT_EQ(c.Names, services.names());
	for (size_t i = 0; i < c.Counts.size() && i < services.Constants.size(); ++i)
		EXPECT_EQ(c.Counts[i], services.Constants[i].Floats.size()) << c.Names[i];
	// Between palette uploads only the per-draw constants remain.
	std::vector<std::string> perDraw(c.Names.begin(), c.Names.end() - 1);
	EXPECT_EQ(perDraw, draw(1005).names());
}

INSTANTIATE_TEST_SUITE_P(Renderers, ConstantOrder, ::testing::Values(
	ConstantsCase{ "OpenGLUnlit", video::EDT_OPENGL, false, { "JointTransform" }, { 48 } },
	ConstantsCase{ "OpenGLLit", video::EDT_OPENGL, true, { "JointTransform" }, { 48 } },
	ConstantsCase{ "Direct3D9Unlit", video::EDT_DIRECT3D9, false, { "mWorldViewProj", "mWorld", "JointTransform" }, { 16, 16, 48 } },
	ConstantsCase{ "Direct3D9Lit", video::EDT_DIRECT3D9, true,
		{ "mWorldViewProj", "mWorld", "lightPosArray", "lightColorArray", "JointTransform" },
		{ 16, 16, 24, 32, 48 } }),
	caseName<ConstantsCase>);

TEST_F(Constants, TransformsAreProjectionViewWorld)
{
	attach(video::EDT_DIRECT3D9, false);
	core::matrix4& view = Device->Driver.Transforms[video::ETS_VIEW];
	core::matrix4& world = Device->Driver.Transforms[video::ETS_WORLD];
	core::matrix4& projection = Device->Driver.Transforms[video::ETS_PROJECTION];
	view.setRotationDegrees(core::vector3df(10, 20, 30));
	view.setTranslation(core::vector3df(1, 2, 3));
	world.setScale(core::vector3df(2, 3, 4));
	world.setTranslation(core::vector3df(5, 6, 7));
	projection.buildProjectionMatrixPerspectiveFovLH(1.f, 4.f / 3.f, 1.f, 100.f);

	const RecordingServices services = draw(1000);
	const core::matrix4 expected = projection * view * world;
	for (int i = 0; i < 16; ++i)
	{
		EXPECT_FLOAT_EQ(expected[i], services.Constants[0].Floats[i]) << "element " << i;
		EXPECT_FLOAT_EQ(world[i], services.Constants[1].Floats[i]) << "element " << i;
	}
}

TEST_F(Constants, LightEntriesBeyondTheLightsAreZero)
{
	attach(video::EDT_DIRECT3D9, true);
	for (int i = 0; i < 4; ++i)
	{
		video::SLight light;
		light.Position = core::vector3df(f32(i), 10.f + i, 20.f + i);
		light.DiffuseColor = video::SColorf(0.1f * i, 0.2f, 0.3f, 0.f);
		Device->Driver.Lights.push_back(light);
	}
	const RecordingServices services = draw(1000);
	const std::vector<f32>& positions = services.Constants[2].Floats;
	const std::vector<f32>& colours = services.Constants[3].Floats;
	for (int e = 0; e < 8; ++e)
	{
		const bool present = e < 4;
		EXPECT_FLOAT_EQ(present ? f32(e) : 0.f, positions[3 * e]);
		EXPECT_FLOAT_EQ(present ? 10.f + e : 0.f, positions[3 * e + 1]);
		EXPECT_FLOAT_EQ(present ? 20.f + e : 0.f, positions[3 * e + 2]);
		EXPECT_FLOAT_EQ(present ? 0.1f * e : 0.f, colours[4 * e]);
		EXPECT_FLOAT_EQ(present ? 0.2f : 0.f, colours[4 * e + 1]);
		EXPECT_FLOAT_EQ(present ? 0.3f : 0.f, colours[4 * e + 2]);
		EXPECT_FLOAT_EQ(0.f, colours[4 * e + 3]);
	}
}

TEST_F(Constants, OnlyTheFirstEightLightsArePassed)
{
	attach(video::EDT_DIRECT3D9, true);
	for (int i = 0; i < 10; ++i)
	{
		video::SLight light;
		light.Position = core::vector3df(f32(i + 1), 0, 0);
		Device->Driver.Lights.push_back(light);
	}
	const RecordingServices services = draw(1000);
	ASSERT_EQ(24u, services.Constants[2].Floats.size());
	EXPECT_FLOAT_EQ(8.f, services.Constants[2].Floats[21]);
}

struct IntervalCase : NamedCase
{
	u32 Interval;
	std::vector<std::pair<u32, bool>> Draws; // real time, palette uploaded
};

class Interval : public Constants, public ::testing::WithParamInterface<IntervalCase>
{
};

TEST_P(Interval, PaletteIsUploadedAtMostOncePerInterval)
{
	attach(video::EDT_DIRECT3D9, false, GetParam().Interval);
	for (const std::pair<u32, bool>& d : GetParam().Draws)
	{
		const RecordingServices services = draw(d.first);
		EXPECT_EQ(d.second, uploadsPalette(services)) << "at " << d.first << " ms";
		EXPECT_EQ("mWorldViewProj", services.Constants.at(0).Name) << "at " << d.first << " ms";
	}
}

INSTANTIATE_TEST_SUITE_P(Cases, Interval, ::testing::Values(
	IntervalCase{ "FirstCallOnceTheClockReachesTheInterval", 17, { { 16, false }, { 17, true } } },
	IntervalCase{ "HoldsFor5AndUploadsAt17", 17, { { 100, true }, { 105, false }, { 116, false }, { 117, true } } },
	IntervalCase{ "ClockWrapAround", 17, { { 0xfffffffau, true }, { 10, false }, { 11, true } } },
	IntervalCase{ "ZeroUploadsEveryCall", 0, { { 0, true }, { 0, true }, { 1, true } } }),
	caseName<IntervalCase>);

TEST_F(Constants, AttachingWithIntervalZeroKeepsTheCurrentInterval)
{
	attach(video::EDT_OPENGL, false, 17);
	attach(video::EDT_OPENGL, false, 0);
	EXPECT_TRUE(uploadsPalette(draw(100)));
	EXPECT_FALSE(uploadsPalette(draw(110)));
}

TEST_F(Constants, PaletteEntryIsAnimatedTimesInversedBindPose)
{
	attach(video::EDT_OPENGL, false, 17, 2);
	scene::ISkinnedMesh::SJoint* joint = Mesh->getAllJoints()[1];
	joint->GlobalAnimatedMatrix.makeIdentity();
	joint->GlobalAnimatedMatrix.setTranslation(core::vector3df(1, 2, 3));
	joint->GlobalInversedMatrix.makeIdentity();
	joint->GlobalInversedMatrix.setScale(core::vector3df(2, 2, 2));

	const std::vector<f32> palette = draw(1000).Constants.at(0).Floats;
	ASSERT_EQ(32u, palette.size());
	const f32 expected[16] = { 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 1, 2, 3, 1 };
	for (int i = 0; i < 16; ++i)
		EXPECT_FLOAT_EQ(expected[i], palette[16 + i]) << "element " << i;
}

TEST_F(Constants, MeshWithoutJointsGetsAnEmptyPalette)
{
	attach(video::EDT_OPENGL, false, 17, 0);
	const RecordingServices services = draw(1000);
	ASSERT_EQ(1u, services.Constants.size());
	EXPECT_EQ("JointTransform", services.Constants[0].Name);
	EXPECT_TRUE(services.Constants[0].Floats.empty());
}

TEST_F(Constants, ArrayRefusedByItsNameIsSetByItsFirstElement)
{
	attach(video::EDT_OPENGL, false, 17, 2);
	Device->Timer.RealTime = 1000;
	RecordingServices services(&Device->Driver);
	services.Refused.insert("JointTransform");
	Callback->OnSetConstants(&services, 0);
	ASSERT_EQ((std::vector<std::string>{ "JointTransform", "JointTransform[0]" }), services.names());
	EXPECT_EQ(services.Constants[0].Floats, services.Constants[1].Floats);
	EXPECT_EQ(32u, services.Constants[1].Floats.size());
}

// The palette follows the pose drawn: every draw is at a device time (the
// frame's) and a real time, with the only joint moved to a pose.
struct PoseStep
{
	u32 Time;
	u32 RealTime;
	f32 Pose; // the joint's translation along x
	bool Uploaded;
};

struct PoseCase : NamedCase
{
	std::vector<PoseStep> Steps;
};

class PoseFollowing : public Constants, public ::testing::WithParamInterface<PoseCase>
{
};

TEST_P(PoseFollowing, UploadsEveryPoseOnlyWhileTheCrowdIsOutOfStep)
{
	attach(video::EDT_OPENGL, false, 17);
	scene::ISkinnedMesh::SJoint* joint = Mesh->getAllJoints()[0];
	for (const PoseStep& step : GetParam().Steps)
	{
		Device->Timer.Time = step.Time;
		Device->Timer.RealTime = step.RealTime;
		joint->GlobalAnimatedMatrix.makeIdentity();
		joint->GlobalAnimatedMatrix.setTranslation(core::vector3df(step.Pose, 0, 0));
		RecordingServices services(&Device->Driver);
		Callback->OnSetConstants(&services, 0);
		const std::string at = "pose " + std::to_string(step.Pose) + " at " + std::to_string(step.Time) + " ms";
		ASSERT_EQ(step.Uploaded, uploadsPalette(services)) << at;
		if (step.Uploaded)
		{
			EXPECT_FLOAT_EQ(step.Pose, services.Constants.back().Floats.at(12)) << at;
		}
	}
}

INSTANTIATE_TEST_SUITE_P(Cases, PoseFollowing, ::testing::Values(
	PoseCase{ "InStepOncePerInterval", { { 100, 100, 1, true }, { 100, 100, 1, false }, { 100, 101, 1, false },
		{ 105, 105, 2, false }, { 105, 106, 2, false }, { 117, 117, 3, true }, { 117, 118, 3, false } } },
	PoseCase{ "SecondPoseInAFrameIsUploaded", { { 100, 100, 1, true }, { 100, 101, 2, true },
		{ 100, 101, 1, true }, { 100, 102, 1, false } } },
	PoseCase{ "OutOfStepHoldsIntoTheNextFrame", { { 100, 100, 1, true }, { 100, 101, 2, true },
		{ 105, 105, 3, true }, { 105, 106, 3, false }, { 105, 106, 4, true } } },
	PoseCase{ "AFrameInStepEndsIt", { { 100, 100, 1, true }, { 100, 101, 2, true }, { 105, 105, 3, true },
		{ 105, 106, 3, false }, { 110, 110, 4, false }, { 110, 111, 4, false }, { 117, 117, 5, true } } },
	PoseCase{ "FirstDrawOfAFrameAloneIsNoVerdict", { { 100, 100, 1, true }, { 105, 105, 2, false },
		{ 105, 106, 2, false }, { 110, 110, 3, false } } },
	PoseCase{ "FramesSetOnAStoppedClock", { { 50, 100, 1, true }, { 50, 120, 1, true }, { 50, 125, 2, true },
		{ 50, 126, 2, false }, { 50, 127, 3, true } } }),
	caseName<PoseCase>);

TEST_F(Constants, APaletteOfOtherSizeIsAnotherPose)
{
	attach(video::EDT_OPENGL, false, 17, 1);
	Device->Timer.Time = 100;
	EXPECT_TRUE(uploadsPalette(draw(100)));
	attach(video::EDT_OPENGL, false, 17, 2);
	EXPECT_TRUE(uploadsPalette(draw(101))) << "the second mesh's pose differs within the same frame";
	EXPECT_EQ(32u, draw(117).Constants.at(0).Floats.size());
}
