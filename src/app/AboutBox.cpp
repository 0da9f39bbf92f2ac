#include "app/AboutBox.h"
#include "platform/qt/Resources.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace qrb {

QString AboutBox::versionText() {
    return QStringLiteral("Version ") + QString::fromLatin1(QRB_VERSION);
}

AboutBox::AboutBox(const QPixmap& logo, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      logo_(logo) {
    ensureResources();
    setObjectName(QStringLiteral("frmAbout"));
    setFixedSize(382, 203);
    setModal(false);
    // OK unloads the box; showing it again builds a fresh one.
    setAttribute(Qt::WA_DeleteOnClose);

    picIcon_ = new QLabel(this);
    picIcon_->setObjectName(QStringLiteral("picIcon"));
    picIcon_->setPixmap(QIcon(QStringLiteral(":/icons/app.svg")).pixmap(32, 32));
    picIcon_->setGeometry(16, 16, 32, 32);
    picIcon_->setAccessibleName(tr("Program icon"));

    lblTitle_ = new QLabel(tr("Tessarine QRB Text Editor"), this);
    lblTitle_->setObjectName(QStringLiteral("lblTitle"));
    lblTitle_->setGeometry(70, 16, 259, 32);
    QFont titleFont = lblTitle_->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    lblTitle_->setFont(titleFont);

    lblVersion_ = new QLabel(this);
    lblVersion_->setObjectName(QStringLiteral("lblVersion"));
    lblVersion_->setGeometry(70, 52, 259, 15);

    lblRemarks_ =
        new QLabel(tr("Puts lettering on the tiles of Tessarine tile libraries. Thanks to everyone "
                      "who designs boards and tiles and tells us what the editor should do next."),
                   this);
    lblRemarks_->setObjectName(QStringLiteral("lblRemarks"));
    lblRemarks_->setGeometry(70, 76, 256, 53);
    lblRemarks_->setWordWrap(true);
    lblRemarks_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // An etched separator: a grey line with a white one just below it.
    auto* line1 = new QFrame(this);
    line1->setObjectName(QStringLiteral("Line1_1"));
    line1->setGeometry(6, 163, 371, 1);
    line1->setStyleSheet(QStringLiteral("background-color: rgb(128, 128, 128)"));
    auto* line0 = new QFrame(this);
    line0->setObjectName(QStringLiteral("Line1_0"));
    line0->setGeometry(7, 164, 370, 1);
    line0->setStyleSheet(QStringLiteral("background-color: white"));

    cmdOK_ = new QPushButton(tr("OK"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setGeometry(149, 171, 84, 23);
    cmdOK_->setDefault(true);
    cmdOK_->setAutoDefault(true);
    // Esc rejects a QDialog, and rejecting closes this box just as OK does.
    connect(cmdOK_, &QPushButton::clicked, this, &AboutBox::cmdOK_Click);
    connect(this, &QDialog::rejected, this, &AboutBox::cmdOK_Click);

    frmAbout_Form_Load();
}

void AboutBox::frmAbout_Form_Load() {
    setWindowTitle(tr("About Tessarine QRB Text Editor"));
    lblVersion_->setText(versionText());
}

void AboutBox::cmdOK_Click() {
    close();
}

void AboutBox::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (logo_.isNull())
        return;
    // The logo, small, in the free corner beside the OK button.
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QSize target = logo_.size().scaled(110, 28, Qt::KeepAspectRatio);
    painter.drawPixmap(QRect(QPoint(width() - target.width() - 8, 170), target), logo_);
}

} // namespace qrb
