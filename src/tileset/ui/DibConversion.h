#pragma once
// Moved to the render layer; kept here while the window still includes it from here.
#include "imaging/render/DibConversion.h"
