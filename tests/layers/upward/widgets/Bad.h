#pragma once
// A widget that reaches up into the document: the layer check must refuse it.
#include "document/Doc.h"
