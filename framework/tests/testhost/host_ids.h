// Resource and command numbers of the test host (test code, not product).
#pragma once

#define IDR_HOSTFRAME 400         // the main frame's menu and title
#define IDR_HOSTCONTAINER 930     // the in-place container menu the host gives every component's template
#define ID_HOST_LAUNCHBAR 40100
