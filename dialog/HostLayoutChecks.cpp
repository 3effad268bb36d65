// Hosts read and write the dialog object through the structures of
// include/MirelDialog.h; these checks keep the classes in step with them, field
// by field, in every build (the 32-bit one is the layout shipped hosts see).
#include <cstddef>

#include "dialog/ConsentDialog.h"
#include "include/MirelDialog.h"

// The classes are not standard-layout (they have a table pointer), but with
// single, non-virtual inheritance GCC lays them out predictably, which is
// exactly what is being checked.
#pragma GCC diagnostic ignored "-Winvalid-offsetof"

// Same place and same size.
#define MIREL_SAME_FIELD(Class, member, Struct, field)                                    \
    static_assert(offsetof(Class, member) == offsetof(Struct, field) &&                   \
                      sizeof(Class::member) == sizeof(static_cast<Struct*>(nullptr)->field), \
                  #Class "::" #member " sits where " #Struct "." #field " says")

// Every object starts with its table pointer, then the window fields.
static_assert(offsetof(MirelConsentDialog, vtbl) == 0, "table pointer first");
static_assert(offsetof(MirelConsentDialog, window) == sizeof(void*), "window fields after it");
static_assert(offsetof(MirelHtmlCtrl, window) == sizeof(void*), "window fields after it");
static_assert(offsetof(MirelButton, window) == sizeof(void*), "window fields after it");

#define MIREL_SAME_WINDOW_FIELDS(Class, Struct)                       \
    MIREL_SAME_FIELD(Class, hwnd, Struct, window.hwnd);               \
    MIREL_SAME_FIELD(Class, prevWndProc, Struct, window.prevWndProc); \
    MIREL_SAME_FIELD(Class, shownOnce, Struct, window.shownOnce)

// The pointer arrays inside the HTML control.
MIREL_SAME_FIELD(PtrArray, items, MirelPtrArray, items);
MIREL_SAME_FIELD(PtrArray, count, MirelPtrArray, count);
MIREL_SAME_FIELD(PtrArray, release, MirelPtrArray, release);
static_assert(sizeof(PtrArray) == sizeof(MirelPtrArray), "pointer array size");
static_assert(sizeof(StringList) == sizeof(MirelPtrArray), "a string list adds no field");
static_assert(sizeof(CHtmlAttribList) == sizeof(MirelPtrArray), "an attribute list adds no field");
MIREL_SAME_FIELD(CHtmlElementList, textSeen, MirelElementList, textSeen);
static_assert(sizeof(CHtmlElementList) == sizeof(MirelElementList), "element list size");

// The HTML control.
MIREL_SAME_WINDOW_FIELDS(CHaleSimpleHtmlCtrl, MirelHtmlCtrl);
MIREL_SAME_FIELD(CHaleSimpleHtmlCtrl, instance, MirelHtmlCtrl, instance);
MIREL_SAME_FIELD(CHaleSimpleHtmlCtrl, handCursor, MirelHtmlCtrl, handCursor);
MIREL_SAME_FIELD(CHaleSimpleHtmlCtrl, needsParse, MirelHtmlCtrl, needsParse);
MIREL_SAME_FIELD(CHaleSimpleHtmlCtrl, fontNames, MirelHtmlCtrl, fontNames);
MIREL_SAME_FIELD(CHaleSimpleHtmlCtrl, wheelDelta, MirelHtmlCtrl, wheelDelta);
MIREL_SAME_FIELD(CHaleSimpleHtmlCtrl, browserType, MirelHtmlCtrl, browserType);
MIREL_SAME_FIELD(CHaleSimpleHtmlCtrl, bodyAttribs, MirelHtmlCtrl, bodyAttribs);
MIREL_SAME_FIELD(CHaleSimpleHtmlCtrl, hostAttribs, MirelHtmlCtrl, hostAttribs);
MIREL_SAME_FIELD(CHaleSimpleHtmlCtrl, elements, MirelHtmlCtrl, elements);
static_assert(sizeof(CHaleSimpleHtmlCtrl) == sizeof(MirelHtmlCtrl), "HTML control size");

// The Yes and No buttons.
MIREL_SAME_WINDOW_FIELDS(ConsentButton, MirelButton);
MIREL_SAME_FIELD(ConsentButton, controlId, MirelButton, controlId);
MIREL_SAME_FIELD(ConsentButton, frameStyle, MirelButton, frameStyle);
MIREL_SAME_FIELD(ConsentButton, hovering, MirelButton, hovering);
static_assert(sizeof(ConsentButton) == sizeof(MirelButton), "button size");

// The dialog object: window, dialog, host and consent dialog fields.
MIREL_SAME_WINDOW_FIELDS(ConsentDialog, MirelConsentDialog);
MIREL_SAME_FIELD(ConsentDialog, instance, MirelConsentDialog, instance);
MIREL_SAME_FIELD(ConsentDialog, templateId, MirelConsentDialog, templateId);
MIREL_SAME_FIELD(ConsentDialog, ownerWindow, MirelConsentDialog, ownerWindow);
MIREL_SAME_FIELD(ConsentDialog, unusedValue1, MirelConsentDialog, unusedValue1);
MIREL_SAME_FIELD(ConsentDialog, textColor, MirelConsentDialog, textColor);
MIREL_SAME_FIELD(ConsentDialog, backColor, MirelConsentDialog, backColor);
MIREL_SAME_FIELD(ConsentDialog, backBrush, MirelConsentDialog, backBrush);
MIREL_SAME_FIELD(ConsentDialog, unusedValue2, MirelConsentDialog, unusedValue2);
MIREL_SAME_FIELD(ConsentDialog, keepSysMenu, MirelConsentDialog, keepSysMenu);
MIREL_SAME_FIELD(ConsentDialog, result, MirelConsentDialog, result);
MIREL_SAME_FIELD(ConsentDialog, runFlags, MirelConsentDialog, runFlags);
MIREL_SAME_FIELD(ConsentDialog, sourceText, MirelConsentDialog, sourceText);
MIREL_SAME_FIELD(ConsentDialog, observer, MirelConsentDialog, observer);
MIREL_SAME_FIELD(ConsentDialog, observerData, MirelConsentDialog, observerData);
MIREL_SAME_FIELD(ConsentDialog, messageCtrl, MirelConsentDialog, messageCtrl);
MIREL_SAME_FIELD(ConsentDialog, disclaimerCtrl, MirelConsentDialog, disclaimerCtrl);
MIREL_SAME_FIELD(ConsentDialog, yesButton, MirelConsentDialog, yesButton);
MIREL_SAME_FIELD(ConsentDialog, noButton, MirelConsentDialog, noButton);
MIREL_SAME_FIELD(ConsentDialog, title, MirelConsentDialog, title);
MIREL_SAME_FIELD(ConsentDialog, message, MirelConsentDialog, message);
MIREL_SAME_FIELD(ConsentDialog, disclaimer, MirelConsentDialog, disclaimer);
MIREL_SAME_FIELD(ConsentDialog, location, MirelConsentDialog, location);
MIREL_SAME_FIELD(ConsentDialog, width, MirelConsentDialog, width);
MIREL_SAME_FIELD(ConsentDialog, initialWindowWidth, MirelConsentDialog, initialWindowWidth);
MIREL_SAME_FIELD(ConsentDialog, sideAllowance, MirelConsentDialog, sideAllowance);
static_assert(sizeof(ConsentDialog) == sizeof(MirelConsentDialog), "nothing follows sideAllowance");

// A string is one pointer to its text; a location is a 32-bit value.
static_assert(sizeof(CMsString) == sizeof(const char*), "a string is one pointer");
static_assert(sizeof(DialogLocation) == sizeof(LONG), "a location is 32 bits");

