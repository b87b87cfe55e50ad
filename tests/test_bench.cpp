// The benchmark runs every mode, writes its table and leaves screenshots in
// which the skinned modes draw the same crowd.

#include "support/DemoProcess.h"
#include "support/Pictures.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace
{
// A quick run of the benchmark (42 characters, 3 frames, once) into a
// directory of its own, removed afterwards.
class Benchmark : public ::testing::Test
{
protected:
	void run(const std::string& options)
	{
		table = commandOutput("cd " + buildDirectory() + " && ./hwskinbench " + options
			+ " --frames 3 --warmup 1 --repeat 1 --sizes 42 --out " + out + " 2>/dev/null; echo \"exit $?\"");
		EXPECT_NE(std::string::npos, table.find("exit 0")) << table;
		std::ifstream csv(out + "/bench.csv");
		for (std::string line; std::getline(csv, line);)
			rows.push_back(line);
	}

	TemporaryDirectory Out;
	const std::string out = Out.path();
	std::string table;
	std::vector<std::string> rows; // of bench.csv
};
} // namespace

TEST_F(Benchmark, MeasuresEveryModeAndShowsTheSameCrowd)
{
	run("");
	ASSERT_EQ(7u, rows.size()) << "a header and six runs";
	EXPECT_EQ("mode,lighting,crowd,characters,frames,seconds,fps,cpu_ms_per_frame,ratio_to_none", rows[0]);
	for (const char* mode : { "hardware", "engine", "none" })
		for (const char* lighting : { "off", "on" })
		{
			const std::string run = std::string(mode) + "," + lighting + ",in-step,42,3,";
			bool found = false;
			for (const std::string& row : rows)
				found = found || row.rfind(run, 0) == 0;
			EXPECT_TRUE(found) << run;
			EXPECT_NE(std::string::npos, table.find(std::string(mode))) << table;
		}

	for (const char* lighting : { "off", "on" })
	{
		SCOPED_TRACE(lighting);
		const std::string suffix = std::string("-") + lighting + "-42.png";
		irr::video::IImage* hardware = loadImage(out + "/hardware" + suffix);
		irr::video::IImage* engine = loadImage(out + "/engine" + suffix);
		irr::video::IImage* none = loadImage(out + "/none" + suffix);
		ASSERT_TRUE(hardware && engine && none);
		EXPECT_GT(fractionNotColour(engine, ClearColour, 8), 0.02) << "the crowd is in view";
		EXPECT_LT(differingFraction(hardware, engine, 8), 0.01);
		EXPECT_GT(differingFraction(none, engine, 8), 0.005) << "the bind pose differs";
		for (irr::video::IImage* image : { hardware, engine, none })
			image->drop();
	}
}

// Out of step, the rows come in pairs of crowds, each compared with its own
// unskinned run, and the screenshots of both crowds are kept apart.
TEST_F(Benchmark, OutOfStepAddsItsOwnRowsAndScreenshots)
{
	run("--out-of-step");
	EXPECT_NE(std::string::npos, table.find("out-of-step")) << table;
	ASSERT_EQ(13u, rows.size()) << "a header and twelve runs";
	const char* const crowds[] = { "in-step", "out-of-step" };
	const char* const modes[] = { "hardware", "engine", "none" };
	for (size_t r = 1; r < rows.size(); ++r)
	{
		const size_t run = r - 1;
		const std::string start = std::string(modes[run % 3]) + "," + (run < 6 ? "off" : "on") + ","
			+ crowds[run / 3 % 2] + ",42,3,";
		EXPECT_EQ(0u, rows[r].find(start)) << rows[r];
		if (run % 3 == 2)
		{
			EXPECT_EQ(",1.0000", rows[r].substr(rows[r].size() - 7)) << "the unskinned run is its own measure";
		}
	}

	for (const char* lighting : { "off", "on" })
	{
		SCOPED_TRACE(lighting);
		const std::string suffix = std::string("-") + lighting + "-42";
		irr::video::IImage* hardware = loadImage(out + "/hardware" + suffix + "-out-of-step.png");
		irr::video::IImage* engine = loadImage(out + "/engine" + suffix + "-out-of-step.png");
		irr::video::IImage* inStep = loadImage(out + "/engine" + suffix + ".png");
		ASSERT_TRUE(hardware && engine && inStep);
		EXPECT_LT(differingFraction(hardware, engine, 8), 0.01);
		EXPECT_GT(differingFraction(inStep, engine, 8), 0.01) << "the crowds are drawn apart";
		for (irr::video::IImage* image : { hardware, engine, inStep })
			image->drop();
	}
}
