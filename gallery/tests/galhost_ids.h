// Resource numbers of the Gallery tests' host program (test code, not product).
#pragma once
#define IDR_GALHOST_FRAME 5100      // the host frame's menu
#define IDR_GALHOST_CONTAINER 5101  // the host's in-place container menu
#define ID_GALHOST_HELP_TOPICS 35100
