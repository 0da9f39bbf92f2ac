#pragma once
// The desktop's message boxes, clipboard and the program's help window.

#include "platform/Clipboard.h"
#include "platform/HelpViewer.h"
#include "platform/MessageBoxes.h"

#include <QPointer>

namespace qrb {

class HelpWindow;

class QtMessageBoxes : public MessageBoxes {
public:
    Answer ask(const Question& question) override;
    void inform(const QString& text, const QString& caption, MessageIcon icon) override;
};

class QtClipboard : public Clipboard {
public:
    void clear() override;
    void setImage(const QImage& image) override;
    bool hasImage() const override;
    QImage image() const override;
    void setTiles(const QByteArray& library, const QImage& picture) override;
    QByteArray tiles() const override;
};

class QtHelpViewer : public HelpViewer {
public:
    ~QtHelpViewer() override;
    void showContents() override;

private:
    QPointer<HelpWindow> window_;
};

} // namespace qrb
