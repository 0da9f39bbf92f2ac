#pragma once
// Lettering on the working tile: the text, position and angle controls with their live
// preview and Place; the nine position slots with Store and recall; the position data file
// commands; and the toolbar's style commands (font dialog, size steps, Bold, Italic).
//
// Created once in Form2's constructor. It installs these handlers on the window:
//   cmdPlaceText_Click(0) ... cmdPlaceText_Click(8)   a click on slot button k: a pending
//                                                     Store stores into slot k, otherwise
//                                                     slot k is recalled. Tile creation
//                                                     "using position data" runs these.
//   mnuSavePositionData_Click, mnuLoadPositionData_Click, mnuClearPositionData_Click,
//   mnuCreateUsingPosition_Click, Toolbar1_Button7 ... Toolbar1_Button11.
// The current text style lives where the user sees it: the font and colours of txtText,
// the working tile's font and text colour, the shared dialog's font fields and the status
// bar panels 2 to 4. Slot k shows in Text1(k) (text, style, description as tooltip) and
// cmdPlaceText(k) (position as caption, angle text as the dynamic property "Tag").

#include "app/Form2.h"
#include "core/Colour.h"
#include "text/PositionSlot.h"

#include <QObject>
#include <QString>

#include <cstdint>

class QFont;

namespace qrb {

class TextPlacement : public QObject {
    Q_OBJECT
public:
    // The name of slot button k's handler: "cmdPlaceText_Click(k)".
    static QString slotHandlerName(int k);

    explicit TextPlacement(Form2& form);

    // ---- Placing text on the working tile -----------------------------------------------
    // Redraws the live text over the undo copy (nothing while the working tile is hidden).
    void DrawTextPreview();
    void XScroll_Change();
    void YScroll_Change();
    void HScroll1_Change();
    // Only Enter (13) acts: the typed angle is taken and the box hidden again.
    void txtAngle_KeyPress(int key);
    void txtAngle_DblClick();
    void picRotate_Click();
    void frmRotate_Click();
    void cmdPlace_Click();

    // ---- Position slots -----------------------------------------------------------------
    void cmdStore_Click();
    void cmdPlaceText_Click(int k);
    void StoreSlot(int k);
    void RecallSlot(int k);
    void mnuCreateUsingPosition_Click();
    // The slots as they stand, each slot's text being what its box holds.
    const PositionSlots& positionSlots() const { return slots_; }
    bool storePending() const { return StorePending; }

    // ---- Position data file -------------------------------------------------------------
    void mnuSavePositionData_Click();
    void mnuLoadPositionData_Click();
    void mnuClearPositionData_Click();

    // ---- Toolbar style commands ---------------------------------------------------------
    void SelectFont();       // button 7
    void FontSizeDecrease(); // button 8
    void FontSizeIncrease(); // button 9
    void BoldClick();        // button 10
    void ItalicClick();      // button 11

    // The style txtText shows now.
    TextStyle currentStyle() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectControls();
    void installHandlers();

    // The angle as the preview draws it, from the angle text.
    float previewAngle() const;
    void drawAngleDial(int angle);
    // The position fields as numbers. A field that does not hold a whole number in the
    // 16-bit range gets its last valid value back first.
    std::int16_t positionX();
    std::int16_t positionY();
    std::int16_t checkedPosition(QLineEdit* field, std::int16_t& lastValid);
    void setPositionText(QLineEdit* field, std::int16_t& lastValid, const QString& text);

    // Slot k's controls from the model.
    void showSlot(int k);
    void disableEmptySlots();

    // The parts of the current style.
    void setBoxFont(const QFont& font);
    void setTileFont(const QFont& font);
    void setBoxColours(ColourValue text, ColourValue box);
    void setTileTextColour(ColourValue text);
    void setBoxHeight(double size);
    void showStylePanels(const QString& face, double size, bool bold, bool italic);
    void showStyleWord(bool bold, bool italic);
    void enableSizeButtons();
    // A size step (+1 or -1) from the dialog's size, within its limits.
    void stepFontSize(int delta);
    void setStyleFlag(bool bold, bool on);

    void reportRefusal(const QString& text);

    Form2& form_;
    // The window's controls, kept here so that no handler reaches into the window's own
    // members while the window is being taken down.
    const Form2::Controls ui_;

    PositionSlots slots_;
    bool StorePending = false;
    bool RestoringSlot = false;
    // The position last known to be valid in txtX and txtY.
    std::int16_t lastX_ = 0;
    std::int16_t lastY_ = 0;
    // The text box's colours as colour values (system colours stay system colours).
    ColourValue boxTextColour_ = palette::Black;
    ColourValue boxBackColour_ = palette::White;
    QString boxStyleSheet_; // txtText's own style sheet, without colours
};

} // namespace qrb
