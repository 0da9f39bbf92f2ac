#pragma once
// Message boxes: the program's questions, its one warning and its error reports.

#include <QString>

namespace qrb {

enum class MessageIcon { Critical, Question, Exclamation, Information };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A question with Yes and No buttons; true when the answer is Yes.
    virtual bool askYesNo(const QString& text, const QString& caption, MessageIcon icon) = 0;
    // A message with one OK button.
    virtual void inform(const QString& text, const QString& caption, MessageIcon icon) = 0;
};

} // namespace qrb
