#include "app/UiLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace qrb {

UiLanguage::UiLanguage(const QStringList& preferred) {
    for (const QString& entry : preferred) {
        const QLocale locale(entry);
        if (locale.language() == QLocale::English || locale.language() == QLocale::C) {
            return;
        }
        // load() tries "de_DE", then "de".
        if (own_.load(locale, QStringLiteral("qrbtexteditor"), QStringLiteral("_"),
                      QStringLiteral(":/translations"))) {
            name_ = QLocale::languageToCode(locale.language());
            QCoreApplication::installTranslator(&own_);
            // Qt's own catalogue is optional (a package the user may leave out): without
            // it the standard buttons stay English and the rest still reads translated.
            if (qt_.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
                QCoreApplication::installTranslator(&qt_);
            }
            return;
        }
    }
}

UiLanguage::~UiLanguage() {
    QCoreApplication::removeTranslator(&qt_);
    QCoreApplication::removeTranslator(&own_);
}

} // namespace qrb
