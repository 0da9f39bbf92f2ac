#pragma once
// Finds the string literals of a C++ source and the call each one is an argument of, for
// the check that the window's texts go through the translation system.

#include <string>
#include <string_view>
#include <vector>

namespace qrb::test {

struct SourceLiteral {
    int line = 0;
    std::string text;     // as written between the quotes, escapes kept
    std::string function; // the innermost call or braced initialiser's name, wrappers
                          // such as QStringLiteral skipped; empty at the top level
};

// Comments, character literals and preprocessor lines (#include "...") are skipped; raw
// strings are read whole.
std::vector<SourceLiteral> sourceLiterals(std::string_view source);

// Whether a literal outside the translation calls reads as a text for the user: it has
// letters and is not shaped like a key (one word without blanks that starts in lower case
// or is an acronym, or holds one of / . _ : - as identifiers, paths and keys do).
bool looksUserVisible(std::string_view text);

} // namespace qrb::test
