// The demo meeting a broken working directory or odd input: each case runs in
// a copy of the build directory with one file broken, and ends with a message
// and exit code 1, or with a message and a fallback that still draws the crowd.

#include "support/Cases.h"
#include "support/Console.h"
#include "support/DemoProcess.h"
#include "support/Pictures.h"
#include "support/TemporaryDirectory.h"

#include "XFile.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <stdexcept>
#include <thread>

using namespace irr;
namespace fs = std::filesystem;

namespace
{
// Adds a box to mesh: its eight corners from (x, y, z) and its twelve
// triangles, facing out.
void addBox(xfile::Mesh& mesh, f32 x, f32 y, f32 z, f32 size)
{
	const unsigned first = static_cast<unsigned>(mesh.Positions.size());
	for (int corner = 0; corner < 8; ++corner)
		mesh.Positions.push_back({x + size * (corner & 1), y + size * ((corner >> 1) & 1), z + size * (corner >> 2)});
	const unsigned faces[12][3] = { { 0, 2, 1 }, { 1, 2, 3 }, { 4, 5, 6 }, { 5, 7, 6 }, { 0, 1, 4 }, { 1, 5, 4 },
		{ 2, 6, 3 }, { 3, 6, 7 }, { 0, 4, 2 }, { 2, 4, 6 }, { 1, 3, 5 }, { 3, 7, 5 } };
	for (const auto& face : faces)
		mesh.Triangles.push_back({ first + face[0], first + face[1], first + face[2] });
}

// A static model: one box with no frames and no skin.
std::string staticModel()
{
	xfile::Model model;
	model.Meshes.resize(1);
	addBox(model.Meshes[0], -10, 0, -10, 20);
	return xfile::toText(model);
}

// A skinned model of `jointCount` frames, each moving a small box of its own.
std::string manyJointModel(int jointCount)
{
	xfile::Model model;
	xfile::Mesh boxes;
	const xfile::Matrix identity = xfile::translation({ 0, 0, 0 });
	for (int j = 0; j < jointCount; ++j)
	{
		const std::string name = "Joint" + std::to_string(j);
		model.Frames.push_back({ name, -1, identity });
		xfile::SkinWeights skin{ name, {}, identity };
		for (unsigned v = 0; v < 8; ++v)
			skin.Weights.push_back({ static_cast<unsigned>(boxes.Positions.size()) + v, 1 });
		boxes.Skin.push_back(skin);
		addBox(boxes, f32(j % 6 * 6 - 18), f32(j / 6 * 6), 0, 5);
	}
	model.Meshes = { boxes };
	return xfile::toText(model);
}

// Waits for the demo's window, checks that something besides the clear colour
// is drawn in it, closes it and expects exit code 0. Returns the caption.
std::string showAndClose(DemoProcess& demo, const std::string& name)
{
	const unsigned long window = demo.findWindow();
	EXPECT_NE(0u, window) << demo.errors();
	if (!window)
		return "";
	std::this_thread::sleep_for(std::chrono::seconds(1));
	const std::string file = "/tmp/demo-faults-" + name + ".png";
	EXPECT_TRUE(demo.screenshot(window, file));
	if (video::IImage* picture = loadImage(file))
	{
		EXPECT_GT(fractionNotColour(picture, ClearColour, 8), 0.02) << "the crowd is drawn";
		picture->drop();
	}
	else
		ADD_FAILURE() << "no screenshot";
	const std::string title = demo.title(window);
	demo.close(window);
	EXPECT_EQ(0, demo.wait(30)) << demo.errors();
	return title;
}


// --- A model that cannot be used: exit code 1 with a message naming it.

struct BrokenModel : NamedCase
{
	void (*Break)(const fs::path& model);
	const char* Message;
};

class ModelFault : public ::testing::TestWithParam<BrokenModel>
{
};
} // namespace

TEST_P(ModelFault, EndsWithExitCodeOneAndNamesTheFile)
{
	const BrokenModel& c = GetParam();
	WorkingCopy copy;
	c.Break(copy.file("dwarf.x"));
	DemoProcess demo("2\n1\n2\n", copy.path());
	EXPECT_EQ(1, demo.wait(60)) << "not a crash, not a hang: " << demo.errors();
	EXPECT_NE(std::string::npos, demo.errors().find(c.Message)) << demo.errors();
}

