// SPDX-License-Identifier: MIT
#pragma once
// The program speaks the desktop's language when it has a catalogue for it, else English: its own
// texts from the catalogues built into the program, Qt's dialogs and buttons from Qt's own.

#include <QProcessEnvironment>
#include <QString>
#include <QTranslator>

// The language the environment asks for, as "de" or "fr", or an empty text for English: the first
// entry of LANGUAGE (a colon list) the program has a catalogue for, else the first of LC_ALL,
// LC_MESSAGES and LANG that is set.
QString desktopLanguage(const QProcessEnvironment& environment);

// The catalogues of one language, installed in the application while this object lives.
class ProgramTranslations {
  public:
    explicit ProgramTranslations(const QString& language);
    ~ProgramTranslations();
    ProgramTranslations(const ProgramTranslations&) = delete;
    ProgramTranslations& operator=(const ProgramTranslations&) = delete;

  private:
    QTranslator program_;
    QTranslator qt_;
};
