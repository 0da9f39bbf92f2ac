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
    // "Version " + major + "." + minor.
    static QString versionText();

    explicit AboutBox(const QPixmap& logo, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void frmAbout_Form_Load();
    void cmdOK_Click();

    QPixmap logo_;
    QLabel* picIcon_;
    QLabel* lblTitle_;
    QLabel* lblVersion_;
    QLabel* lblRemarks_;
    QPushButton* cmdOK_;
};

} // namespace qrb
