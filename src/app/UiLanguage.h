#pragma once
// The window's language: installs the program's own catalogue and Qt's (standard dialogs
// and buttons) for the first of the user's languages that the program speaks, and removes
// them again when it goes. English is the language the texts are written in, so a user who
// puts English before another language gets English, not the next one in the list.

#include <QString>
#include <QStringList>
#include <QTranslator>

namespace qrb {

class UiLanguage {
public:
    // `preferred`: the user's languages, most wanted first, as QLocale::uiLanguages()
    // gives them ("de-DE", "de", "en-US" ...). Needs an application object.
    explicit UiLanguage(const QStringList& preferred);
    ~UiLanguage();
    UiLanguage(const UiLanguage&) = delete;
    UiLanguage& operator=(const UiLanguage&) = delete;

    // The language in use ("de"), or empty for English.
    const QString& name() const { return name_; }

private:
    QTranslator own_;
    QTranslator qt_;
    QString name_;
};

} // namespace qrb
