#include "app/dialogs/AboutBox.h"

#include "app/shared/DesignControls.h"
#include "platform/qt/Resources.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

namespace qrb {

QString AboutBox::versionText() {
    return tr("Version %1").arg(QString::fromLatin1(QRB_VERSION));
}

AboutBox::AboutBox(const QPixmap& logo, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      logo_(logo) {
    using namespace design;
    ensureResources();
    setObjectName(QStringLiteral("frmAbout"));
    setFixedSize(kAboutSize);
    setModal(false);
    // OK unloads the box; showing it again builds a fresh one.
    setAttribute(Qt::WA_DeleteOnClose);

    icon_ = placed(new QLabel(this), kAboutIcon);
    icon_->setPixmap(QIcon(QStringLiteral(":/icons/app.svg")).pixmap(32, 32));
    icon_->setAccessibleName(tr("Program icon"));

    title_ = placed(new QLabel(tr("Tessarine QRB Text Editor"), this), kAboutTitle);
    QFont titleFont = title_->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    title_->setFont(titleFont);

    version_ = placed(new QLabel(this), kAboutVersion);

    remarks_ = placed(
        new QLabel(tr("Puts lettering on the tiles of Tessarine tile libraries. Thanks to everyone "
                      "who designs boards and tiles and tells us what the editor should do next."),
                   this),
        kAboutRemarks);
    remarks_->setWordWrap(true);
    remarks_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A longer translation or a larger desktop font needs more lines than the design's
    // height: the remarks then take the free space down to the separator, never past it.
    const int needed = remarks_->heightForWidth(remarks_->width());
    if (needed > remarks_->height())
        remarks_->resize(remarks_->width(),
                         std::min(needed, kAboutLineDark.place.top() - 4 - remarks_->y()));

    // An etched separator: a grey line with a white one just below it.
    auto* line1 = placed(new QFrame(this), kAboutLineDark);
    line1->setStyleSheet(QStringLiteral("background-color: rgb(128, 128, 128)"));
    auto* line0 = placed(new QFrame(this), kAboutLineLight);
    line0->setStyleSheet(QStringLiteral("background-color: white"));

    okButton_ = placed(new QPushButton(tr("OK"), this), kAboutOk);
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
    using design::kAboutLogo;
    QDialog::paintEvent(event);
    if (logo_.isNull())
        return;
    // The logo, small, in the free corner beside the OK button.
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize target = logo_.size().scaled(kAboutLogo.size(), Qt::KeepAspectRatio);
    painter.drawPixmap(QRect(QPoint(width() - target.width() - 8, kAboutLogo.y()), target), logo_);
}

} // namespace qrb
