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
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace qrb {

class ImageBox;
class PanelStatusBar;

class TextPlacementPanel : public QObject {
    Q_OBJECT
public:
    struct Widgets {
        QLineEdit* txtText = nullptr;
        QScrollBar* XScroll = nullptr;
        QScrollBar* YScroll = nullptr;
        QLineEdit* txtX = nullptr;
        QLineEdit* txtY = nullptr;
        QGroupBox* frmRotate = nullptr;
        QLineEdit* txtAngle = nullptr;
        QScrollBar* HScroll1 = nullptr;
        ImageBox* picRotate = nullptr;
        std::array<QPushButton*, 9> cmdPlaceText{};
        std::array<QLineEdit*, 9> Text1{};
        PanelStatusBar* status = nullptr; // panels 2 to 4 show the style
    };

    TextPlacementPanel(Document& document, Services services, const Widgets& widgets,
                       QObject* parent = nullptr);

    // ---- Commands (bound by the window) ------------------------------------------------
    void cmdPlace_Click();
    void cmdStore_Click();
    void cmdPlaceText_Click(int k);
    // Shows the angle box, focused with its text selected, for typing an angle.
    void picRotate_Click();
    void mnuSavePositionData_Click();
    void mnuLoadPositionData_Click();
    void mnuClearPositionData_Click();
    void SelectFont();       // toolbar button 7
    void FontSizeDecrease(); // button 8
    void FontSizeIncrease(); // button 9

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
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
