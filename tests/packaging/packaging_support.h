// SPDX-License-Identifier: MIT
#pragma once
// Helpers of the packaging tests: running a program to its end, the files an install must hold,
// and the files below a folder.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct ProgramRun {
    bool finished = false; // ended by itself, within the time allowed
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the program with the arguments to its end (at most timeoutMs); environment empty: this one's.
// The limit only ends a program that hangs: making the package took over two minutes on a busy machine.
ProgramRun runProgram(const QString& program, const QStringList& arguments,
                      const QProcessEnvironment& environment = QProcessEnvironment(), int timeoutMs = 600000);

// Every file an install holds, relative to its prefix, sorted.
QStringList expectedInstalledFiles();

// The files (not folders) below a folder, relative to it, sorted.
QStringList filesBelow(const QString& folder);
