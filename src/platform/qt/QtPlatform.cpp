#include "platform/qt/QtPlatform.h"

#include "platform/Platform.h"
#include "platform/qt/HelpWindow.h"
#include "platform/qt/QtDialogBackend.h"
#include "platform/qt/QtPrinting.h"
#include "platform/qt/QtProgressDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QMimeData>

namespace qrb {

namespace {

QMessageBox::Icon toQt(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

} // namespace

bool QtMessageBoxes::askYesNo(const QString& text, const QString& caption, MessageIcon icon) {
    QMessageBox box(toQt(icon), caption, text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtMessageBoxes::inform(const QString& text, const QString& caption, MessageIcon icon) {
    QMessageBox box(toQt(icon), caption, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void QtClipboard::clear() {
    QGuiApplication::clipboard()->clear();
}

void QtClipboard::setImage(const QImage& image) {
    QGuiApplication::clipboard()->clear();
    QGuiApplication::clipboard()->setImage(image);
}

bool QtClipboard::hasImage() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasImage();
}

QImage QtClipboard::image() const {
    return QGuiApplication::clipboard()->image();
}

QtHelpViewer::~QtHelpViewer() {
    delete window_;
}

void QtHelpViewer::showContents() {
    if (!window_)
        window_ = new HelpWindow;
    window_->showHome();
}

Platform Platform::qt() {
    return Platform{std::make_shared<QtDialogBackend>(), std::make_shared<QtMessageBoxes>(),
                    std::make_shared<QtClipboard>(),     std::make_shared<QtHelpViewer>(),
                    std::make_shared<QtPrinting>(),      std::make_shared<QtProgressDialog>()};
}

} // namespace qrb
