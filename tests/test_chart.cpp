// The benchmark's chart, drawn by scripts/bench-chart.sh from tables written
// here: it reads the columns by name, gives out-of-step runs lines of their
// own, and shows a crowd of one size as points.

#include "support/DemoProcess.h"
#include "support/Pictures.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace
{
struct BenchRun
{
	std::string Mode, Lighting, Crowd;
	int Characters;
	double Fps;
};

const std::vector<std::string> Columns = { "mode", "lighting", "characters", "frames", "seconds", "fps",
	"cpu_ms_per_frame", "ratio_to_none" };
const std::vector<std::string> ColumnsWithCrowd = { "mode", "lighting", "crowd", "characters", "frames",
	"seconds", "fps", "cpu_ms_per_frame", "ratio_to_none" };

// Every mode with both lightings at each size; frame rates fall with size.
std::vector<BenchRun> inStepRuns(const std::vector<int>& sizes)
{
	std::vector<BenchRun> runs;
	for (int size : sizes)
		for (const char* lighting : { "off", "on" })
		{
			const double scale = 42.0 / size * (lighting[1] == 'f' ? 1.0 : 0.8);
			runs.push_back({ "hardware", lighting, "in-step", size, 60 * scale });
			runs.push_back({ "engine", lighting, "in-step", size, 40 * scale });
			runs.push_back({ "none", lighting, "in-step", size, 80 * scale });
		}
	return runs;
}

std::string cell(const BenchRun& run, const std::string& column)
{
	if (column == "mode")
		return run.Mode;
	if (column == "lighting")
		return run.Lighting;
	if (column == "crowd")
		return run.Crowd;
	if (column == "characters")
		return std::to_string(run.Characters);
	if (column == "fps")
		return std::to_string(run.Fps);
	return "1";
}

class BenchChart : public ::testing::Test
{
protected:
	void TearDown() override
	{
		for (irr::video::IImage* image : Images)
			image->drop();
	}

	// Runs the chart script on a table of these columns and runs; returns
	// what it printed and its exit code.
	std::string draw(const std::string& name, const std::vector<std::string>& columns,
		const std::vector<BenchRun>& runs)
	{
		std::ofstream csv(Directory + "/" + name + ".csv");
		for (size_t i = 0; i < columns.size(); ++i)
			csv << (i ? "," : "") << columns[i];
		csv << "\n";
		for (const BenchRun& run : runs)
		{
			for (size_t i = 0; i < columns.size(); ++i)
				csv << (i ? "," : "") << cell(run, columns[i]);
			csv << "\n";
		}
		csv.close();
		return commandOutput(std::string(BENCH_CHART) + " " + Directory + "/" + name + ".csv " + Directory
			+ "/" + name + ".png 2>&1; echo \"exit $?\"");
	}

	// The chart of a table, which must be drawn.
	irr::video::IImage* chart(const std::string& name, const std::vector<std::string>& columns,
		const std::vector<BenchRun>& runs)
	{
		const std::string output = draw(name, columns, runs);
		EXPECT_EQ("exit 0\n", output);
		irr::video::IImage* image = loadImage(Directory + "/" + name + ".png");
		if (image)
			Images.push_back(image);
		return image;
	}

	TemporaryDirectory Temporary;
	const std::string Directory = Temporary.path();
	std::vector<irr::video::IImage*> Images;
};
} // namespace

TEST_F(BenchChart, ReadsTheColumnsByName)
{
	const std::vector<BenchRun> runs = inStepRuns({ 42, 168, 672 });
	irr::video::IImage* plain = chart("plain", Columns, runs);
	ASSERT_TRUE(plain);
	EXPECT_GT(fractionNotColour(plain, irr::video::SColor(0xffffffff), 8), 0.02) << "something is drawn";
	for (const std::vector<std::string>& columns :
		{ ColumnsWithCrowd, std::vector<std::string>{ "fps", "ratio_to_none", "characters", "lighting", "mode" } })
	{
		SCOPED_TRACE(columns.front());
		irr::video::IImage* other = chart("other-" + columns.front(), columns, runs);
		ASSERT_TRUE(other);
		EXPECT_EQ(0.0, differingFraction(plain, other, 0));
	}
}

TEST_F(BenchChart, OutOfStepRunsHaveLinesOfTheirOwn)
{
	// Out-of-step runs as fast as the in-step ones: folded into the in-step
	// lines they would leave the chart as it was.
	std::vector<BenchRun> runs = inStepRuns({ 42, 168, 672 });
	irr::video::IImage* inStep = chart("in-step", ColumnsWithCrowd, runs);
	for (BenchRun run : inStepRuns({ 42, 168, 672 }))
	{
		run.Crowd = "out-of-step";
		runs.push_back(run);
	}
	irr::video::IImage* both = chart("both", ColumnsWithCrowd, runs);
	ASSERT_TRUE(inStep && both);
	EXPECT_GT(differingFraction(inStep, both, 8), 0.005);
}

TEST_F(BenchChart, OneCrowdSizeShowsEveryModeAsAPoint)
{
	// A line through a single point draws nothing: the chart would not
	// change with that mode's frame rate.
	const std::vector<BenchRun> runs = inStepRuns({ 42 });
	irr::video::IImage* before = chart("before", Columns, runs);
	ASSERT_TRUE(before);
	for (size_t i = 0; i < runs.size(); ++i)
	{
		SCOPED_TRACE(runs[i].Mode + ", lighting " + runs[i].Lighting);
		std::vector<BenchRun> changed = runs;
		changed[i].Fps *= 0.5;
		irr::video::IImage* after = chart("after-" + std::to_string(i), Columns, changed);
		ASSERT_TRUE(after);
		EXPECT_GT(differingFraction(before, after, 8), 0.0001);
	}
}

TEST_F(BenchChart, RefusesATableItCannotDraw)
{
	struct Case
	{
		const char* Name;
		std::vector<std::string> Columns;
		std::vector<BenchRun> Runs;
		const char* Message;
	};
	const Case cases[] = {
		{ "no-fps", { "mode", "lighting", "characters" }, inStepRuns({ 42 }), "no column \"fps\"" },
		{ "no-mode", { "lighting", "characters", "fps" }, inStepRuns({ 42 }), "no column \"mode\"" },
		{ "no-runs", Columns, {}, "no runs to draw" },
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE(c.Name);
		const std::string output = draw(c.Name, c.Columns, c.Runs);
		EXPECT_NE(std::string::npos, output.find(c.Message)) << output;
		EXPECT_EQ(std::string::npos, output.find("exit 0")) << output;
	}
}
