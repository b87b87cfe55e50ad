// The demo application: its dialogue, the crowd scene, the caption, and the
// real program run as a user runs it.

#include "Demo.h"
#include "support/Cases.h"
#include "support/Console.h"
#include "support/DemoProcess.h"
#include "support/Pictures.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <regex>
#include <cstring>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

using namespace irr;

namespace
{
const char* const Prompts[] = {
	"Dx or Ogl?\n1.Dx\n2.Ogl\n",
	"Activate the hardware skinning?\n1.Yes\n2.No\n3.Disable skinning\n",
	"Enable Lighting?\n1.Yes\n2.No\n",
};
const std::string AllPrompts = std::string(Prompts[0]) + Prompts[1] + Prompts[2];

struct DialogueCase : NamedCase
{
	const char* Input;
	char Driver, Skinning, Lighting;
	const char* Left; // what stays in the input afterwards
};

class Dialogue : public ::testing::TestWithParam<DialogueCase>
{
};
} // namespace

TEST_P(Dialogue, StoresOneCharacterPerAnswer)
{
	const DialogueCase& c = GetParam();
	std::istringstream in(c.Input);
	std::ostringstream out;
	const RunOptions options = askRunOptions(in, out);
	EXPECT_EQ(AllPrompts, out.str());
	EXPECT_EQ(c.Driver, options.DriverKey);
	EXPECT_EQ(c.Skinning, options.SkinningKey);
	EXPECT_EQ(c.Lighting, options.LightingKey);
	in.clear();
	EXPECT_EQ(c.Left, std::string(std::istreambuf_iterator<char>(in), {}));
}

INSTANTIATE_TEST_SUITE_P(Inputs, Dialogue, ::testing::Values(
	DialogueCase{ "OneLineAnswersAll", "1 1 1\n", '1', '1', '1', "\n" },
	DialogueCase{ "TwoAnswersInOneWord", "12\n3\n", '1', '2', '3', "\n" },
	DialogueCase{ "BlanksTabsAndEmptyLinesSkipped", "\n\n   2\n\t3\n \t\n1", '2', '3', '1', "" },
	DialogueCase{ "ClosedBeforeTheFirstAnswer", "", 0, 0, 0, "" },
	DialogueCase{ "ClosedAfterTheFirstAnswer", "2\n", '2', 0, 0, "" },
	DialogueCase{ "AnyCharacterIsTaken", "y\nno\n", 'y', 'n', 'o', "\n" },
	DialogueCase{ "LongAnswersFeedTheNextQuestions", "Ogl please\n", 'O', 'g', 'l', " please\n" }),
	caseName<DialogueCase>);

TEST(Caption, TextPerSkinningAnswer)
{
	EXPECT_EQ(core::stringw(L"Hardware Skinning example FPS:60"), FrameRateCaption('1').text(60));
	EXPECT_EQ(core::stringw(L"Hardware Skinning example(Hardware Skinning is disabled) FPS:60"),
		FrameRateCaption('2').text(60));
	EXPECT_EQ(core::stringw(L"Hardware Skinning example FPS:0"), FrameRateCaption(0).text(0));
	EXPECT_EQ(core::stringw(L"Hardware Skinning example FPS:-5"), FrameRateCaption('3').text(-5));
}

TEST(Caption, WrittenOnlyWhenTheFrameRateChanges)
{
	IrrlichtDevice* device = createDevice(video::EDT_NULL);
	FrameRateCaption caption('1');
	EXPECT_FALSE(caption.update(device, 0));
	EXPECT_TRUE(caption.update(device, 60));
	EXPECT_FALSE(caption.update(device, 60));
	EXPECT_TRUE(caption.update(device, 59));
	EXPECT_TRUE(caption.update(device, 60));
	device->drop();
}

namespace
{
// The crowd scene built on a device without a window.
class Scene : public ::testing::Test
{
protected:
	void build(const RunOptions& options)
	{
		Device = createDevice(video::EDT_NULL);
		First = buildCrowdScene(Device, options);
		ASSERT_TRUE(First);
	}

	void TearDown() override
	{
		if (Device)
			Device->drop();
	}

	core::array<scene::ISceneNode*> nodesOfType(scene::ESCENE_NODE_TYPE type)
	{
		core::array<scene::ISceneNode*> nodes;
		Device->getSceneManager()->getSceneNodesFromType(type, nodes);
		return nodes;
	}

