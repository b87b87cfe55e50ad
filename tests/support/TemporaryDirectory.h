// Temporary directories for the tests, each removed with everything in it
// when it goes out of scope.
#pragma once

#include <filesystem>
#include <string>

class TemporaryDirectory
{
public:
	// A fresh, empty directory.
	TemporaryDirectory();
	~TemporaryDirectory();
	TemporaryDirectory(const TemporaryDirectory&) = delete;
	TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

	std::string path() const { return Directory.string(); }
	std::filesystem::path file(const char* name) const { return Directory / name; }

private:
	std::filesystem::path Directory;
};

// A temporary copy of the demo's working directory (the model, its texture
// and the vertex programs), for runs with files of the test's own.
class WorkingCopy : public TemporaryDirectory
{
public:
	WorkingCopy();
};

// The bytes of a file; empty when it cannot be read.
std::string readFile(const std::filesystem::path& file);

// Writes text into a file, replacing it.
void writeFile(const std::filesystem::path& file, const std::string& text);
