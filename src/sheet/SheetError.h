#pragma once
// A print sheet that cannot be made as asked: an option out of range, a tile that does
// not exist or has no back, a layout where no tile fits. what() is one line for the user.

#include <stdexcept>
#include <string>

namespace qrb {

class SheetError : public std::runtime_error {
public:
    explicit SheetError(const std::string& what) : std::runtime_error(what) {}
};

} // namespace qrb
