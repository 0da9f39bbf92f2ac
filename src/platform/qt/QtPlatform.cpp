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

Answer QtMessageBoxes::ask(const Question& question) {
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (question.offerCancel)
        buttons |= QMessageBox::Cancel;
    QMessageBox box(toQt(question.icon), question.caption, question.text, buttons,
                    QApplication::activeWindow());
    const QMessageBox::StandardButton preferred =
        question.defaultAnswer == Answer::Yes  ? QMessageBox::Yes
        : question.defaultAnswer == Answer::No ? QMessageBox::No
                                               : QMessageBox::Cancel;
    box.setDefaultButton(buttons.testFlag(preferred) ? preferred : QMessageBox::Yes);
    // Escape and the close button: Cancel when there is one, else No.
    box.setEscapeButton(question.offerCancel ? QMessageBox::Cancel : QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return question.offerCancel ? Answer::Cancel : Answer::No;
    }
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

void QtClipboard::setTiles(const QByteArray& library, const QImage& picture) {
    auto* data = new QMimeData;
    data->setData(tilesMimeType(), library);
    data->setImageData(picture);
    QGuiApplication::clipboard()->setMimeData(data);
}

QByteArray QtClipboard::tiles() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data ? data->data(tilesMimeType()) : QByteArray();
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