INSTANTIATE_TEST_SUITE_P(Models, ModelFault, ::testing::Values(
	BrokenModel{ "Missing", [](const fs::path& model) { fs::remove(model); },
		"Could not load the character model \"dwarf.x\"" },
	BrokenModel{ "Empty", [](const fs::path& model) { fs::resize_file(model, 0); },
		"Could not load the character model \"dwarf.x\"" },
	BrokenModel{ "FirstHalf", [](const fs::path& model) { fs::resize_file(model, fs::file_size(model) / 2); },
		"The character model \"dwarf.x\" is cut short" },
	BrokenModel{ "HeaderCutShort", [](const fs::path& model) { writeFile(model, "xof 03"); },
		"Could not load the character model \"dwarf.x\"" },
	BrokenModel{ "TextFile", [](const fs::path& model) { writeFile(model, "A crowd of dwarves.\n"); },
		"Could not load the character model \"dwarf.x\"" }),
	caseName<BrokenModel>);

namespace
{
// --- A model the vertex program cannot fully skin, or that has nothing to
// skin: the crowd is still drawn until the window is closed.

struct OddModel : NamedCase
{
	std::string (*Model)();
	const char* Answers;
	const char* Output;  // a pattern expected on standard output
	const char* Message; // expected on standard error, or empty
};

class OddModelRun : public ::testing::TestWithParam<OddModel>
{
};

std::string sixtyJointModel()
{
	return manyJointModel(60);
}
} // namespace

TEST_P(OddModelRun, SaysSoAndStillDrawsTheCrowd)
{
	const OddModel& c = GetParam();
	WorkingCopy copy;
	writeFile(copy.file("dwarf.x"), c.Model());
	DemoProcess demo(c.Answers, copy.path());
	showAndClose(demo, c.Name);
	EXPECT_TRUE(std::regex_search(demo.output(), std::regex(c.Output))) << demo.output();
	EXPECT_NE(std::string::npos, demo.errors().find(c.Message)) << demo.errors();
}

INSTANTIATE_TEST_SUITE_P(Models, OddModelRun, ::testing::Values(
	// The engine loads a static model as a skinned mesh without joints.
	OddModel{ "StaticWithHardwareSkinning", staticModel, "2\n1\n2\n",
		"\nJoint Num: 0, current limit is 55 joints\\.\n", "" },
	OddModel{ "StaticWithoutSkinning", staticModel, "2\n3\n2\n", "", "" },
	OddModel{ "SixtyJointsWithHardwareSkinning", sixtyJointModel, "2\n1\n2\n",
		"\nJoint Num: 60, current limit is 55 joints\\.\n",
		"Joints beyond the first 55 cannot be skinned by the vertex program" }),
	caseName<OddModel>);

TEST(OddModelFrame, SixtyJointPaletteLeavesNoOpenGLError)
{
	WorkingCopy copy;
	writeFile(copy.file("dwarf.x"), manyJointModel(60));
	GLenum error = GL_NO_ERROR;
	video::IImage* frame = 0;
	const std::string printed = printedBy([&] { frame = renderCrowd(RunOptions{ '2', '1', '2' }, &error, copy.path()); });
	ASSERT_TRUE(frame) << "no OpenGL display";
	EXPECT_NE(std::string::npos, printed.find("Joint Num: 60,")) << printed;
	EXPECT_EQ(GLenum(GL_NO_ERROR), error);
	EXPECT_GT(fractionNotColour(frame, ClearColour, 8), 0.02) << "the crowd is drawn";
	frame->drop();
}

namespace
{
// --- A vertex program that cannot be used: a message, and the engine skins
// the crowd instead. Frames at one animation time show it: the same as the
// engine's skinning, not the bind pose.

struct BrokenProgram : NamedCase
{
	const char* File;
	char Lighting;
	void (*Break)(const fs::path& program);
	const char* Message;
};

class ProgramFault : public ::testing::TestWithParam<BrokenProgram>
{
protected:
	// The engine-skinned and the bind pose frames for a lighting answer,
	// drawn once for all cases.
	static video::IImage* reference(char skinning, char lighting)
	{
		video::IImage*& frame = References[{ skinning, lighting }];
		if (!frame)
		{
			GLenum error = GL_NO_ERROR;
			frame = renderCrowd(RunOptions{ '2', skinning, lighting }, &error);
		}
		return frame;
	}

