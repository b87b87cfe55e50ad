// A temporary copy of the demo's working directory, for runs with a model or
// vertex program of the test's own; removed when it goes out of scope.
#pragma once

#include <filesystem>
#include <string>

class WorkingCopy
{
public:
	// Copies the model, its texture and the vertex programs from the build
	// directory.
	WorkingCopy();
	~WorkingCopy();
	WorkingCopy(const WorkingCopy&) = delete;
	WorkingCopy& operator=(const WorkingCopy&) = delete;

	std::string path() const { return Directory.string(); }
	std::filesystem::path file(const char* name) const { return Directory / name; }

	// Writes text into the named file of the copy, replacing it.
	void write(const char* name, const std::string& text) const;

private:
	std::filesystem::path Directory;
};
