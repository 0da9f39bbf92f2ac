#pragma once
// A desktop for window benchmarks that never waits: the file dialog picks `next`,
// questions are answered No, previews are cancelled, nothing else is shown.
#include "platform/Platform.h"

#include <optional>

namespace qrb::bench {

struct SilentDesktop : DialogBackend,
                       MessageBoxes,
                       Clipboard,
                       HelpViewer,
                       Printing,
                       ProgressDialog {
    QString next;
    std::optional<QString> openFile(const FileDialogRequest&) override { return next; }
    std::optional<QString> saveFile(const FileDialogRequest&) override { return next; }
    std::optional<FontSettings> chooseFont(const FontDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<ColourValue> chooseColour(ColourValue) override { return std::nullopt; }
    Answer ask(const Question&) override { return Answer::No; }
    void inform(const QString&, const QString&, MessageIcon) override {}
    void clear() override {}
    void setImage(const QImage&) override {}
    bool hasImage() const override { return false; }
    QImage image() const override { return {}; }
    void setTiles(const QByteArray&, const QImage&) override {}
    QByteArray tiles() const override { return {}; }
    void showContents() override {}
    bool preview(PrintJob&, const QString&, const QString&, const Accepted&) override {
        return false;
    }
    bool print(PrintJob&, const QString&) override { return false; }
    void run(const QString&, const QString&, const Work& work) override { work({}, {}); }
};

} // namespace qrb::bench
