#pragma once
// Edit > Text Effects...: the outline, the shadow and the fit width of the text being
// placed, with a preview of the working tile that follows every change. OK makes the
// choice the text's, as one undo step; Cancel leaves the text as it was. Colours are
// picked with the window's shared colour dialog.

#include "app/shared/Services.h"
#include "text/TextLayout.h"

#include <QDialog>
#include <QImage>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace qrb {

class Document;

class TextEffectsDialog : public QDialog {
    Q_OBJECT
public:
    TextEffectsDialog(Document& document, Services services, QWidget* parent = nullptr);

    // The layout the controls show, the anchors the text's own.
    TextLayout layout() const;
    // The working tile with the text drawn as the controls say, at its own size.
    const QImage& preview() const { return preview_; }

    // The controls, found by tests and accessibility under these object names.
    QSpinBox* outlineWidth;     // "outlineWidth"
    QPushButton* outlineColour; // "outlineColour"
    QCheckBox* shadow;          // "shadow"
    QSpinBox* shadowDx;         // "shadowDx"
    QSpinBox* shadowDy;         // "shadowDy"
    QPushButton* shadowColour;  // "shadowColour"
    QSpinBox* fitWidth;         // "fitWidth"

private:
    void pickColour(ColourValue& colour, QPushButton* button);
    void showColour(QPushButton* button, ColourValue colour);
    void refresh();
    void commit();

    Document& document_;
    Services services_;
    ColourValue outline_;
    ColourValue shadowColour_;
    QLabel* picture_;
    QImage preview_;
};

} // namespace qrb
