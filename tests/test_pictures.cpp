// The crowd as it is drawn: frames of the three skinning modes at one fixed
// animation time and camera position, read back from the OpenGL driver.
// The vertex program must draw the same crowd as the engine's own skinning,
// and both must differ from the undeformed bind pose: for our dwarf, and for
// models made like a user's, with smooth unequal weights and colours of
// their own; and for the dwarf's crowd out of step, where every character
// has its own pose.

#include "Demo.h"
#include "XFile.h"
#include "support/Cases.h"
#include "support/Console.h"
#include "support/Pictures.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <vector>

using namespace irr;

namespace
{
// A tube 60 tall on a chain of five joints, coloured by its material and not
// textured. Every vertex is pulled by three or four joints with unequal,
// smoothly fading weights; the top rings are pulled by all five, the last
// and strongest in joint order. At mid-animation every joint is bent
// sideways and the middle one twisted.
xfile::Model bendingTube()
{
	const int JointCount = 5;
	const float JointStep = 12, Radius = 8, Pi = 3.14159265f;
	const int Rings = 31, Segments = 16;

	xfile::Model model;
	xfile::Mesh mesh;
	std::vector<xfile::Animation> animations;
	for (int j = 0; j < JointCount; ++j)
	{
		const std::string name = "Joint" + std::to_string(j);
		const xfile::Vector3 offset{ 0, j ? JointStep : 0, 0 };
		model.Frames.push_back({ name, j - 1, xfile::translation(offset) });
		mesh.Skin.push_back({ name, {}, xfile::translation({ 0, -JointStep * j, 0 }) });

		// Bend about z, and twist the middle joint about y, at tick 30.
		const float bend = (j ? 30.f : 10.f) * Pi / 360, twist = (j == 2 ? 40.f : 0.f) * Pi / 360;
		const xfile::Quaternion rest{ 1, 0, 0, 0 };
		const xfile::Quaternion bent{ std::cos(bend) * std::cos(twist), -std::sin(bend) * std::sin(twist),
			std::cos(bend) * std::sin(twist), std::sin(bend) * std::cos(twist) };
		animations.push_back({ name, { { 0, rest }, { 30, bent }, { 60, rest } }, {},
			{ { 0, offset }, { 60, offset } } });
	}

	for (int r = 0; r < Rings; ++r)
	{
		const float y = 2.f * r;
		// Each joint pulls the rings within 20 of its bone's middle, fading.
		std::vector<float> strengths(JointCount);
		for (int j = 0; j < JointCount; ++j)
			strengths[j] = std::max(0.f, 1.f - std::fabs(y - JointStep * (j + 0.5f)) / 20.f);
		if (r >= Rings - 3)
			strengths = { 0.1f, 0.1f, 0.1f, 0.1f, 0.6f };
		float sum = 0;
		for (float s : strengths)
			sum += s;

		for (int k = 0; k < Segments; ++k)
		{
			const float a = 2 * Pi * k / Segments;
			const unsigned v = unsigned(mesh.Positions.size());
			mesh.Positions.push_back({ Radius * std::cos(a), y, Radius * std::sin(a) });
			mesh.Normals.push_back({ std::cos(a), 0, std::sin(a) });
			for (int j = 0; j < JointCount; ++j)
				if (strengths[j] > 0)
					mesh.Skin[j].Weights.push_back({ v, strengths[j] / sum });
			if (r > 0)
			{
				const unsigned below = v - Segments, next = v - k + (k + 1) % Segments;
				mesh.Triangles.push_back({ below, v, next - Segments });
				mesh.Triangles.push_back({ next - Segments, v, next });
			}
		}
	}
	xfile::Material orange;
	orange.Diffuse = { 0.9f, 0.45f, 0.1f, 1 };
	orange.Emissive = { 0.1f, 0.05f, 0 };
	mesh.Materials = { orange };
	model.Meshes.push_back(mesh);
	model.Animation = { "Bend", 25, animations };
	return model;
}

struct PictureCase : NamedCase
{
	xfile::Model (*Model)(); // null: our dwarf
	char LightingKey;
	bool OutOfStep;
};

// Renders the three modes of one model and lighting, and keeps the frames.
class Pictures : public ::testing::TestWithParam<PictureCase>
{
protected:
	void SetUp() override
	{
		if (GetParam().Model)
			writeFile(Copy.file("dwarf.x"), xfile::toText(GetParam().Model()));
		Hardware = renderMode('1', &HardwareOutput);
		Engine = renderMode('2');
		BindPose = renderMode('3');
		ASSERT_TRUE(Hardware && Engine && BindPose) << "no OpenGL display";
		const std::string prefix = std::string("/tmp/crowd-") + GetParam().Name;
		saveImage(Hardware, prefix + "-hardware.png");
		saveImage(Engine, prefix + "-engine.png");
		saveImage(BindPose, prefix + "-bindpose.png");
	}

	void TearDown() override
	{
		for (video::IImage* image : { Hardware, Engine, BindPose })
			if (image)
				image->drop();
	}

