#include "ModelFile.h"

#include <algorithm>
#include <cstdio>
#include <string>

using namespace irr;

bool isCutShort(io::IFileSystem* fileSystem, const io::path& name)
{
	io::IReadFile* file = fileSystem->createAndOpenFile(name);
	if (!file)
		return false;
	std::string text(file->getSize(), '\0');
	file->read(&text[0], text.size());
	file->drop();
	if (text.size() < 16 || text.compare(0, 4, "xof ") != 0 || text.compare(8, 4, "txt ") != 0)
		return false;

	int depth = 0;
	bool quoted = false;
	for (size_t i = 0; i < text.size(); ++i)
	{
		if (text[i] == '"')
			quoted = !quoted;
		else if (quoted)
			continue;
		else if (text[i] == '#' || text.compare(i, 2, "//") == 0)
			i = std::min(text.find('\n', i), text.size());
		else if (text[i] == '{')
			++depth;
		else if (text[i] == '}')
			--depth;
	}
	if (depth == 0 && !quoted)
		return false;
	fprintf(stderr, "The character model \"%s\" is cut short: its blocks do not all close.\n", name.c_str());
	return true;
}