	// The fly-circle animator of a node, held by the node alone.
	io::IAttributes* circleOf(scene::ISceneNode* node)
	{
		const scene::ISceneNodeAnimatorList& animators = node->getAnimators();
		EXPECT_EQ(1u, animators.size());
		scene::ISceneNodeAnimator* circle = *animators.begin();
		EXPECT_EQ(scene::ESNAT_FLY_CIRCLE, circle->getType());
		EXPECT_EQ(1, circle->getReferenceCount());
		io::IAttributes* attributes = Device->getFileSystem()->createEmptyAttributes();
		circle->serializeAttributes(attributes);
		return attributes;
	}

	IrrlichtDevice* Device = 0;
	scene::IAnimatedMeshSceneNode* First = 0;
};
} // namespace

TEST_F(Scene, CrowdStandsOnTheGridWithTheFirstNodeLast)
{
	build(RunOptions{ '2', '2', '1' });
	const core::array<scene::ISceneNode*> characters = nodesOfType(scene::ESNT_ANIMATED_MESH);
	ASSERT_EQ(42u, characters.size());
	std::set<std::pair<int, int>> points;
	for (u32 i = 0; i < characters.size(); ++i)
	{
		const core::vector3df p = characters[i]->getPosition();
		EXPECT_EQ(0.f, p.Y);
		EXPECT_TRUE(int(p.X) % 50 == 0 && p.X >= 0 && p.X <= 300 && int(p.Z) % 50 == 0 && p.Z >= 0 && p.Z <= 250)
			<< p.X << ", " << p.Z;
		points.insert({ int(p.X), int(p.Z) });
		EXPECT_EQ(First->getMesh(), static_cast<scene::IAnimatedMeshSceneNode*>(characters[i])->getMesh());
		for (u32 m = 0; m < characters[i]->getMaterialCount(); ++m)
			EXPECT_TRUE(characters[i]->getMaterial(m).Lighting);
	}
	EXPECT_EQ(42u, points.size());
	EXPECT_EQ(core::vector3df(300, 0, 250), First->getPosition());
	EXPECT_EQ(characters[0], First) << "the first node is added first";
	EXPECT_EQ(core::vector3df(0, 0, 0), characters[1]->getPosition()) << "the first clone";
}

TEST_F(Scene, CameraAndLightsCircleAboveTheCrowd)
{
	build(RunOptions{ '2', '2', '2' });
	scene::ICameraSceneNode* camera = Device->getSceneManager()->getActiveCamera();
	ASSERT_TRUE(camera);
	EXPECT_EQ(core::vector3df(125, 32, 125), camera->getTarget());
	io::IAttributes* circle = circleOf(camera);
	EXPECT_EQ(core::vector3df(125, 100, 125), circle->getAttributeAsVector3d("Center"));
	EXPECT_FLOAT_EQ(200.f, circle->getAttributeAsFloat("Radius"));
	EXPECT_FLOAT_EQ(0.0002f, circle->getAttributeAsFloat("Speed"));
	EXPECT_EQ(core::vector3df(0, 1, 0), circle->getAttributeAsVector3d("Direction"));
	circle->drop();

	struct Expected
	{
		f32 Radius, Speed;
		video::SColorf Colour;
	};
	const Expected expected[] = {
		{ 100.f, 0.001f, video::SColorf(0.5f, 0.5f, 0.f, 0.f) },
		{ 100.f, -0.001f, video::SColorf(0.f, 1.f, 0.f, 0.f) },
		{ 80.f, 0.001f, video::SColorf(0.f, 0.5f, 1.f, 0.f) },
		{ 60.f, -0.002f, video::SColorf(0.8f, 0.2f, 0.f, 0.f) },
	};
	const core::array<scene::ISceneNode*> lights = nodesOfType(scene::ESNT_LIGHT);
	ASSERT_EQ(4u, lights.size());
	for (u32 i = 0; i < 4; ++i)
	{
		SCOPED_TRACE(i);
		const video::SLight& data = static_cast<scene::ILightSceneNode*>(lights[i])->getLightData();
		EXPECT_FLOAT_EQ(100.f, data.Radius);
		EXPECT_FLOAT_EQ(expected[i].Colour.r, data.DiffuseColor.r);
		EXPECT_FLOAT_EQ(expected[i].Colour.g, data.DiffuseColor.g);
		EXPECT_FLOAT_EQ(expected[i].Colour.b, data.DiffuseColor.b);
		EXPECT_FLOAT_EQ(0.f, data.DiffuseColor.a);
		circle = circleOf(lights[i]);
		EXPECT_EQ(core::vector3df(125, 180, 125), circle->getAttributeAsVector3d("Center"));
		EXPECT_FLOAT_EQ(expected[i].Radius, circle->getAttributeAsFloat("Radius"));
		EXPECT_FLOAT_EQ(expected[i].Speed, circle->getAttributeAsFloat("Speed"));
		circle->drop();
	}
	EXPECT_EQ(1u, nodesOfType(scene::ESNT_CAMERA).size());
}

