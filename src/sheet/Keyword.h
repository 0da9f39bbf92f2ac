#pragma once
// Matching typed words (units, page sizes, kinds of marks) against their names.

#include <cctype>
#include <string_view>

namespace qrb {

// True when `typed` is `name` in any mix of upper and lower case; `name` is lower case.
inline bool isKeyword(std::string_view typed, std::string_view name) {
    if (typed.size() != name.size()) {
        return false;
    }
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(typed[i])) != name[i]) {
            return false;
        }
    }
    return true;
}

} // namespace qrb
