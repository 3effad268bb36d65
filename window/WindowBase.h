// Binds a Win32 window to an object and turns its messages into virtual calls.
//
// The object layout and the order of the virtual functions are shared with
// hosts that drive a dialog object through its table (include/MirelDialog.h),
// including 32-bit hosts built with MSVC. MSVC puts ONE deleting destructor
// taking a flags argument into slot 0; GCC would put two destructor entries
// there for a virtual C++ destructor. So no class of this chain declares a
// virtual destructor. Instead:
//
//   - slot 0 is `Destroy(unsigned flags)`. Every class that derives from
//     WindowBase (directly or not) overrides it as
//
//         Derived* Derived::Destroy(unsigned flags) {
//             this->~Derived();
//             if (flags & 1) ::operator delete(this);
//             return this;
//         }
//
//     so that calling slot 0 runs the whole destructor chain and frees the
//     memory when bit 0 is set, exactly as a host expects;
//   - the C++ destructors are ordinary (non-virtual) functions; base class
//     destructors are protected so that nothing deletes through a base pointer;
//   - objects on the heap are released with Destroy(1), never with `delete`.
//
// Member functions are __thiscall on i686 MinGW, as with MSVC, so a host can
// call the table directly. New virtual functions of a derived class are
// appended after those of its base, in declaration order.
#pragma once
#include "platform/WinSeam.h"

class WindowBase {
public:
    WindowBase();

    // Slot 0: destructor chain, then free the memory when bit 0 of flags is set.
    virtual WindowBase* Destroy(unsigned flags);
    // Points the class at SharedWindowProc and registers it; 0 on failure.
    virtual ATOM RegisterWndClass(WNDCLASSA* windowClass);
    // CreateWindowExA with this object as the creation parameter.
    virtual BOOL CreateWnd(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                           int y, int width, int height, HWND parent, HMENU menuOrId,
                           HINSTANCE instance);
    virtual BOOL DestroyWnd();
    // Subclasses an existing window; FALSE when this object is already attached.
    virtual BOOL Attach(HWND window);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void OnFirstShow();
    virtual void OnBeforeAttach();

    // The member forms of the window utilities, applied to this object's window.
    void ScreenRectToClient(RECT* rect) const;
    // The free form (window/WindowUtils.h), visible here so that the member
    // form does not hide it inside derived classes.
    static void ScreenRectToClient(HWND window, RECT* rect);
    void ScreenPointToClient(POINT* point) const;
    // Window rectangle that has the given client rectangle, for the current styles.
    BOOL ClientToWindowRect(RECT* rect, BOOL dropClientEdge) const;

    HWND hwnd;
    WNDPROC prevWndProc;
    DWORD shownOnce;

protected:
    ~WindowBase();

    // Default handling of a message: the replaced procedure when attached,
    // else DefWindowProcA.
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

private:
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;
};

// The window procedure of every window class of the library and of every
// subclassed window.
LRESULT CALLBACK SharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The object bound to a window, or null.
WindowBase* WindowObjectFrom(HWND window);
