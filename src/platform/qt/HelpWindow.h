#pragma once
// The help window: the program's user manual (HTML pages built into the program), with
// back, forward and contents buttons. One window serves every request for help.

#include <QWidget>

class QTextBrowser;

namespace qrb {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // The page shown by F1 and Help > Contents.
    static constexpr const char* kHomePage = "qrc:/help/index.html";

    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the contents page and brings the window forward.
    void showHome();
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_;
    bool placed_ = false;
};

} // namespace qrb
