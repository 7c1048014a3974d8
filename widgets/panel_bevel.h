// SPDX-License-Identifier: MIT
#pragma once
// The lowered panel around a grid shows whether the grid has the focus: its bevel is raised while
// the grid has it, and lowered again, on the button-face colour, when the grid loses it.

class QFrame;

void showFocusBevel(QFrame& panel, bool focused);
