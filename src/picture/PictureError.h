#pragma once
// Why a picture was not read. what() is the reason without the file's name ("the data
// ends before the picture does"); the caller names the file.

#include <stdexcept>
#include <string>

namespace qrb {

class PictureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The reading was stopped on request; nothing of the picture is kept.
class PictureCancelled : public std::runtime_error {
public:
    PictureCancelled() : std::runtime_error("cancelled") {}
};

} // namespace qrb
