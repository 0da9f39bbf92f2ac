#pragma once
// The lettering controls: the text box, the position and angle controls with the angle
// dial, Place, the nine position slots with Store, the position data file commands and
// the toolbar's style commands. The text being placed, its style and the slots are the
// document's; this panel shows them and turns the controls' input into document calls.

#include "app/parts/PartSupport.h"
#include "document/Document.h"

#include <QObject>

#include <array>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace qrb {

class ImageBox;
class PanelStatusBar;
class ShapeWidget;

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
        std::array<QPushButton*, 9> slotButtons{};
        std::array<QLineEdit*, 9> slotTexts{};
        PanelStatusBar* status = nullptr; // panels 2 to 4 show the style
    };

    // Builds the panel's controls in `client`; `status` is the window's status bar.
    TextPlacementPanel(Document& document, Services services, QWidget* client,
                       PanelStatusBar* status, QObject* parent = nullptr);

    const Widgets& widgets() const { return ui_; }

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
};

} // namespace qrb
