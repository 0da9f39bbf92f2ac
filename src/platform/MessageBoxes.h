#pragma once
// Message boxes: the program's questions, its one warning and its error reports.

#include <QString>

namespace qrb {

enum class MessageIcon { Critical, Question, Exclamation, Information };

enum class Answer { Yes, No, Cancel };

// A question with Yes and No buttons, and Cancel when offered. With Cancel, Escape and the
// box's close button mean Cancel; without it they mean No.
struct Question {
    QString text;
    QString caption;
    MessageIcon icon = MessageIcon::Question;
    bool offerCancel = false;
    Answer defaultAnswer = Answer::Yes; // the button Enter presses
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual Answer ask(const Question& question) = 0;
    // A message with one OK button.
    virtual void inform(const QString& text, const QString& caption, MessageIcon icon) = 0;

    // A Yes/No question with Yes as the default; true when the answer is Yes.
    bool askYesNo(const QString& text, const QString& caption, MessageIcon icon) {
        return ask(Question{text, caption, icon}) == Answer::Yes;
    }
};

} // namespace qrb