	static void TearDownTestSuite()
	{
		for (auto& entry : References)
			if (entry.second)
				entry.second->drop();
		References.clear();
	}

	static std::map<std::pair<char, char>, video::IImage*> References;
};

std::map<std::pair<char, char>, video::IImage*> ProgramFault::References;
} // namespace

TEST_P(ProgramFault, EngineSkinsTheCrowdInstead)
{
	const BrokenProgram& c = GetParam();
	video::IImage* engine = reference('2', c.Lighting);
	video::IImage* bindPose = reference('3', c.Lighting);
	ASSERT_TRUE(engine && bindPose) << "no OpenGL display";

	WorkingCopy copy;
	c.Break(copy.file(c.File));
	GLenum error = GL_NO_ERROR;
	video::IImage* frame = 0;
	const std::string errors = errorsOf([&] { frame = renderCrowd(RunOptions{ '2', '1', c.Lighting }, &error, copy.path()); });
	ASSERT_TRUE(frame);
	EXPECT_NE(std::string::npos, errors.find("The vertex program \"" + std::string(c.File) + "\" " + c.Message))
		<< errors;
	EXPECT_EQ(GLenum(GL_NO_ERROR), error);
	EXPECT_LT(differingFraction(frame, engine, 8), 0.01) << "skinned as the engine skins";
	EXPECT_GT(differingFraction(frame, bindPose, 8), 0.03) << "not left in the bind pose";
	frame->drop();
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramFault, ::testing::Values(
	BrokenProgram{ "Missing", "HWSkinV.glsl", '2', [](const fs::path& program) { fs::remove(program); },
		"is missing or empty" },
	BrokenProgram{ "Empty", "HWSkinV.glsl", '2', [](const fs::path& program) { fs::resize_file(program, 0); },
		"is missing or empty" },
	BrokenProgram{ "CompileError", "HWSkinV.glsl", '2',
		[](const fs::path& program) { writeFile(program, "#version 110\nvoid main() { gl_Position = skin; }\n"); },
		"could not be built" },
	BrokenProgram{ "LitProgramCutShort", "HWSkinV_lights.glsl", '1',
		[](const fs::path& program) { fs::resize_file(program, fs::file_size(program) / 2); },
		"could not be built" }),
	caseName<BrokenProgram>);

namespace
{
// --- Odd input: one character per question is taken as typed, whatever
// follows or is missing, and the program runs as usual.

struct OddInput : NamedCase
{
	std::string Input;
	bool CaptionNote;    // the second answer was '2'
	const char* Output;  // a pattern expected on standard output
	const char* Message; // expected on standard error, or empty
};

class OddInputRun : public ::testing::TestWithParam<OddInput>
{
};

// Every byte value once, starting at '1' so that the first three answers
// are '1', '2' and '3'.
std::string everyByte()
{
	std::string bytes;
	for (int b = 0; b < 256; ++b)
		bytes += char(('1' + b) % 256);
	return bytes;
}

const char* const Direct3DMessage = "Direct3D 9 is not available on this system, using OpenGL instead.\n";
} // namespace

TEST_P(OddInputRun, TakesOneCharacterPerQuestion)
{
	const OddInput& c = GetParam();
	DemoProcess demo(c.Input);
	const std::string title = showAndClose(demo, c.Name);
	EXPECT_EQ(c.CaptionNote, title.find("(Hardware Skinning is disabled)") != std::string::npos) << title;
	EXPECT_TRUE(std::regex_search(demo.output(), std::regex(c.Output))) << demo.output();
	EXPECT_NE(std::string::npos, demo.errors().find(c.Message)) << demo.errors();
}

INSTANTIATE_TEST_SUITE_P(Inputs, OddInputRun, ::testing::Values(
	OddInput{ "ClosedAtTheSecondQuestion", "1", false, "", Direct3DMessage },
	OddInput{ "ClosedAtTheThirdQuestion", "2\n2", true, "", "" },
	OddInput{ "LongAnswers", "21 2222\n1111\n", false, "\nJoint Num: [0-9]+, current limit is 55 joints\\.\n", "" },
	OddInput{ "EveryByteValue", everyByte(), true, "", Direct3DMessage }),
	caseName<OddInput>);
