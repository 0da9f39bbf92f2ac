#pragma once
// The status bar across the bottom of the client area: the number of tiles, the style
// panels (filled by the text placement panel), the last command's message, and the
// progress bar that covers the message while a long command runs.

#include "document/Document.h"

#include <QObject>

#include <functional>

class QProgressBar;
class QWidget;

namespace qrb {

class PanelStatusBar;

class StatusBarPanel : public QObject {
    Q_OBJECT
public:
    struct Widgets {
        PanelStatusBar* statusPanels = nullptr;
        QProgressBar* progressBar = nullptr;
    };

    StatusBarPanel(Document& document, QWidget* client, QObject* parent = nullptr);

    const Widgets& widgets() const { return ui_; }
    int height() const;

    // What a command did, in the message panel until the next command.
    void showMessage(const QString& text);
    // The working tile's zoom, in the last panel ("200%").
    void showZoom(double zoom);
    // Shows the style panel wide enough for the large layout's longer style words; it is
    // as wide while the text's anchor, which it names, is not top-left.
    void setWide(bool wide);
    // On top, across the client area's band ending at `bottom`, `width` wide; the progress bar over
    // the message panel, up to `right` at most.
    void layOut(int bottom, int width, int right);
    // A progress display for the core's long operations, on the progress bar.
    std::function<void(int, int)> progressDisplay();

private:
    void showTileCount();
    void fitStylePanel();

    Document& document_;
    Widgets ui_;
    bool wide_ = false;
    // The last layOut()'s bottom, width and right; no layout yet while laidOut_ is false.
    bool laidOut_ = false;
    int bottom_ = 0, width_ = 0, right_ = 0;
};

} // namespace qrb
