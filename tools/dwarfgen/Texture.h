// The character's texture: an atlas of square swatches, one per kind of
// surface, each painted with its own pattern.
#pragma once

#include "Maths.h"

namespace irr::video
{
class IImage;
class IVideoDriver;
}

enum Swatch { Skin, Hair, Tunic, Trousers, Leather, Steel, Wood, Blade, Horn, Eye, Gold, SwatchCount };

// Texture coordinates of (u, v) in [0, 1] within swatch s.
Vec2 atlasUv(Swatch s, float u, float v);

// The atlas as a new image made by driver; the caller drops it.
irr::video::IImage* makeTexture(irr::video::IVideoDriver* driver);
