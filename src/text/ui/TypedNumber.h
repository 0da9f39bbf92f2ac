#pragma once
// Moved to the document layer; kept here while the window still includes it from here.
#include "document/TypedNumber.h"
