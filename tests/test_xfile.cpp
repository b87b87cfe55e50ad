// The .x writer: what it writes, the engine's loader reads back as it was
// described (joints, weights, materials, vertex colours, animation).

#include "XFile.h"

#include <irrlicht.h>

#include <gtest/gtest.h>

#include <cmath>
#include <locale>
#include <map>
#include <tuple>

using namespace irr;

namespace
{

// A tube standing on the y axis, ten units a joint, with a chain of joints
// up its middle. Each ring of eight vertices is moved by the two joints
// nearest to it, more by the nearer one.
const int JointCount = 4;
const int RingCount = 2 * JointCount + 1;
const int RingVertices = 8;
const float Pi = 3.14159265f;

xfile::Model tube()
{
	xfile::Model model;
	xfile::Mesh mesh;
	for (int j = 0; j < JointCount; ++j)
	{
		const std::string name = "Joint" + std::to_string(j);
		model.Frames.push_back({name, j - 1, xfile::translation({0, j ? 10.f : 0.f, 0})});
		mesh.Skin.push_back({name, {}, xfile::translation({0, -10.f * j, 0})});
	}
	for (int r = 0; r < RingCount; ++r)
	{
		const float y = 5.f * r;
		for (int k = 0; k < RingVertices; ++k)
		{
			const float a = 2 * Pi * k / RingVertices;
			const unsigned v = static_cast<unsigned>(mesh.Positions.size());
			mesh.Positions.push_back({3 * std::cos(a), y, 3 * std::sin(a)});
			mesh.Normals.push_back({std::cos(a), 0, std::sin(a)});
			mesh.Colours.push_back({0.25f * (r % 4), 0.5f, 1, 1});
			// Rings between two joints lean towards the lower one.
			const int below = std::min(r / 2, JointCount - 1);
			if (r % 2 == 0 || below + 1 == JointCount)
				mesh.Skin[below].Weights.push_back({v, 1});
			else
			{
				mesh.Skin[below].Weights.push_back({v, 0.75f});
				mesh.Skin[below + 1].Weights.push_back({v, 0.25f});
			}
			if (r > 0)
			{
				const unsigned next = v - RingVertices + (k + 1) % RingVertices - k;
				mesh.Triangles.push_back({v - RingVertices, v, next});
				mesh.Triangles.push_back({next, v, next + RingVertices});
				mesh.FaceMaterials.push_back(r > RingCount / 2);
				mesh.FaceMaterials.push_back(r > RingCount / 2);
			}
		}
	}
	xfile::Material red;
	red.Name = "Red";
	red.Diffuse = {0.8f, 0.2f, 0.1f, 1};
	red.SpecularPower = 12;
	red.Specular = {0.5f, 0.5f, 0.5f};
	red.Emissive = {0.1f, 0, 0};
	xfile::Material textured;
	textured.TextureFile = "dwarf.tga"; // made by the build beside the tests
	mesh.Materials = {red, textured};
	model.Meshes.push_back(mesh);

	// The top joint bends 90 degrees about the x axis at tick 10 and back.
	const float s = std::sin(Pi / 4);
	xfile::Animation bend{"Joint" + std::to_string(JointCount - 1), {}, {}, {}};
	bend.Rotations = {{0, {1, 0, 0, 0}}, {10, {s, s, 0, 0}}, {20, {1, 0, 0, 0}}};
	bend.Translations = {{0, {0, 10, 0}}, {20, {0, 10, 0}}};
	model.Animation = {"Bend", 25, {bend}};
	return model;
}

// Loads models written by the library with the engine's .x loader, from memory.
class XFileLoad : public ::testing::Test
{
protected:
	static void SetUpTestSuite()
	{
		Device = createDevice(video::EDT_NULL);
		Device->getLogger()->setLogLevel(ELL_ERROR);
	}

	static void TearDownTestSuite()
	{
		Device->drop();
	}

	// The mesh the engine makes of text, cached under name.
	static scene::IAnimatedMesh* load(std::string text, const char* name)
	{
		io::IReadFile* file = Device->getFileSystem()->createMemoryReadFile(text.data(), text.size(), name, false);
		scene::IAnimatedMesh* mesh = Device->getSceneManager()->getMesh(file);
		file->drop();
		return mesh;
	}

	static scene::ISkinnedMesh* loadSkinned(const std::string& text, const char* name)
	{
		scene::IAnimatedMesh* mesh = load(text, name);
		return mesh && mesh->getMeshType() == scene::EAMT_SKINNED ? static_cast<scene::ISkinnedMesh*>(mesh) : nullptr;
	}

