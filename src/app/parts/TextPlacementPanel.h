#pragma once
// The lettering controls: the text box, the position and angle controls with the angle
// dial, Place, the nine position slots with Store, the position data file commands and
// the toolbar's style commands. The text being placed, its style and the slots are the
// document's; this panel shows them and turns the controls' input into document calls.

#include "app/parts/PartSupport.h"
#include "document/Document.h"

#include <QObject>
#include <QPointer>

#include <array>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QScrollBar;

namespace qrb {

class ImageBox;
class PanelStatusBar;
class ShapeWidget;
class TextEffectsDialog;

class TextPlacementPanel : public QObject {
    Q_OBJECT
public:
    // The panel's controls, which it builds in the window's client area at their design
    // places. tileSizeLabel shows the working tile's size, which is the position bars' range.
    struct Widgets {
        QLineEdit* textBox = nullptr;
        QGroupBox* positionGroup = nullptr;
        QScrollBar* xBar = nullptr;
        QScrollBar* yBar = nullptr;
        QLineEdit* xField = nullptr;
        QLineEdit* yField = nullptr;
        QLabel* positionComma = nullptr;
        QLabel* tileSizeLabel = nullptr;
        QPushButton* placeButton = nullptr;
        QPushButton* storeButton = nullptr;
        QGroupBox* angleGroup = nullptr;
        QLineEdit* angleField = nullptr;
        QScrollBar* angleBar = nullptr;
        ImageBox* angleDial = nullptr;
        ShapeWidget* angleDialRing = nullptr;
        QGroupBox* slotGroup = nullptr;
        // The slots' rows scroll inside the group when the window is too low for all nine.
        QScrollArea* slotView = nullptr;
        std::array<QPushButton*, 9> slotButtons{};
        std::array<QLineEdit*, 9> slotTexts{};
        PanelStatusBar* status = nullptr; // panels 2 to 4 show the style
    };

    // Builds the panel's controls in `client`; `status` is the window's status bar.
    TextPlacementPanel(Document& document, Services services, QWidget* client,
                       PanelStatusBar* status, QObject* parent = nullptr);

    const Widgets& widgets() const { return ui_; }

    // ---- Layout (the window calls this as it lays out its client area) ----------------
    // The slot group at most its design height, ending above `bottom` when the window is
    // lower, down to kSlotGroupMinimum; its rows scroll when they do not all fit.
    static constexpr int kSlotGroupMinimum = 90;
    void fitSlotGroup(int bottom);

    // ---- Commands (bound by the window) ------------------------------------------------
    void place();
    void beginStore();
    void slotButton(int k);
    // Shows the angle box, focused with its text selected, for typing an angle.
    void showAngleField();
    void savePositionData();
    void loadPositionData();
    void clearPositionData();
    void chooseFont();       // toolbar button 7
    void decreaseFontSize(); // button 8
    void increaseFontSize(); // button 9
    // Edit > Text Effects...: the dialog, window-modal; OK sets the effects as one step.
    void editTextEffects();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls(QWidget* client);
    void connectInput();
    void show(Document::Changes what);
    void showStyle();
    void showPosition();
    void showAngle();
    void showSlots();
    void drawAngleDial();

    Document& document_;
    Services services_;
    Widgets ui_;
    bool showing_ = false;  // the panel is putting the document into its controls
    QString boxStyleSheet_; // the text box's own style sheet, without colours
    QPointer<TextEffectsDialog> effects_;
};

} // namespace qrb
