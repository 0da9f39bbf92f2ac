#pragma once
// The About box (frmAbout): the program's icon, title, version and remarks, with the logo
// it is given. Modeless and ownerless; the window keeps one instance at a time.

#include <QDialog>
#include <QPixmap>

class QLabel;
class QPushButton;

namespace qrb {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    // "Version major.minor".
    static QString versionText();

    explicit AboutBox(const QPixmap& logo, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void fillIn();
    void dismiss();

    QPixmap logo_;
    QLabel* icon_;
    QLabel* title_;
    QLabel* version_;
    QLabel* remarks_;
    QPushButton* okButton_;
};

} // namespace qrb
