#include "support/ui/Mnemonics.h"

#include <QAbstractButton>
#include <QLabel>
#include <QRegularExpression>
#include <QWidget>

namespace qrb::test {

Mnemonics mnemonicsOf(const QWidget& dialog) {
    Mnemonics found;
    const QRegularExpression mnemonic(QStringLiteral("&([^&])"));
    auto claim = [&](const QString& text) {
        const QRegularExpressionMatch m = mnemonic.match(text);
        if (!m.hasMatch())
            return;
        const QChar key = m.captured(1).at(0).toLower();
        if (auto owner = found.owners.find(key); owner != found.owners.end())
            found.clashes << owner->second + QStringLiteral(" and ") + text;
        else
            found.owners[key] = text;
    };
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        if (label->isVisibleTo(&dialog) && label->buddy())
            claim(label->text());
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
        if (button->isVisibleTo(&dialog))
            claim(button->text());
    return found;
}

} // namespace qrb::test