TEST_F(Scene, LightingOnlyForAnswerOne)
{
	build(RunOptions{ '2', '2', 'y' });
	EXPECT_FALSE(First->getMaterial(0).Lighting);
}

// Only hardware skinning repacks the shared mesh; the engine's skinning and
// the unskinned crowd draw the model's vertices as they were loaded.
TEST_F(Scene, OtherSkinningModesLeaveTheVerticesAlone)
{
	for (char skinning : { '2', '3', '9' })
	{
		SCOPED_TRACE(skinning);
		build(RunOptions{ '2', skinning, '1' });
		scene::ISkinnedMesh* mesh = static_cast<scene::ISkinnedMesh*>(First->getMesh());
		for (u32 b = 0; b < mesh->getMeshBuffers().size(); ++b)
		{
			scene::SSkinMeshBuffer* buffer = mesh->getMeshBuffers()[b];
			EXPECT_EQ(video::EVT_STANDARD, buffer->getVertexType());
			for (u32 v = 0; v < buffer->getVertexCount(); ++v)
				ASSERT_EQ(0xffffffffu, buffer->getVertex(v)->Color.color) << "vertex " << v;
		}
		Device->drop();
		Device = 0;
	}
}

TEST(SceneFailure, MissingModelIsNamed)
{
	IrrlichtDevice* device = createDevice(video::EDT_NULL);
	device->getFileSystem()->changeWorkingDirectoryTo("/");
	const std::string message = errorsOf([&] { EXPECT_FALSE(buildCrowdScene(device, RunOptions{ '2', '2', '2' })); });
	device->getFileSystem()->changeWorkingDirectoryTo(buildDirectory().c_str());
	EXPECT_NE(std::string::npos, message.find("\"dwarf.x\"")) << message;
	EXPECT_NE(std::string::npos, message.find("working directory /")) << message;
	device->drop();
}

// The real program, answered through a pipe, on the display.
const char* const JointLine = "Joint Num: [0-9]+, current limit is 55 joints\\.\n";
struct RunCase : NamedCase
{
	const char* Answers;
	const char* Caption; // the caption up to the frame rate
	const char* Output;  // a pattern expected on standard output after the prompts
	const char* Message; // expected on standard error, or empty
	std::vector<std::string> Arguments = {};
};

class Program : public ::testing::TestWithParam<RunCase>
{
};

TEST_P(Program, ShowsTheCrowdAndEndsWhenTheWindowIsClosed)
{
	const RunCase& c = GetParam();
	DemoProcess demo(c.Answers, "", "", c.Arguments);
	const unsigned long window = demo.findWindow();
	ASSERT_NE(0u, window) << demo.errors();
	std::this_thread::sleep_for(std::chrono::seconds(2));

	const std::string title = demo.title(window);
	EXPECT_EQ(0u, title.find(c.Caption)) << title;
	EXPECT_NE(std::string::npos, title.find_first_of("0123456789", strlen(c.Caption))) << title;
	// Two screenshots a second apart: the crowd is drawn, and it moves.
	video::IImage* pictures[2] = {};
	for (int i = 0; i < 2; ++i)
	{
		if (i == 1)
			std::this_thread::sleep_for(std::chrono::seconds(1));
		const std::string file = "/tmp/demo-" + std::string(c.Name) + "-" + std::to_string(i) + ".png";
		ASSERT_TRUE(demo.screenshot(window, file));
		pictures[i] = loadImage(file);
		ASSERT_TRUE(pictures[i]);
		EXPECT_EQ(core::dimension2du(640, 480), pictures[i]->getDimension());
		EXPECT_GT(fractionNotColour(pictures[i], ClearColour, 8), 0.05) << "the crowd covers part of the window";
		EXPECT_GT(1.0 - fractionNotColour(pictures[i], ClearColour, 8), 0.2) << "the clear colour shows between them";
	}
	EXPECT_GT(differingFraction(pictures[0], pictures[1], 8), 0.01);
	pictures[0]->drop();
	pictures[1]->drop();

	demo.close(window);
	EXPECT_EQ(0, demo.wait(10));
	EXPECT_EQ(0u, demo.output().find(AllPrompts)) << demo.output();
	EXPECT_TRUE(std::regex_search(demo.output().substr(AllPrompts.size()), std::regex(c.Output))) << demo.output();
	if (*c.Message)
	{
		EXPECT_NE(std::string::npos, demo.errors().find(c.Message)) << demo.errors();
	}
}

