#pragma once
// The help window: the program's user manual (HTML pages built into the program), with
// back, forward and contents buttons. One window serves every request for help.

#include <QStringList>
#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace qrb {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // The pages built into the program, and the one shown by F1 and Help > Contents.
    static constexpr const char* kHelpRoot = ":/help";
    static constexpr const char* kHomePage = "index.html";

    // The help page in the first of the user's languages that has it (pages of another
    // language live in <root>/<language>/, English ones in <root>); English otherwise.
    static QUrl localizedPage(const QString& root, const QString& page,
                              const QStringList& languages);

    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the contents page and brings the window forward.
    void showHome();
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_;
    bool placed_ = false;
};

} // namespace qrb
