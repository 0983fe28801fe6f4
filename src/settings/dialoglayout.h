// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

/// Places a control by its design in twips. A control whose text needs more
/// room than the design gives (a larger font than the design assumed) grows
/// to its size hint, to the right and evenly up and down.
void placeTwips(QWidget *widget, int left, int top, int width, int height);

/// Gives a fixed-size dialog its client size in twips, no resizing, no
/// minimise or maximise button, and centres it on the screen of `near` (or
/// the primary screen).
void fixDialog(QWidget *dialog, int width, int height, const QWidget *near);
