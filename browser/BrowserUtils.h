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

// What became of a launch.
enum LaunchResult {
    LAUNCH_FAILED = 0,        // nothing was started
    LAUNCH_STARTED = 1,       // a browser was started or the shell accepted the URL
    LAUNCH_SHELL_REFUSED = 2, // elevated: nothing was started, because the desktop shell
                              // could not be reached, refused, or got no program to start
};

namespace BrowserUtils {

// Starts a browser for the URL, or hands it to the shell when newBrowser is 0
// and browserType is BT_DEFAULT. A URL that is not a plain address (see
// IsPlainAddress) is refused. Never waits for the browser.
//
// In an elevated process (see IsProcessElevated) the browser command is
// handed to the desktop shell, which starts it with the desktop user's
// rights; the browser is then never started from this process, and the URL
// never goes to the shell on its own.
LaunchResult Launch(const char* url, int newBrowser, int browserType);

// Launch: 1 when it started a browser, else 0.
int LaunchURL(const char* url, int newBrowser, int browserType);

// The browser command line registered for the type ("%1" marks the URL), or
// an empty string when none is found.
CMsString FindBrowserCommand(int browserType);

}  // namespace BrowserUtils