INSTANTIATE_TEST_SUITE_P(Answers, Program, ::testing::Values(
	RunCase{ "HardwareSkinning", "2\n1\n2\n", "Hardware Skinning example FPS:", JointLine, "" },
	RunCase{ "HardwareSkinningLit", "2\n1\n1\n", "Hardware Skinning example FPS:", JointLine, "" },
	RunCase{ "EngineSkinningWithNote", "2\n2\n2\n", "Hardware Skinning example(Hardware Skinning is disabled) FPS:", "", "" },
	RunCase{ "NoSkinningLit", "2 3 1\n", "Hardware Skinning example FPS:", "", "" },
	RunCase{ "InputClosedAtOnce", "", "Hardware Skinning example FPS:", "", "" },
	RunCase{ "Direct3DFallsBackToOpenGL", "1\n9\n2\n", "Hardware Skinning example FPS:", "",
		"Direct3D 9 is not available on this system, using OpenGL instead.\n" },
	RunCase{ "HardwareSkinningOutOfStep", "2\n1\n2\n", "Hardware Skinning example FPS:", JointLine, "",
		{ "--out-of-step" } },
	RunCase{ "EngineSkinningOutOfStepLit", "2\n2\n1\n", "Hardware Skinning example(Hardware Skinning is disabled) FPS:",
		"", "", { "--out-of-step" } }),
	caseName<RunCase>);

TEST(ProgramFailure, NoModelInTheWorkingDirectory)
{
	TemporaryDirectory empty;
	DemoProcess demo("2\n2\n2\n", empty.path());
	EXPECT_EQ(1, demo.wait(30));
	EXPECT_NE(std::string::npos, demo.errors().find("\"dwarf.x\"")) << demo.errors();
	EXPECT_NE(std::string::npos, demo.errors().find(empty.path())) << demo.errors();
}

TEST(ProgramFailure, NoDisplay)
{
	DemoProcess demo("2\n2\n2\n", "", "DISPLAY=");
	EXPECT_EQ(1, demo.wait(30));
	EXPECT_EQ(AllPrompts, demo.output().substr(0, AllPrompts.size()));
	EXPECT_NE(std::string::npos, demo.errors().find("Could not open a 640x480 OpenGL window")) << demo.errors();
}

namespace
{
struct CommandLineCase : NamedCase
{
	std::vector<const char*> Arguments; // after the program's name
	int ExitCode;
	bool OutOfStep;
	std::string Out;
	std::string Err;
};

class CommandLine : public ::testing::TestWithParam<CommandLineCase>
{
};

const std::string UnknownFast = std::string("Unknown option \"--fast\".\n") + CommandLineUsage;
} // namespace

TEST_P(CommandLine, SetsTheCrowdOrEndsTheProgram)
{
	const CommandLineCase& c = GetParam();
	std::vector<const char*> argv = { "hwskinning" };
	argv.insert(argv.end(), c.Arguments.begin(), c.Arguments.end());
	RunOptions options{ '2', '1', '1' };
	std::ostringstream out, err;
	EXPECT_EQ(c.ExitCode, readCommandLine(int(argv.size()), argv.data(), options, out, err));
	EXPECT_EQ(c.OutOfStep, options.OutOfStep);
	EXPECT_EQ(c.Out, out.str());
	EXPECT_EQ(c.Err, err.str());
	EXPECT_EQ('1', options.SkinningKey) << "the answers are the dialogue's";
}

INSTANTIATE_TEST_SUITE_P(Arguments, CommandLine, ::testing::Values(
	CommandLineCase{ "NoneRunsInStep", {}, -1, false, "", "" },
	CommandLineCase{ "OutOfStep", { "--out-of-step" }, -1, true, "", "" },
	CommandLineCase{ "OutOfStepTwice", { "--out-of-step", "--out-of-step" }, -1, true, "", "" },
	CommandLineCase{ "HelpPrintsTheUsage", { "--help" }, 0, false, CommandLineUsage, "" },
	CommandLineCase{ "HelpEndsTheReading", { "--help", "--fast" }, 0, false, CommandLineUsage, "" },
	CommandLineCase{ "UnknownOption", { "--fast" }, 2, false, "", UnknownFast },
	CommandLineCase{ "UnknownAfterAKnownOne", { "--out-of-step", "--fast" }, 2, true, "", UnknownFast },
	CommandLineCase{ "AnAnswerIsNoOption", { "1" }, 2, false, "",
		std::string("Unknown option \"1\".\n") + CommandLineUsage }),
	caseName<CommandLineCase>);

