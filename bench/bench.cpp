// Compares the frame rates of the three skinning modes: hardware (vertex
// program), engine (CPU) and none, with lighting off and on, for the demo's
// crowd of 42 and for larger crowds; with --out-of-step, for the crowd in step
// and for the crowd out of step, where skinning on the CPU costs per character.
//
//   hwskinbench [--frames N] [--warmup N] [--repeat N] [--sizes 42,168,672] [--out DIR] [--out-of-step]
//
// Every run builds the demo's own scene in a fresh process (the skinning
// callback lives as long as its process), holds the camera where it sees the
// whole crowd, draws the warm-up frames and then the counted frames as fast
// as it can; each is run --repeat times, in rounds, and the table shows the
// medians. The table goes to the console and to DIR/bench.csv, and every
// mode leaves a screenshot DIR/<mode>-<lighting>-<characters>.png (the crowd
// out of step: <mode>-<lighting>-<characters>-out-of-step.png) taken at the
// same moment, so the modes can be seen to draw the same crowd.
// Run it in the demo's working directory (the build directory).

#include "Demo.h"
#include "StillFrame.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include <sys/resource.h>

using namespace irr;

namespace
{
struct Mode
{
	const char* Name;
	char SkinningKey;
};
const Mode Modes[] = { { "hardware", '1' }, { "engine", '2' }, { "none", '3' } };

struct Lighting
{
	const char* Name;
	char LightingKey;
};
const Lighting Lightings[] = { { "off", '2' }, { "on", '1' } };

struct Crowd
{
	const char* Name;
	bool OutOfStep;
};
const Crowd Crowds[] = { { "in-step", false }, { "out-of-step", true } };

struct Result
{
	double Seconds = 0;
	double CpuSeconds = 0;
	bool Ok = false;
};

double cpuSeconds()
{
	rusage usage;
	getrusage(RUSAGE_SELF, &usage);
	return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
		+ 1e-6 * (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

// A crowd of about `characters` on a grid a little wider than deep, like the demo's.
CrowdLayout layoutFor(u32 characters)
{
	CrowdLayout layout;
	layout.Rows = core::max_(1u, u32(std::lround(std::sqrt(characters * 6.0 / 7.0))));
	layout.Columns = (characters + layout.Rows - 1) / layout.Rows;
	return layout;
}

// Holds the camera still, high in front of the crowd, so that it sees all of it.
void frameCrowd(IrrlichtDevice* device, const CrowdLayout& layout)
{
	scene::ICameraSceneNode* camera = device->getSceneManager()->getActiveCamera();
	camera->removeAnimators();
	const f32 width = f32(GridStep * (layout.Columns - 1));
	const f32 depth = f32(GridStep * (layout.Rows - 1));
	const core::vector3df centre(0.5f * width, 30.f, 0.5f * depth);
	const f32 distance = 0.8f * core::max_(width, depth) + 60.f;
	camera->setPosition(centre + core::vector3df(0, 0.6f * distance, -distance));
	camera->setTarget(centre);
	camera->setFarValue(5000.f);
}

// One measured run in this process; prints one result line for the parent.
int runOne(char skinning, char lighting, const char* crowd, u32 characters, u32 warmup, u32 frames,
	const std::string& png)
{
	const RunOptions options{ '2', skinning, lighting, strcmp(crowd, Crowds[1].Name) == 0 };
	DemoDevice demo(options);
	IrrlichtDevice* device = demo.device();
	if (!device)
		return 1;
	const CrowdLayout layout = layoutFor(characters);
	// Light circles start at the clock's time when they are made: start them
	// at 0 so every run's screenshot has the same lights.
	device->getTimer()->setTime(0);
	if (!demo.buildScene(layout))
		return 1;
	frameCrowd(device, layout);

	double start = 0, cpuStart = 0;
	for (u32 i = 0; i < warmup + frames && device->run(); ++i)
	{
		if (i == warmup)
		{
			start = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
			cpuStart = cpuSeconds();
		}
		drawFrame(device);
	}
	const double end = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
	printf("RESULT %.6f %.6f\n", end - start, cpuSeconds() - cpuStart);

	video::IImage* still = drawStill(device, 1000, options.OutOfStep);
	if (still)
	{
		device->getVideoDriver()->writeImageToFile(still, png.c_str());
		still->drop();
	}
	return 0;
}

// Runs one measurement in a fresh process of this program.
Result measure(const char* self, const Mode& mode, const Lighting& lighting, const Crowd& crowd,
	u32 characters, u32 warmup, u32 frames, const std::string& png)
{
	const std::string command = std::string(self) + " --run " + mode.SkinningKey + " "
		+ lighting.LightingKey + " " + crowd.Name + " " + std::to_string(characters) + " " + std::to_string(warmup)
		+ " " + std::to_string(frames) + " " + png + " 2>/dev/null";
	Result result;
	if (FILE* child = popen(command.c_str(), "r"))
	{
		char line[256];
		while (fgets(line, sizeof(line), child))
			if (sscanf(line, "RESULT %lf %lf", &result.Seconds, &result.CpuSeconds) == 2)
				result.Ok = true;
		result.Ok = pclose(child) == 0 && result.Ok;
	}
	return result;
}

// One crowd size, lighting, crowd and mode, with the results of its runs.
struct Configuration
{
	u32 Size;
	u32 Characters;
	const Mode* Skinning;
	const Lighting* Light;
	const Crowd* Steps;
	std::vector<Result> Results;
};

// The run with the median time among those that worked (not Ok when none did).
Result median(std::vector<Result> results)
{
	results.erase(std::remove_if(results.begin(), results.end(), [](const Result& r) { return !r.Ok; }),
		results.end());
	if (results.empty())
		return Result();
	std::sort(results.begin(), results.end(),
		[](const Result& a, const Result& b) { return a.Seconds < b.Seconds; });
	return results[results.size() / 2];
}

std::vector<u32> parseSizes(const char* text)
{
	std::vector<u32> sizes;
	for (const char* p = text; *p;)
	{
		char* end = 0;
		const unsigned long n = strtoul(p, &end, 10);
		if (end == p || n == 0)
			return {};
		sizes.push_back(u32(n));
		p = *end == ',' ? end + 1 : end;
	}
	return sizes;
}
} // namespace

int main(int argc, char** argv)
{
	if (argc == 9 && strcmp(argv[1], "--run") == 0)
		return runOne(argv[2][0], argv[3][0], argv[4], u32(atoi(argv[5])), u32(atoi(argv[6])),
			u32(atoi(argv[7])), argv[8]);

	u32 frames = 60, warmup = 10, repeat = 3;
	std::vector<u32> sizes = { 42, 168, 672 };
	std::string out = ".";
	u32 crowds = 1;
	int i = 1;
	for (; i < argc; ++i)
	{
		const bool hasValue = i + 1 < argc;
		if (strcmp(argv[i], "--out-of-step") == 0)
			crowds = 2;
		else if (hasValue && strcmp(argv[i], "--frames") == 0)
			frames = u32(atoi(argv[++i]));
		else if (hasValue && strcmp(argv[i], "--warmup") == 0)
			warmup = u32(atoi(argv[++i]));
		else if (hasValue && strcmp(argv[i], "--repeat") == 0)
			repeat = u32(atoi(argv[++i]));
		else if (hasValue && strcmp(argv[i], "--sizes") == 0)
			sizes = parseSizes(argv[++i]);
		else if (hasValue && strcmp(argv[i], "--out") == 0)
			out = argv[++i];
		else
			break;
	}
	if (i != argc || frames == 0 || repeat == 0 || sizes.empty())
	{
		fprintf(stderr, "usage: %s [--frames N] [--warmup N] [--repeat N] [--sizes 42,168,672] [--out DIR]"
			" [--out-of-step]\n", argv[0]);
		return 2;
	}

	const std::string csvFile = out + "/bench.csv";
	FILE* csv = fopen(csvFile.c_str(), "w");
	if (!csv)
	{
		fprintf(stderr, "Cannot write %s\n", csvFile.c_str());
		return 1;
	}

	std::vector<Configuration> configurations;
	for (u32 size : sizes)
		for (const Lighting& lighting : Lightings)
			for (u32 crowd = 0; crowd < crowds; ++crowd)
				for (const Mode& mode : Modes)
					configurations.push_back({ size, layoutFor(size).Columns * layoutFor(size).Rows, &mode,
						&lighting, &Crowds[crowd], {} });

	// Rounds over all configurations, so that a slow spell of the machine
	// falls on every mode alike; the table shows each one's median.
	const u32 runs = configurations.size() * repeat;
	u32 run = 0;
	for (u32 round = 1; round <= repeat; ++round)
	{
		for (Configuration& c : configurations)
		{
			fprintf(stderr, "[%u/%u] round %u: %s skinning, lighting %s, %u characters %s, %u + %u frames...\n",
				++run, runs, round, c.Skinning->Name, c.Light->Name, c.Characters, c.Steps->Name, warmup, frames);
			const std::string png = out + "/" + c.Skinning->Name + "-" + c.Light->Name + "-"
				+ std::to_string(c.Characters) + (c.Steps->OutOfStep ? "-out-of-step" : "") + ".png";
			c.Results.push_back(measure(argv[0], *c.Skinning, *c.Light, *c.Steps, c.Size, warmup, frames, png));
		}
	}

	fprintf(csv, "mode,lighting,crowd,characters,frames,seconds,fps,cpu_ms_per_frame,ratio_to_none\n");
	printf("%-9s %-8s %-11s %10s %6s %8s %8s %9s %8s\n", "mode", "lighting", "crowd", "characters", "frames",
		"seconds", "fps", "cpu ms/f", "vs none");
	bool allOk = true;
	for (size_t c = 0; c < configurations.size(); ++c)
	{
		const Configuration& configuration = configurations[c];
		// The unskinned run of the same size, lighting and crowd ends each group of three.
		const Result none = median(configurations[c - c % 3 + 2].Results);
		const Result r = median(configuration.Results);
		const double fps = r.Ok ? frames / r.Seconds : 0;
		const double ratio = none.Ok && r.Ok ? none.Seconds / r.Seconds : 0;
		allOk = allOk && r.Ok;
		printf("%-9s %-8s %-11s %10u %6u %8.2f %8.2f %9.2f %8.2f%s\n", configuration.Skinning->Name,
			configuration.Light->Name, configuration.Steps->Name, configuration.Characters, frames, r.Seconds,
			fps, 1000 * r.CpuSeconds / frames, ratio, r.Ok ? "" : "  (failed)");
		fprintf(csv, "%s,%s,%s,%u,%u,%.4f,%.3f,%.3f,%.4f\n", configuration.Skinning->Name,
			configuration.Light->Name, configuration.Steps->Name, configuration.Characters, frames, r.Seconds,
			fps, 1000 * r.CpuSeconds / frames, ratio);
	}
	fclose(csv);
	printf("\nMedians of %u runs each. Written: %s and one screenshot per mode in %s\n", repeat,
		csvFile.c_str(), out.c_str());
	return allOk ? 0 : 1;
}
