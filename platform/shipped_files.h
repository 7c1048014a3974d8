// SPDX-License-Identifier: MIT
#pragma once
// Files shipped with the program: the palette, the help, and the head, player and run-time of the
// stand-alone export. In a build folder they lie beside the program; installed, the machine code lies
// in ../libexec/verasco/ and the data in ../share/verasco/, both found from the program's own folder, so
// an install under /usr, /usr/local or a home folder finds them without a fixed path.

#include <QString>
#include <QStringList>

// The shipped files, by the name they are looked up under.
inline constexpr char PaletteFileName[] = "verasco.pal";        // thumbnails on displays of 256 colours
inline constexpr char HelpFileName[] = "help/verasco.html";     // the help, with its pictures beside it
inline constexpr char ExportHeadFileName[] = "verasco1.dat";    // the stand-alone show's self-extracting head
inline constexpr char ExportPlayerFileName[] = "verasco2.dat";  // the stand-alone show's player
inline constexpr char ExportRuntimeFileName[] = "verasco3.dat"; // the player's imaging run-time
// The same three for packages that run on Windows: built only with the MinGW-w64 cross compiler, so
// not among the files every install needs.
inline constexpr char ExportWindowsHeadFileName[] = "verasco1w.dat";
inline constexpr char ExportWindowsPlayerFileName[] = "verasco2w.dat";
inline constexpr char ExportWindowsRuntimeFileName[] = "verasco3w.dat";

// The folders a program in programFolder looks in, in order: its own folder, then the installed
// folders of the machine code and of the data.
QStringList shippedFileFolders(const QString& programFolder);

// The shipped file `name` ("verasco.pal", "help/verasco.html") of a program in programFolder: the
// first of its folders that holds it; when none does, where it belongs in the installed data folder.
QString shippedFilePath(const QString& name, const QString& programFolder);

// The same for the running program.
QString shippedFilePath(const QString& name);

// Every file the program needs from among the shipped ones.
QStringList shippedFileNames();

// A line for each shipped file that the running program cannot find, naming the folders it looked in.
QStringList missingShippedFileReport();