	// A frame of the crowd with the OpenGL error state clean after it; null
	// when there is no OpenGL. The caller drops it.
	video::IImage* renderMode(char skinning, std::string* printed = 0)
	{
		return render(skinning, GetParam().OutOfStep, printed);
	}

	video::IImage* render(char skinning, bool outOfStep, std::string* printed = 0)
	{
		GLenum error = GL_NO_ERROR;
		video::IImage* frame = 0;
		const std::string text = printedBy([&] {
			frame = renderCrowd(RunOptions{ '2', skinning, GetParam().LightingKey, outOfStep }, &error, Copy.path());
		});
		if (printed)
			*printed = text;
		EXPECT_EQ(GLenum(GL_NO_ERROR), error) << "skinning '" << skinning << "'";
		return frame;
	}

	WorkingCopy Copy;
	video::IImage* Hardware = 0;
	video::IImage* Engine = 0;
	video::IImage* BindPose = 0;
	std::string HardwareOutput;
};
} // namespace

TEST_P(Pictures, HardwareSkinningDrawsWhatTheEngineDraws)
{
	EXPECT_NE(std::string::npos, HardwareOutput.find("Joint Num: ")) << "hardware skinning was set up";
	EXPECT_GT(fractionNotColour(Hardware, ClearColour, 8), 0.05) << "the crowd is drawn";

	const double hardwareVsEngine = differingFraction(Hardware, Engine, 8);
	const double bindVsEngine = differingFraction(BindPose, Engine, 8);
	const double bindVsHardware = differingFraction(BindPose, Hardware, 8);
	RecordProperty("HardwareVsEngine", std::to_string(hardwareVsEngine));
	RecordProperty("BindPoseVsEngine", std::to_string(bindVsEngine));
	printf("%s: hardware vs engine %.4f, bind pose vs engine %.4f, bind pose vs hardware %.4f\n",
		GetParam().Name, hardwareVsEngine, bindVsEngine, bindVsHardware);

	// Lit, the vertex program's lighting rounds differently from the
	// fixed-function pipeline's, by at most a few levels, so within the
	// tolerance of 8 the frames still match; 1% leaves room for edges.
	EXPECT_LT(hardwareVsEngine, 0.01);
	EXPECT_GT(bindVsEngine, 0.03);
	EXPECT_GT(bindVsHardware, 0.03);
}

// A model coloured by its material is drawn in that colour, not white,
// unlit and lit.
class ColouredModelPictures : public Pictures
{
};

TEST_P(ColouredModelPictures, TheModelsOwnColourIsDrawn)
{
	const core::dimension2du size = Hardware->getDimension();
	u32 orange = 0, white = 0;
	for (u32 y = 0; y < size.Height; ++y)
		for (u32 x = 0; x < size.Width; ++x)
		{
			const video::SColor pixel = Hardware->getPixel(x, y);
			orange += pixel.getRed() > pixel.getGreen() + 20 && pixel.getGreen() > pixel.getBlue();
			white += pixel.getRed() > 200 && pixel.getGreen() > 200 && pixel.getBlue() > 200;
		}
	EXPECT_GT(orange, size.Width * size.Height / 50);
	EXPECT_EQ(0u, white);
}

const PictureCase Dwarf[] = { { "DwarfUnlit", 0, '2', false }, { "DwarfLit", 0, '1', false } };
const PictureCase Tube[] = { { "TubeUnlit", bendingTube, '2', false }, { "TubeLit", bendingTube, '1', false } };
const PictureCase OutOfStep[] = { { "OutOfStepUnlit", 0, '2', true }, { "OutOfStepLit", 0, '1', true } };

INSTANTIATE_TEST_SUITE_P(Dwarf, Pictures, ::testing::ValuesIn(Dwarf), caseName<PictureCase>);
INSTANTIATE_TEST_SUITE_P(Tube, Pictures, ::testing::ValuesIn(Tube), caseName<PictureCase>);
INSTANTIATE_TEST_SUITE_P(OutOfStep, Pictures, ::testing::ValuesIn(OutOfStep), caseName<PictureCase>);
INSTANTIATE_TEST_SUITE_P(Tube, ColouredModelPictures, ::testing::ValuesIn(Tube), caseName<PictureCase>);

// Out of step, the same crowd drawn in step is another picture: the option
// really gives every character a pose of its own.
class CrowdOutOfStep : public Pictures
{
};

TEST_P(CrowdOutOfStep, DiffersFromTheCrowdInStep)
{
	video::IImage* inStep = render('2', false);
	ASSERT_TRUE(inStep);
	saveImage(inStep, std::string("/tmp/crowd-") + GetParam().Name + "-engine-in-step.png");
	const double inStepVsOutOfStep = differingFraction(inStep, Engine, 8);
	printf("%s: in step vs out of step %.4f\n", GetParam().Name, inStepVsOutOfStep);
	EXPECT_GT(inStepVsOutOfStep, 0.03);
	inStep->drop();
}

INSTANTIATE_TEST_SUITE_P(OutOfStep, CrowdOutOfStep, ::testing::ValuesIn(OutOfStep), caseName<PictureCase>);
