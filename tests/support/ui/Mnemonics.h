#pragma once
// The keyboard mnemonics a dialog offers: each "&x" of its visible buttons and of its
// visible labels that lead to a control.

#include <QChar>
#include <QString>
#include <QStringList>

#include <map>

class QWidget;

namespace qrb::test {

struct Mnemonics {
    std::map<QChar, QString> owners; // lower-cased key -> the text that claims it
    QStringList clashes;             // "text and text" for a key claimed twice
};

Mnemonics mnemonicsOf(const QWidget& dialog);

} // namespace qrb::test
