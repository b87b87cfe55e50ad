#include "Texture.h"

#include <irrlicht.h>

#include <algorithm>
#include <cstdint>

namespace
{

const int AtlasSize = 256;
const int SwatchSize = 64;
const int SwatchesPerRow = AtlasSize / SwatchSize;
// Keeps texture lookups off the swatch borders, which blur into the
// neighbours in the smaller mipmaps.
const int SwatchInset = 6;
const float SwatchSpan = SwatchSize - 2 * SwatchInset;

struct Rgb
{
	float R, G, B;
};

// Repeatable noise in [0, 1) from integer coordinates.
float noise(int x, int y, int salt)
{
	uint32_t h = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u
		^ static_cast<uint32_t>(salt) * 83492791u;
	h ^= h >> 13;
	h *= 0x5bd1e995u;
	h ^= h >> 15;
	return static_cast<float>(h & 0xffffu) / 65536.f;
}

Rgb shade(Rgb c, float f)
{
	return {c.R * f, c.G * f, c.B * f};
}

// The colour of swatch s at (u, v) in [0, 1]; x and y are texel indices
// within the swatch for grainy patterns. v runs along the part.
Rgb paint(Swatch s, float u, float v, int x, int y)
{
	const float grain = noise(x, y, s) - 0.5f;
	switch (s)
	{
	case Skin:
		return shade({226, 170, 128}, 1 + 0.05f * grain);
	case Hair: // streaks running down the beard
		return shade({178, 82, 30}, 0.8f + 0.35f * noise(x / 2, 0, s) + 0.1f * grain);
	case Tunic: // a coarse weave
		return shade({46, 84, 150}, ((x + y) % 4 < 2 ? 1.05f : 0.92f) + 0.06f * grain);
	case Trousers:
		return shade({118, 92, 62}, 1 + 0.12f * grain);
	case Leather:
		return shade({82, 52, 30}, 1 + 0.2f * noise(x / 3, y / 3, s) - 0.1f);
	case Steel: // brushed
		return shade({150, 156, 166}, 1 + 0.12f * noise(0, y, s) + 0.04f * grain);
	case Wood: // grain along the handle
		return shade({128, 84, 44}, 0.9f + 0.15f * std::sin(u * 40 + 3 * noise(x / 4, 0, s)) + 0.05f * grain);
	case Blade: // brightening towards the cutting edge
		return shade({150, 156, 168}, 0.9f + 0.6f * u * u);
	case Horn: // rings along the horn
		return shade({228, 214, 178}, 0.9f + 0.1f * std::sin(v * 40));
	case Eye: // white with the iris at the front
		return v < 0.72f ? Rgb{235, 235, 230} : Rgb{40, 30, 25};
	case Gold:
		return shade({210, 166, 52}, 1 + 0.15f * grain);
	case SwatchCount:
		break;
	}
	return {255, 0, 255};
}

} // namespace

Vec2 atlasUv(Swatch s, float u, float v)
{
	return {((s % SwatchesPerRow) * SwatchSize + SwatchInset + u * SwatchSpan) / AtlasSize,
		((s / SwatchesPerRow) * SwatchSize + SwatchInset + v * SwatchSpan) / AtlasSize};
}

// The atlas, the swatches in rows from the top left.
irr::video::IImage* makeTexture(irr::video::IVideoDriver* driver)
{
	irr::video::IImage* image = driver->createImage(irr::video::ECF_R8G8B8, {AtlasSize, AtlasSize});
	for (int row = 0; row < AtlasSize; ++row)
		for (int col = 0; col < AtlasSize; ++col)
		{
			const int s = (row / SwatchSize) * SwatchesPerRow + col / SwatchSize;
			Rgb c{255, 0, 255};
			if (s < SwatchCount)
			{
				const int x = col % SwatchSize, y = row % SwatchSize;
				const float u = std::clamp((x - SwatchInset) / SwatchSpan, 0.f, 1.f);
				const float v = std::clamp((y - SwatchInset) / SwatchSpan, 0.f, 1.f);
				c = paint(static_cast<Swatch>(s), u, v, x, y);
			}
			auto byte = [](float channel) { return std::clamp(static_cast<int>(channel + 0.5f), 0, 255); };
			image->setPixel(col, row, irr::video::SColor(255, byte(c.R), byte(c.G), byte(c.B)));
		}
	return image;
}
