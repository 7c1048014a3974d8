// SPDX-License-Identifier: MIT
#pragma once
// Names for the parts of Qt's own file and font dialogs that Qt leaves without one, so that a screen
// reader can announce every control of them.

class QFileDialog;
class QFontDialog;

// The splitter between the places and the files, its handles, the pages of files and the size grip.
void nameFileDialogParts(QFileDialog& dialog);
// The family, style and size lists and the fields above them, and the size grip.
void nameFontDialogParts(QFontDialog& dialog);
