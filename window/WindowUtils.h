// Small window helpers used across the dialog, its buttons and the HTML control.
#pragma once
#include "platform/WinSeam.h"

class CMsString;

// Moves a rectangle from screen to the window's client coordinates, keeping its
// size; does nothing when the window or the rectangle is null.
void ScreenRectToClient(HWND window, RECT* rect);

// Puts the window into (on) or out of (off) the topmost band, without moving it.
void SetTopmost(HWND window, BOOL on);

// Replaces text with the window's text; returns its length (0 and empty text
// when the window does not exist).
int ReadWindowText(HWND window, CMsString& text);
