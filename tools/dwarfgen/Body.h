// The character's body: a marching dwarf with a horned helmet, a red beard
// and an axe, built of shapes moved by the skeleton's joints.
#pragma once

#include "Shapes.h"

// The dwarf in its bind pose, about 60 units tall with its feet on y = 0,
// centred on the y axis and facing -z.
Mesh buildDwarf();
