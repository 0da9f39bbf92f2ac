#include "platform/qt/HelpWindow.h"
#include "platform/qt/Resources.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QKeySequence>
#include <QLocale>
#include <QScreen>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace qrb {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    ensureResources();
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("QRB Text Editor Help"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    resize(720, 560);

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenExternalLinks(true);
    browser_->setAccessibleName(tr("Help page"));

    auto* tools = new QToolBar(this);
    QAction* back = tools->addAction(tr("Back"), browser_, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    QAction* forward = tools->addAction(tr("Forward"), browser_, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    tools->addAction(tr("Contents"), this, &HelpWindow::showHome);
    // Closed from the keyboard as other help and document windows are.
    auto* closeKeys = new QAction(tr("Close"), this);
    closeKeys->setShortcuts(
        {QKeySequence(Qt::Key_Escape), QKeySequence::Close, QKeySequence(Qt::CTRL | Qt::Key_W)});
    closeKeys->setShortcutContext(Qt::WindowShortcut);
    connect(closeKeys, &QAction::triggered, this, &QWidget::close);
    addAction(closeKeys);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? tr("QRB Text Editor Help")
                                       : tr("QRB Text Editor Help - %1").arg(title));
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(browser_);
}

QUrl HelpWindow::localizedPage(const QString& root, const QString& page,
                               const QStringList& languages) {
    auto url = [](const QString& path) {
        return path.startsWith(QLatin1Char(':')) ? QUrl(QStringLiteral("qrc") + path)
                                                 : QUrl::fromLocalFile(path);
    };
    for (const QString& name : languages) {
        // "de-DE", "de_AT" and "de" all read the German pages.
        const QString language =
            name.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0);
        if (language == QLatin1String("en"))
            break;
        // Only a language code names a folder, never a path out of the help.
        const bool code = !language.isEmpty() && std::all_of(language.begin(), language.end(),
                                                             [](QChar c) { return c.isLetter(); });
        const QString path = root + QLatin1Char('/') + language + QLatin1Char('/') + page;
        if (code && QFileInfo(path).isFile())
            return url(path);
    }
    return url(root + QLatin1Char('/') + page);
}

void HelpWindow::showHome() {
    browser_->setSource(localizedPage(QString::fromLatin1(kHelpRoot),
                                      QString::fromLatin1(kHomePage),
                                      QLocale::system().uiLanguages()));
    if (!placed_) {
        // First showing: centred on the screen of the window the user is working in.
        placed_ = true;
        QWidget* active = QApplication::activeWindow();
        QScreen* screen = active ? active->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            QRect frame = geometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    show();
    raise();
    activateWindow();
}

} // namespace qrb
