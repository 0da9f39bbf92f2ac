#include "document/Document.h"
#include <gtest/gtest.h>
TEST(DocumentSmoke, Builds) { qrb::Document d; EXPECT_FALSE(d.isLibraryOpen()); }
