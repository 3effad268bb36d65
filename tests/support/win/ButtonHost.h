// A visible top-level test window holding one owner-drawn push button, whose
// WM_DRAWITEM messages go to the OwnerDrawButton bound to it. Owns both
// windows and destroys them on destruction, so an object attached to the
// button must be declared before the host (and so outlive its windows).
#pragma once

#include <windows.h>

#include <functional>

class OwnerDrawButton;

class ButtonHost {
public:
    ButtonHost(const char* caption, int id, int x, int y, int cx, int cy);
    ~ButtonHost();

    ButtonHost(const ButtonHost&) = delete;
    ButtonHost& operator=(const ButtonHost&) = delete;

    HWND Window() const { return window; }
    HWND Button() const { return button; }
    // Routes the button's drawing to `drawer` (null: nothing draws it).
    void RouteDrawingTo(OwnerDrawButton* drawer);
    // Number of WM_DRAWITEM messages the host has received.
    int DrawItemCount() const { return drawItems; }

private:
    static LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window;
    HWND button;
    OwnerDrawButton* drawer;
    int drawItems;
};

// Dispatches this thread's messages for about `milliseconds`.
void PumpMessagesFor(DWORD milliseconds);
// Dispatches this thread's messages until `done` holds (true) or the time-out
// passes (false).
bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs);
