// Resource numbers of orvabout.dll; its resources are loaded from its own module, never through the chain.
#pragma once

#define IDD_NXABOUT_BOX 100
#define IDC_NXABOUT_ICON 1001
#define IDC_NXABOUT_TITLE 1002
#define IDC_NXABOUT_TEXT 1003
#define IDC_NXABOUT_VERSION 1004

#define IDS_NXABOUT_CAPTION 110  // the about box's caption; %s is the application title