	static IrrlichtDevice* Device;
};

IrrlichtDevice* XFileLoad::Device = nullptr;

TEST_F(XFileLoad, JointsFormTheChain)
{
	scene::ISkinnedMesh* mesh = loadSkinned(xfile::toText(tube()), "chain.x");
	ASSERT_TRUE(mesh);
	ASSERT_EQ(mesh->getJointCount(), u32(JointCount));
	for (int j = 0; j < JointCount; ++j)
	{
		const s32 number = mesh->getJointNumber(("Joint" + std::to_string(j)).c_str());
		ASSERT_GE(number, 0) << j;
		const auto* joint = mesh->getAllJoints()[number];
		EXPECT_EQ(joint->Children.size(), j + 1 < JointCount ? 1u : 0u) << j;
		EXPECT_EQ(joint->LocalMatrix.getTranslation(), core::vector3df(0, j ? 10.f : 0.f, 0)) << j;
	}
}

// Every vertex, found by its position, has the weights it was given.
TEST_F(XFileLoad, WeightsReachTheirVertices)
{
	const xfile::Model model = tube();
	scene::ISkinnedMesh* mesh = loadSkinned(xfile::toText(model), "weights.x");
	ASSERT_TRUE(mesh);
	using Key = std::pair<std::string, std::tuple<f32, f32, f32>>; // joint, position
	auto key = [](const std::string& joint, f32 x, f32 y, f32 z) {
		return Key(joint, {std::round(x * 100), std::round(y * 100), std::round(z * 100)});
	};
	std::map<Key, f32> expected, loaded;
	for (const xfile::SkinWeights& skin : model.Meshes[0].Skin)
		for (const xfile::Weight& w : skin.Weights)
		{
			const xfile::Vector3 p = model.Meshes[0].Positions[w.Vertex];
			expected[key(skin.Joint, p.X, p.Y, p.Z)] = w.Strength;
		}
	const auto& joints = mesh->getAllJoints();
	for (u32 j = 0; j < joints.size(); ++j)
		for (u32 i = 0; i < joints[j]->Weights.size(); ++i)
		{
			const auto* joint = joints[j];
			const auto& w = joint->Weights[i];
			const core::vector3df p = mesh->getMeshBuffer(w.buffer_id)->getPosition(w.vertex_id);
			loaded[key(joint->Name.c_str(), p.X, p.Y, p.Z)] = w.strength;
		}
	ASSERT_EQ(loaded.size(), expected.size());
	for (const auto& [k, strength] : expected)
		EXPECT_NEAR(loaded[k], strength, 1e-5f) << k.first << " at height " << std::get<1>(k.second) / 100;
}

TEST_F(XFileLoad, MaterialsAndColoursArriveAsDescribed)
{
	scene::ISkinnedMesh* mesh = loadSkinned(xfile::toText(tube()), "materials.x");
	ASSERT_TRUE(mesh);
	ASSERT_EQ(mesh->getMeshBufferCount(), 2u) << "one buffer per material";
	const video::SMaterial& red = mesh->getMeshBuffer(0)->getMaterial();
	EXPECT_EQ(red.DiffuseColor, video::SColorf(0.8f, 0.2f, 0.1f, 1).toSColor());
	EXPECT_EQ(red.SpecularColor, video::SColorf(0.5f, 0.5f, 0.5f).toSColor());
	EXPECT_EQ(red.EmissiveColor, video::SColorf(0.1f, 0, 0).toSColor());
	EXPECT_FLOAT_EQ(red.Shininess, 12);
	EXPECT_FALSE(red.getTexture(0));
	EXPECT_TRUE(mesh->getMeshBuffer(1)->getMaterial().getTexture(0)) << "dwarf.tga in the working directory";

	// The vertex colours, found by the height of their ring.
	for (u32 b = 0; b < mesh->getMeshBufferCount(); ++b)
	{
		const scene::IMeshBuffer* buffer = mesh->getMeshBuffer(b);
		ASSERT_EQ(buffer->getVertexType(), video::EVT_STANDARD);
		const auto* vertices = static_cast<const video::S3DVertex*>(buffer->getVertices());
		for (u32 v = 0; v < buffer->getVertexCount(); ++v)
		{
			const int ring = static_cast<int>(std::round(vertices[v].Pos.Y / 5));
			EXPECT_EQ(vertices[v].Color, video::SColorf(0.25f * (ring % 4), 0.5f, 1, 1).toSColor()) << "ring " << ring;
		}
	}
}

// At tick 10 the top joint has turned +y towards +z.
TEST_F(XFileLoad, AnimationBendsTheTopJoint)
{
	scene::ISkinnedMesh* mesh = loadSkinned(xfile::toText(tube()), "animation.x");
	ASSERT_TRUE(mesh);
	EXPECT_EQ(mesh->getFrameCount(), 20u);
	auto* top = mesh->getAllJoints()[mesh->getJointNumber(("Joint" + std::to_string(JointCount - 1)).c_str())];
	for (const auto& [frame, end] : {std::pair<f32, core::vector3df>{0, {0, 40, 0}}, {10, {0, 30, 10}}})
	{
		mesh->animateMesh(frame, 1);
		mesh->skinMesh();
		core::vector3df p(0, 10, 0);
		top->GlobalAnimatedMatrix.transformVect(p);
		EXPECT_TRUE(p.equals(end, 1e-3f)) << "frame " << frame << ": " << p.X << ", " << p.Y << ", " << p.Z;
	}
}

// The static box of a model without frames or skin.
TEST_F(XFileLoad, StaticMeshHasNoJoints)
{
	xfile::Mesh box;
	box.Positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
	box.Triangles = {{0, 2, 1}};
	scene::IAnimatedMesh* mesh = load(xfile::toText({{}, {box}, {}}), "static.x");
	ASSERT_TRUE(mesh);
	ASSERT_EQ(mesh->getMeshBufferCount(), 1u);
	EXPECT_EQ(mesh->getMeshBuffer(0)->getVertexCount(), 3u);
	EXPECT_EQ(mesh->getMeshBuffer(0)->getIndexCount(), 3u);
}

// A decimal comma in the program's locale does not reach the file.
struct DecimalComma : std::numpunct<char>
{
	char do_decimal_point() const override { return ','; }
};

TEST(XFileText, IsTheSameInAnotherLocale)
{
	const std::string plain = xfile::toText(tube());
	const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new DecimalComma));
	const std::string comma = xfile::toText(tube());
	std::locale::global(previous);
	EXPECT_TRUE(plain == comma);
	EXPECT_EQ(plain.rfind("xof 0303txt 0032\n", 0), 0u);
	EXPECT_NE(plain.find("0.750000"), std::string::npos);
}

} // namespace
