#pragma once
// A QGuiApplication for the time of one command, on the offscreen platform, for the
// commands that draw with Qt (lettering, print sheets): they need no display, and the
// tool's other commands never start one. None is made when the program has one already.
// Qt's own notes (about the desktop it does not need) stay off the error output, which
// holds only the command's own lines.

#include <QGuiApplication>

#include <optional>

namespace qrb::cli {

class HeadlessGui {
public:
    HeadlessGui();
    ~HeadlessGui();
    HeadlessGui(const HeadlessGui&) = delete;
    HeadlessGui& operator=(const HeadlessGui&) = delete;

private:
    QtMessageHandler previous_ = nullptr;
    int argc_ = 1;
    char name_[8] = "qrbtool";
    char* argv_[2] = {name_, nullptr};
    std::optional<QGuiApplication> app_;
};

} // namespace qrb::cli
