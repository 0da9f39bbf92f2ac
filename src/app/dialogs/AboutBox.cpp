#include "app/dialogs/AboutBox.h"
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

    icon_ = new QLabel(this);
    icon_->setObjectName(QStringLiteral("picIcon"));
    icon_->setPixmap(QIcon(QStringLiteral(":/icons/app.svg")).pixmap(32, 32));
    icon_->setGeometry(16, 16, 32, 32);
    icon_->setAccessibleName(tr("Program icon"));

    title_ = new QLabel(tr("Tessarine QRB Text Editor"), this);
    title_->setObjectName(QStringLiteral("lblTitle"));
    title_->setGeometry(70, 16, 259, 32);
    QFont titleFont = title_->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    title_->setFont(titleFont);

    version_ = new QLabel(this);
    version_->setObjectName(QStringLiteral("lblVersion"));
    version_->setGeometry(70, 52, 259, 15);

    remarks_ =
        new QLabel(tr("Puts lettering on the tiles of Tessarine tile libraries. Thanks to everyone "
                      "who designs boards and tiles and tells us what the editor should do next."),
                   this);
    remarks_->setObjectName(QStringLiteral("lblRemarks"));
    remarks_->setGeometry(70, 76, 256, 53);
    remarks_->setWordWrap(true);
    remarks_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // An etched separator: a grey line with a white one just below it.
    auto* line1 = new QFrame(this);
    line1->setObjectName(QStringLiteral("Line1_1"));
    line1->setGeometry(6, 163, 371, 1);
    line1->setStyleSheet(QStringLiteral("background-color: rgb(128, 128, 128)"));
    auto* line0 = new QFrame(this);
    line0->setObjectName(QStringLiteral("Line1_0"));
    line0->setGeometry(7, 164, 370, 1);
    line0->setStyleSheet(QStringLiteral("background-color: white"));

    okButton_ = new QPushButton(tr("OK"), this);
    okButton_->setObjectName(QStringLiteral("cmdOK"));
    okButton_->setGeometry(149, 171, 84, 23);
    okButton_->setDefault(true);
    okButton_->setAutoDefault(true);
    // Esc rejects a QDialog, and rejecting closes this box just as OK does.
    connect(okButton_, &QPushButton::clicked, this, &AboutBox::dismiss);
    connect(this, &QDialog::rejected, this, &AboutBox::dismiss);

    fillIn();
}

void AboutBox::fillIn() {
    setWindowTitle(tr("About Tessarine QRB Text Editor"));
    version_->setText(versionText());
}

void AboutBox::dismiss() {
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
