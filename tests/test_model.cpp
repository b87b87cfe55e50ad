// The character model as the engine loads it (dwarf.x in the working
// directory, made by the build), and the generator's handling of bad output
// directories and the sameness of its output.

#include "support/TemporaryDirectory.h"

#include <irrlicht.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <sys/wait.h>
#include <vector>

using namespace irr;
namespace fs = std::filesystem;

namespace
{

class DwarfModel : public ::testing::Test
{
protected:
	static void SetUpTestSuite()
	{
		Device = createDevice(video::EDT_NULL);
		Device->getLogger()->setLogLevel(ELL_ERROR);
		Mesh = Device->getSceneManager()->getMesh("dwarf.x");
	}

	static void TearDownTestSuite()
	{
		Device->drop();
	}

	void SetUp() override
	{
		ASSERT_TRUE(Mesh) << "the engine cannot load dwarf.x from the working directory";
		ASSERT_EQ(Mesh->getMeshType(), scene::EAMT_SKINNED);
		Skinned = static_cast<scene::ISkinnedMesh*>(Mesh);
	}

	scene::ISkinnedMesh::SJoint* joint(const char* name)
	{
		const s32 number = Skinned->getJointNumber(name);
		return number < 0 ? nullptr : Skinned->getAllJoints()[number];
	}

	// Where a joint carries a few points of its own space at a frame.
	std::vector<core::vector3df> jointPoints(const char* name, f32 frame)
	{
		Skinned->animateMesh(frame, 1);
		Skinned->skinMesh(); // this builds the joints' global matrices
		std::vector<core::vector3df> points = {{0, 0, 0}, {0, -5, 0}, {0, 0, -5}};
		for (core::vector3df& p : points)
			joint(name)->GlobalAnimatedMatrix.transformVect(p);
		return points;
	}

	// Where a joint is in the bind pose: its offset matrix inverted.
	core::vector3df bindPosition(const char* name)
	{
		core::matrix4 bindPose;
		joint(name)->GlobalInversedMatrix.getInverse(bindPose);
		return bindPose.getTranslation();
	}

