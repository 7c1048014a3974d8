// SPDX-License-Identifier: MIT
#include "translations.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>

namespace {

// The language part of a locale name such as "de_DE.UTF-8" or "fr@euro".
QString languagePart(QString locale) {
    for (const QChar end : {QLatin1Char('.'), QLatin1Char('@'), QLatin1Char('_')})
        locale = locale.section(end, 0, 0);
    return locale.toLower();
}

QString catalogue(const QString& language) {
    return QStringLiteral(":/translations/verasco_%1.qm").arg(language);
}

// English is the program's own language; a language without a catalogue is read as English too.
QString known(const QString& language) {
    return language != QLatin1String("en") && QFile::exists(catalogue(language)) ? language : QString();
}

} // namespace

QString desktopLanguage(const QProcessEnvironment& environment) {
    for (const QString& entry : environment.value(QStringLiteral("LANGUAGE")).split(QLatin1Char(':'))) {
        const QString language = languagePart(entry);
        if (language == QLatin1String("en") || !known(language).isEmpty())
            return known(language);
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString locale = environment.value(QLatin1String(name));
        if (!locale.isEmpty())
            return known(languagePart(locale));
    }
    return {};
}

ProgramTranslations::ProgramTranslations(const QString& language) {
    if (language.isEmpty())
        return;
    if (program_.load(catalogue(language)))
        QCoreApplication::installTranslator(&program_);
    if (qt_.load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt_);
}

ProgramTranslations::~ProgramTranslations() {
    QCoreApplication::removeTranslator(&qt_);
    QCoreApplication::removeTranslator(&program_);
}
