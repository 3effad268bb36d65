// Opening a URL in the user's web browser: through the shell, through the
// command registered for HTML documents, or through a named browser found
// under the system's application paths.
#pragma once
#include "platform/WinSeam.h"
#include "util/CMsString.h"

// Which browser LaunchURL starts; any other value finds no browser.
enum BrowserType {
    BT_DEFAULT = 1,   // the command registered for HTML documents
    BT_IE = 2,        // "iexplore.exe"
    BT_NETSCAPE = 3,  // "netscp.exe", "netscp6.exe", "netscape.exe"
    BT_AOL = 4,       // "aol.exe"
};

namespace BrowserUtils {

// Starts a browser for the URL, or hands it to the shell when newBrowser is 0
// and browserType is BT_DEFAULT. 1 when a browser was started or the shell
// accepted the URL, else 0. A URL that is not a plain address (see
// IsPlainAddress) is refused with 0. Never waits for the browser.
int LaunchURL(const char* url, int newBrowser, int browserType);

// The browser command line registered for the type ("%1" marks the URL), or
// an empty string when none is found.
CMsString FindBrowserCommand(int browserType);

}  // namespace BrowserUtils
