// Hosts read and write the dialog object through the structures of
// include/MirelDialog.h; these checks keep the classes in step with them.
#include <cstddef>

#include "dialog/ConsentDialog.h"
#include "include/MirelDialog.h"

// The classes are not standard-layout (they have a table pointer), but with
// single, non-virtual inheritance GCC lays them out predictably, which is
// exactly what is being checked.
#pragma GCC diagnostic ignored "-Winvalid-offsetof"

#define MIREL_SAME_OFFSET(member, field) \
    static_assert(offsetof(ConsentDialog, member) == offsetof(MirelConsentDialog, field), #member)

MIREL_SAME_OFFSET(hwnd, window.hwnd);
MIREL_SAME_OFFSET(prevWndProc, window.prevWndProc);
MIREL_SAME_OFFSET(shownOnce, window.shownOnce);

MIREL_SAME_OFFSET(instance, instance);
MIREL_SAME_OFFSET(templateId, templateId);
MIREL_SAME_OFFSET(ownerWindow, ownerWindow);
MIREL_SAME_OFFSET(unusedValue1, unusedValue1);
MIREL_SAME_OFFSET(textColor, textColor);
MIREL_SAME_OFFSET(backColor, backColor);
MIREL_SAME_OFFSET(backBrush, backBrush);
MIREL_SAME_OFFSET(unusedValue2, unusedValue2);
MIREL_SAME_OFFSET(keepSysMenu, keepSysMenu);
MIREL_SAME_OFFSET(result, result);
MIREL_SAME_OFFSET(runFlags, runFlags);

MIREL_SAME_OFFSET(sourceText, sourceText);
MIREL_SAME_OFFSET(observer, observer);
MIREL_SAME_OFFSET(observerData, observerData);

static_assert(sizeof(CMsString) == sizeof(const char*), "a string is one pointer");
static_assert(sizeof(DialogLocation) == sizeof(LONG), "a location is 32 bits");

// The fields after the owned controls keep their order and spacing; once the
// controls are members their own offsets are checked too.
#define MIREL_SAME_DISTANCE(member, field)                                   \
    static_assert(offsetof(ConsentDialog, member) - offsetof(ConsentDialog, title) == \
                      offsetof(MirelConsentDialog, field) - offsetof(MirelConsentDialog, title), \
                  #member)

MIREL_SAME_DISTANCE(message, message);
MIREL_SAME_DISTANCE(disclaimer, disclaimer);
MIREL_SAME_DISTANCE(location, location);
MIREL_SAME_DISTANCE(width, width);
MIREL_SAME_DISTANCE(initialWindowWidth, initialWindowWidth);
MIREL_SAME_DISTANCE(sideAllowance, sideAllowance);
static_assert(sizeof(ConsentDialog) - offsetof(ConsentDialog, title) ==
                  sizeof(MirelConsentDialog) - offsetof(MirelConsentDialog, title),
              "nothing follows sideAllowance");

// The buttons: their own fields, and their place before the strings.
#define MIREL_SAME_BUTTON_OFFSET(member, field) \
    static_assert(offsetof(ConsentButton, member) == offsetof(MirelButton, field), #member)

MIREL_SAME_BUTTON_OFFSET(hwnd, window.hwnd);
MIREL_SAME_BUTTON_OFFSET(prevWndProc, window.prevWndProc);
MIREL_SAME_BUTTON_OFFSET(shownOnce, window.shownOnce);
MIREL_SAME_BUTTON_OFFSET(controlId, controlId);
MIREL_SAME_BUTTON_OFFSET(frameStyle, frameStyle);
MIREL_SAME_BUTTON_OFFSET(hovering, hovering);
static_assert(sizeof(ConsentButton) == sizeof(MirelButton), "button size");

MIREL_SAME_DISTANCE(yesButton, yesButton);
MIREL_SAME_DISTANCE(noButton, noButton);