	static IrrlichtDevice* Device;
	static scene::IAnimatedMesh* Mesh;
	scene::ISkinnedMesh* Skinned = nullptr;
};

IrrlichtDevice* DwarfModel::Device = nullptr;
scene::IAnimatedMesh* DwarfModel::Mesh = nullptr;

TEST_F(DwarfModel, AnimationLastsAtLeastTwoSeconds)
{
	ASSERT_GT(Mesh->getFrameCount(), 1u);
	const f32 seconds = Mesh->getFrameCount() / Mesh->getAnimationSpeed();
	EXPECT_GE(seconds, 2.f);
	EXPECT_LE(seconds, 10.f);
}

TEST_F(DwarfModel, JointsFormABodyHierarchy)
{
	const u32 count = Skinned->getAllJoints().size();
	EXPECT_GE(count, 20u);
	EXPECT_LE(count, 40u);

	const auto& all = Skinned->getAllJoints();
	std::map<const scene::ISkinnedMesh::SJoint*, const scene::ISkinnedMesh::SJoint*> parents;
	for (u32 j = 0; j < all.size(); ++j)
		for (u32 c = 0; c < all[j]->Children.size(); ++c)
			parents[all[j]->Children[c]] = all[j];
	auto descends = [&](const char* name, const char* ancestor) {
		for (const auto* j = joint(name); j; j = parents.count(j) ? parents[j] : nullptr)
			if (j == joint(ancestor))
				return true;
		return false;
	};
	const char* chains[][2] = {
		{"Head", "Neck"}, {"Neck", "Chest"}, {"Chest", "Spine"}, {"Spine", "Pelvis"},
		{"LeftHand", "Chest"}, {"RightHand", "Chest"}, {"LeftFoot", "Pelvis"}, {"RightFoot", "Pelvis"},
		{"Beard", "Head"}, {"Axe", "RightHand"},
	};
	for (const auto& chain : chains)
	{
		ASSERT_TRUE(joint(chain[0])) << chain[0];
		ASSERT_TRUE(joint(chain[1])) << chain[1];
		EXPECT_TRUE(descends(chain[0], chain[1])) << chain[0] << " is not below " << chain[1];
	}
}

// Each vertex's weights as the engine loaded them: joint number and strength.
using VertexId = std::pair<u32, u32>; // buffer, vertex
using Influences = std::map<VertexId, std::vector<std::pair<u32, f32>>>;

Influences influences(scene::ISkinnedMesh* mesh)
{
	Influences out;
	const auto& all = mesh->getAllJoints();
	for (u32 j = 0; j < all.size(); ++j)
		for (u32 k = 0; k < all[j]->Weights.size(); ++k)
		{
			const auto& w = all[j]->Weights[k];
			out[VertexId(w.buffer_id, w.vertex_id)].push_back({j, w.strength});
		}
	return out;
}

TEST_F(DwarfModel, EveryVertexHasOneToFourWeightsSummingToOne)
{
	Influences weights = influences(Skinned);
	u32 vertices = 0;
	for (u32 b = 0; b < Mesh->getMeshBufferCount(); ++b)
		for (u32 v = 0; v < Mesh->getMeshBuffer(b)->getVertexCount(); ++v, ++vertices)
		{
			const auto& w = weights[VertexId(b, v)];
			ASSERT_GE(w.size(), 1u) << "vertex " << v << " of buffer " << b;
			ASSERT_LE(w.size(), 4u) << "vertex " << v << " of buffer " << b;
			f32 sum = 0;
			std::set<u32> joints;
			for (const auto& [joint, strength] : w)
			{
				sum += strength;
				EXPECT_GT(strength, 0) << "vertex " << v << " of buffer " << b;
				EXPECT_LE(strength, 1) << "vertex " << v << " of buffer " << b;
				EXPECT_TRUE(joints.insert(joint).second) << "vertex " << v << " of buffer " << b << " names a joint twice";
			}
			EXPECT_NEAR(sum, 1, 1e-4f) << "vertex " << v << " of buffer " << b;
		}
	EXPECT_EQ(weights.size(), vertices) << "weights name vertices that do not exist";
	EXPECT_GE(vertices, 1500u);
	EXPECT_LE(vertices, 6000u);
}

// Around every bend the skin is shared by the two joints with weights that
// fade from one to the other: there are unequal blends, and all blends lie
// within a few units of the joint along the bone.
TEST_F(DwarfModel, BendsFadeAcrossUnequalWeights)
{
	const Influences weights = influences(Skinned);
	const char* bends[][2] = {
		{"Pelvis", "Spine"}, {"Spine", "Chest"}, {"Chest", "Neck"}, {"Head", "Beard"},
		{"LeftUpperArm", "LeftForearm"}, {"LeftForearm", "LeftHand"},
		{"RightUpperArm", "RightForearm"}, {"RightForearm", "RightHand"},
		{"LeftThigh", "LeftShin"}, {"LeftShin", "LeftFoot"}, {"LeftFoot", "LeftToes"},
		{"RightThigh", "RightShin"}, {"RightShin", "RightFoot"}, {"RightFoot", "RightToes"},
	};
	for (const auto& bend : bends)
	{
		const u32 parent = Skinned->getJointNumber(bend[0]), child = Skinned->getJointNumber(bend[1]);
		const core::vector3df at = bindPosition(bend[1]);
		const core::vector3df bone = (at - bindPosition(bend[0])).normalize();
		bool unequal = false;
		for (const auto& [id, w] : weights)
		{
			if (w.size() != 2 || std::min(w[0].first, w[1].first) != std::min(parent, child)
				|| std::max(w[0].first, w[1].first) != std::max(parent, child))
				continue;
			unequal |= std::abs(w[0].second - w[1].second) > 0.01f;
			const core::vector3df p = Mesh->getMeshBuffer(id.first)->getPosition(id.second);
			EXPECT_LT(std::abs((p - at).dotProduct(bone)), 4) << bend[1] << ": a blend far from the joint";
		}
		EXPECT_TRUE(unequal) << bend[0] << " to " << bend[1] << " has no unequal blend";
	}
}

// The hardware skinning overwrites vertex colours, so the look must not depend on them.
TEST_F(DwarfModel, VerticesAreWhite)
{
	for (u32 b = 0; b < Mesh->getMeshBufferCount(); ++b)
	{
		const scene::IMeshBuffer* buffer = Mesh->getMeshBuffer(b);
		ASSERT_EQ(buffer->getVertexType(), video::EVT_STANDARD);
		const auto* vertices = static_cast<const video::S3DVertex*>(buffer->getVertices());
		for (u32 v = 0; v < buffer->getVertexCount(); ++v)
			ASSERT_EQ(vertices[v].Color.color, 0xffffffffu) << "vertex " << v << " of buffer " << b;
	}
}

TEST_F(DwarfModel, StandsAboutSixtyTallOnTheGroundAroundTheYAxis)
{
	const core::aabbox3df box = Mesh->getBoundingBox();
	EXPECT_NEAR(box.MinEdge.Y, 0, 0.5f);
	EXPECT_GE(box.MaxEdge.Y - box.MinEdge.Y, 55);
	EXPECT_LE(box.MaxEdge.Y - box.MinEdge.Y, 65);
	EXPECT_NEAR(box.getCenter().X, 0, 6);
	EXPECT_NEAR(box.getCenter().Z, 0, 6);
}

// The engine culls the faces it sees counter-clockwise; a face seen
// clockwise has (b - a) x (c - a) pointing at the viewer, which must be
// the side its vertex normals show, so the model looks solid and lit.
TEST_F(DwarfModel, FacesAndNormalsPointTheSameWay)
{
	for (u32 b = 0; b < Mesh->getMeshBufferCount(); ++b)
	{
		const scene::IMeshBuffer* buffer = Mesh->getMeshBuffer(b);
		const auto* vertices = static_cast<const video::S3DVertex*>(buffer->getVertices());
		const u16* indices = buffer->getIndices();
		ASSERT_EQ(buffer->getIndexType(), video::EIT_16BIT);
		for (u32 i = 0; i < buffer->getIndexCount(); i += 3)
		{
			const video::S3DVertex& a = vertices[indices[i]];
			const video::S3DVertex& c = vertices[indices[i + 2]];
			const video::S3DVertex& bv = vertices[indices[i + 1]];
			const core::vector3df face = (bv.Pos - a.Pos).crossProduct(c.Pos - a.Pos);
			EXPECT_GT(face.dotProduct(a.Normal + bv.Normal + c.Normal), 0) << "face " << i / 3 << " of buffer " << b;
		}
	}
}

TEST_F(DwarfModel, MaterialTextureLoads)
{
	ASSERT_EQ(Mesh->getMeshBufferCount(), 1u);
	const video::ITexture* texture = Mesh->getMeshBuffer(0)->getMaterial().getTexture(0);
	ASSERT_TRUE(texture) << "the material has no texture, or it did not load";
	video::IImage* image = Device->getVideoDriver()->createImageFromFile(texture->getName().getPath());
	ASSERT_TRUE(image) << texture->getName().getPath().c_str();
	EXPECT_EQ(image->getDimension(), core::dimension2du(256, 256));
	image->drop();
}

TEST_F(DwarfModel, MarchMovesHandsFeetAndHead)
{
	const f32 end = static_cast<f32>(Mesh->getFrameCount() - 1);
	for (const char* name : {"LeftHand", "RightHand", "LeftFoot", "RightFoot", "Head", "Axe"})
	{
		const std::vector<core::vector3df> start = jointPoints(name, 0);
		f32 moved = 0;
		for (f32 frame = 1; frame <= end; frame += 1)
		{
			const std::vector<core::vector3df> now = jointPoints(name, frame);
			for (size_t p = 0; p < now.size(); ++p)
				moved = std::max(moved, now[p].getDistanceFrom(start[p]));
		}
		EXPECT_GT(moved, 1.5f) << name;
	}
}

// A scene node plays frames 0 to the frame count less one: the poses there
// must match for the loop to have no seam.
TEST_F(DwarfModel, LoopEndsWhereItStarts)
{
	const f32 end = static_cast<f32>(Mesh->getFrameCount() - 1);
	const auto& all = Skinned->getAllJoints();
	for (u32 j = 0; j < all.size(); ++j)
	{
		const char* name = all[j]->Name.c_str();
		const std::vector<core::vector3df> first = jointPoints(name, 0);
		const std::vector<core::vector3df> last = jointPoints(name, end);
		for (size_t p = 0; p < first.size(); ++p)
			EXPECT_LT(first[p].getDistanceFrom(last[p]), 0.01f) << name;
	}
}

// ------------------------------------------------------------- generator

// Runs the generator with the given arguments; returns its exit code and
// its standard error in errors.
int runGenerator(const std::string& arguments, std::string& errors)
{
	TemporaryDirectory log;
	const fs::path errorFile = log.file("stderr");
	const std::string command = std::string(DWARFGEN_BIN) + " " + arguments + " 2>" + errorFile.string();
	const int status = std::system(command.c_str());
	errors = readFile(errorFile);
	return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(DwarfGenerator, RefusesBadOutputDirectories)
{
	TemporaryDirectory dir;
	fs::create_directory(dir.file("dwarf.x")); // so the finished model cannot be put in place
	const struct
	{
		std::string Arguments;
		fs::path Dir; // where no model may appear
	} cases[] = {
		{"", ""},
		{dir.file("missing").string(), dir.file("missing")},
		{"/dev/null/x", ""},
		{"/sys", "/sys"}, // not writable, even for root
		{dir.path(), dir.path()},
	};
	for (const auto& c : cases)
	{
		std::string errors;
		EXPECT_NE(runGenerator(c.Arguments, errors), 0) << "dwarfgen " << c.Arguments;
		EXPECT_FALSE(errors.empty()) << "dwarfgen " << c.Arguments << " gave no message";
		if (c.Dir.empty() || !fs::exists(c.Dir))
			continue;
		EXPECT_FALSE(fs::is_regular_file(c.Dir / "dwarf.x")) << c.Dir;
		for (const auto& entry : fs::directory_iterator(c.Dir))
		{
			const std::string name = entry.path().filename().string();
			EXPECT_TRUE(name.rfind("dwarf", 0) != 0 || name == "dwarf.x" || name == "dwarf.tga")
				<< "left behind: " << entry.path();
		}
	}
}

TEST(DwarfGenerator, WritesTheSameBytesEveryTime)
{
	TemporaryDirectory first, second;
	std::string errors;
	ASSERT_EQ(runGenerator(first.path(), errors), 0) << errors;
	// (That the numbers do not follow the locale is the .x writer's test.)
	ASSERT_EQ(runGenerator(second.path(), errors), 0) << errors;
	for (const char* name : {"dwarf.x", "dwarf.tga"})
	{
		const std::string bytes = readFile(first.file(name));
		EXPECT_GT(bytes.size(), 1000u) << name;
		EXPECT_TRUE(bytes == readFile(second.file(name))) << name << " differs between runs";
	}
	EXPECT_EQ(readFile(first.file("dwarf.x")).rfind("xof 0303txt 0032", 0), 0u);
}

} // namespace
