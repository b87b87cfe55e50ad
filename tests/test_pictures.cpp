// The crowd as it is drawn: frames of the three skinning modes at one fixed
// animation time and camera position, read back from the OpenGL driver.
// The vertex program must draw the same crowd as the engine's own skinning,
// and both must differ from the undeformed bind pose; out of step too, where
// every character has its own pose.

#include "Demo.h"
#include "support/Pictures.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <vector>

using namespace irr;

namespace
{
// A frame of the crowd with the OpenGL error state clean after it; null when
// there is no OpenGL.
video::IImage* renderMode(char skinning, char lighting, std::string* stdoutText = 0)
{
	testing::internal::CaptureStdout();
	GLenum error = GL_NO_ERROR;
	video::IImage* frame = renderCrowd(RunOptions{ '2', skinning, lighting }, &error);
	const std::string printed = testing::internal::GetCapturedStdout();
	if (stdoutText)
		*stdoutText = printed;
	EXPECT_EQ(GLenum(GL_NO_ERROR), error) << "skinning '" << skinning << "', lighting '" << lighting << "'";
	return frame;
}

// Renders the three modes once per lighting answer and keeps the frames.
class Pictures : public ::testing::TestWithParam<char>
{
protected:
	void SetUp() override
	{
		Hardware = renderMode('1', GetParam(), &HardwareOutput);
		Engine = renderMode('2', GetParam());
		BindPose = renderMode('3', GetParam());
		ASSERT_TRUE(Hardware && Engine && BindPose) << "no OpenGL display";
		const std::string prefix = std::string("/tmp/crowd-lighting-") + GetParam();
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
	printf("lighting '%c': hardware vs engine %.4f, bind pose vs engine %.4f, bind pose vs hardware %.4f\n",
		GetParam(), hardwareVsEngine, bindVsEngine, bindVsHardware);

	// Unlit, both draw the same pixels. Lit, the vertex program's lighting
	// rounds differently from the fixed-function pipeline's: about 0.3% of
	// the pixels differ at all, and by at most a few levels, so within the
	// tolerance of 8 the frames still match; 1% leaves room for edges.
	EXPECT_LT(hardwareVsEngine, 0.01);
	EXPECT_GT(bindVsEngine, 0.03);
	EXPECT_GT(bindVsHardware, 0.03);
}

INSTANTIATE_TEST_SUITE_P(Lighting, Pictures, ::testing::Values('2', '1'),
	[](const ::testing::TestParamInfo<char>& info) { return info.param == '1' ? "On" : "Off"; });

namespace
{
// Frames of the crowd out of step, and in step, drawn at the same moment.
class OutOfStepPictures : public ::testing::TestWithParam<char>
{
protected:
	video::IImage* render(char skinning, bool outOfStep)
	{
		GLenum error = GL_NO_ERROR;
		testing::internal::CaptureStdout();
		video::IImage* frame = renderCrowd(RunOptions{ '2', skinning, GetParam(), outOfStep }, &error);
		testing::internal::GetCapturedStdout();
		EXPECT_EQ(GLenum(GL_NO_ERROR), error) << "skinning '" << skinning << "'";
		if (frame)
			Frames.push_back(frame);
		return frame;
	}

	void TearDown() override
	{
		for (video::IImage* image : Frames)
			image->drop();
	}

	std::vector<video::IImage*> Frames;
};
} // namespace

TEST_P(OutOfStepPictures, HardwareSkinningDrawsEveryCharactersOwnPose)
{
	video::IImage* hardware = render('1', true);
	video::IImage* engine = render('2', true);
	video::IImage* inStep = render('2', false);
	ASSERT_TRUE(hardware && engine && inStep) << "no OpenGL display";
	const std::string prefix = std::string("/tmp/crowd-out-of-step-lighting-") + GetParam();
	saveImage(hardware, prefix + "-hardware.png");
	saveImage(engine, prefix + "-engine.png");
	saveImage(inStep, prefix + "-engine-in-step.png");

	const double hardwareVsEngine = differingFraction(hardware, engine, 8);
	const double inStepVsEngine = differingFraction(inStep, engine, 8);
	printf("lighting '%c', out of step: hardware vs engine %.4f, in step vs out of step %.4f\n", GetParam(),
		hardwareVsEngine, inStepVsEngine);
	EXPECT_GT(fractionNotColour(hardware, ClearColour, 8), 0.05) << "the crowd is drawn";
	// As in step, within the tolerance the two skinnings draw the same pixels.
	EXPECT_LT(hardwareVsEngine, 0.01);
	EXPECT_GT(inStepVsEngine, 0.03) << "the option changes the poses";
}

INSTANTIATE_TEST_SUITE_P(Lighting, OutOfStepPictures, ::testing::Values('2', '1'),
	[](const ::testing::TestParamInfo<char>& info) { return info.param == '1' ? "On" : "Off"; });