TEST(Usage, ListsEveryOption)
{
	for (const char* option : { "--out-of-step", "--help" })
		EXPECT_NE(std::string::npos, std::string(CommandLineUsage).find(option)) << option;
}

TEST(ProgramCommandLine, HelpAndUnknownOptionsEndBeforeTheQuestions)
{
	DemoProcess help("2\n2\n2\n", "", "", { "--help" });
	EXPECT_EQ(0, help.wait(30));
	EXPECT_EQ(CommandLineUsage, help.output());
	EXPECT_EQ("", help.errors());

	DemoProcess unknown("2\n2\n2\n", "", "", { "--out-of-step", "--fast" });
	EXPECT_EQ(2, unknown.wait(30));
	EXPECT_EQ("", unknown.output());
	EXPECT_EQ(UnknownFast, unknown.errors());
}

namespace
{
// Every character's frame and animation speed.
std::vector<std::pair<f32, f32>> framesAndSpeeds(scene::ISceneManager* smgr)
{
	core::array<scene::ISceneNode*> nodes;
	smgr->getSceneNodesFromType(scene::ESNT_ANIMATED_MESH, nodes);
	std::vector<std::pair<f32, f32>> result;
	for (u32 i = 0; i < nodes.size(); ++i)
	{
		scene::IAnimatedMeshSceneNode* character = static_cast<scene::IAnimatedMeshSceneNode*>(nodes[i]);
		result.push_back({ character->getFrameNr(), character->getAnimationSpeed() });
	}
	return result;
}
} // namespace

TEST_F(Scene, InStepEveryCharacterStartsTogether)
{
	build(RunOptions{ '2', '2', '2' });
	const std::vector<std::pair<f32, f32>> crowd = framesAndSpeeds(Device->getSceneManager());
	ASSERT_EQ(42u, crowd.size());
	for (const std::pair<f32, f32>& character : crowd)
		EXPECT_EQ(crowd[0], character);
	EXPECT_EQ(f32(First->getStartFrame()), crowd[0].first);

	poseCrowd(Device->getSceneManager(), false, 0.5f);
	for (const std::pair<f32, f32>& character : framesAndSpeeds(Device->getSceneManager()))
		EXPECT_FLOAT_EQ(0.5f * (First->getStartFrame() + First->getEndFrame()), character.first);
}

TEST_F(Scene, OutOfStepEveryCharacterHasItsOwnFrameAndPaceOnEveryRun)
{
	build(RunOptions{ '2', '2', '2' });
	const f32 speed = First->getAnimationSpeed();
	const f32 start = f32(First->getStartFrame());
	const f32 length = f32(First->getEndFrame()) - start;
	Device->drop();
	build(RunOptions{ '2', '2', '2', true });
	const std::vector<std::pair<f32, f32>> crowd = framesAndSpeeds(Device->getSceneManager());
	ASSERT_EQ(42u, crowd.size());

	std::set<f32> frames, speeds;
	for (const std::pair<f32, f32>& character : crowd)
	{
		EXPECT_TRUE(character.first >= start && character.first < start + length) << character.first;
		EXPECT_TRUE(character.second >= 0.9f * speed && character.second <= 1.1f * speed) << character.second;
		frames.insert(character.first);
		speeds.insert(character.second);
	}
	EXPECT_EQ(42u, frames.size()) << "every character at its own frame";
	EXPECT_GT(*frames.rbegin() - *frames.begin(), 0.9f * length) << "spread over the walk";
	EXPECT_GT(speeds.size(), 30u);

	IrrlichtDevice* again = createDevice(video::EDT_NULL);
	ASSERT_TRUE(buildCrowdScene(again, RunOptions{ '2', '1', '1', true }));
	EXPECT_EQ(crowd, framesAndSpeeds(again->getSceneManager())) << "the same on every run and in every mode";
	again->drop();

	// The still frame keeps every character's share of the walk.
	poseCrowd(Device->getSceneManager(), true, 0.5f);
	const std::vector<std::pair<f32, f32>> still = framesAndSpeeds(Device->getSceneManager());
	for (size_t i = 0; i < crowd.size(); ++i)
	{
		const f32 ahead = std::fmod(still[i].first - crowd[i].first + length, length);
		EXPECT_NEAR(0.5f * length, ahead, 1e-3f) << "character " << i;
	}
}

TEST(DialogueAfterTheCommandLine, KeepsTheCrowdChosen)
{
	std::istringstream in("2 1 1\n");
	std::ostringstream out;
	const RunOptions options = askRunOptions(in, out, RunOptions{ 0, 0, 0, true });
	EXPECT_TRUE(options.OutOfStep);
	EXPECT_EQ('1', options.SkinningKey);
}
