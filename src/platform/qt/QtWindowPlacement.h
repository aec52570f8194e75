#pragma once
// Places top-level windows before they are shown: wholly on the screen that holds their owner, and
// where they were when they were last closed. The client rectangle is what gets set, from the
// frame that the window manager draws around it: window managers honour a client position alike,
// while some (matchbox) take a bare frame position for the client's and so moved a reopened dialog
// down by its title bar.
#include <QRect>
#include <QSize>
#include "platform/Graphics.h"

class QWidget;

/// The work area (the screen less its panels) of the screen that holds the widget's centre, else
/// of the widget's own screen; empty when there is no screen.
QRect WorkAreaOf(const QWidget* widget);

/// The window's size with the window manager's frame: its own frame once it has been shown, until
/// then its owner's, as one window manager decorates both.
QSize FrameSizeOf(const QWidget* window, const QWidget* owner);

/// Places a hidden window that is about to be shown: the first time centred over its owner, later
/// where it was last; either way wholly on the owner's screen.
void PlaceWindow(QWidget* window, const QWidget* owner);

/// Places a hidden window that is about to be shown with its frame's top left corner at topLeft,
/// kept wholly on the owner's screen.
void PlaceWindowAt(QWidget* window, const QWidget* owner, TPoint topLeft);

/// The first size of a window that has no owner: the wanted client size, within the work area of
/// its screen less a frame of the style's size (the window manager's is not known before the
/// window is shown).
QSize FirstWindowSize(const QWidget* window, QSize wanted);
