// Numbers shared by the host and the components' frames, bars and base document: the private window
// messages, the status bar's button panes and their images, the base document's commands and message, the
// bar state bit of a component switch, and where the postcard program and HTML Help are found.
#pragma once

// Private window messages between the host and the component frames.
#define NXM_HELPERGONE 0x07E9     // to a frame leaving its helper when the helper's last frame goes
#define NXM_COMPONENTBARS 0x07ED  // to the active MDI child: wParam 0 hides its component's bars, else shows them
#define NXM_PROGRESS 0x07EE       // to the component status bar: lParam 0 starts, 100 hides, else the position
#define NXM_DEACTIVATE 0x07EF     // to the active MDI child when another component's child comes up

// A control bar state bit (CControlBar::m_nStateFlags): hidden because another component is active.
#define NXBAR_SWITCHHIDDEN 0x20

// The status bar's two button panes, the commands their buttons send, and the buttons' images (the host's
// resources hold the images and the panes' tip texts).
#define ID_NX_PANE_LAUNCHBAR 510
#define ID_NX_PANE_SLIDETABLE 509
#define IDB_NX_LAUNCHBUTTON 432
#define IDB_NX_SLIDETABLEBUTTON 141

// The base document's commands, and the message naming a missing postcard program (in the component's
// resource library: "%s" for the program, the web address and the sales address).
#define ID_NX_SENDMAIL 20002
#define ID_NX_SENDPOSTCARD 20003
#define IDS_NX_NOPOSTCARD 20001

// Where the postcard program is found: "Path" under the key, else in section "Quillo" of the profile file.
#define NX_QUILLO_LOCATION_KEY "Software\\Nexlumen\\Quillo\\Location"
#define NX_QUILLO_INI_SECTION "Quillo"
#define NX_LOCATION_PATH_VALUE "Path"
#define NX_SHARED_PROFILE_FILE "nexlumen.ini"
#define NX_WEB_ADDRESS "http://www.nexlumen.example/quillo"
#define NX_SALES_ADDRESS "sales@nexlumen.example"

// HTML Help's control, whose registered server gives the path of hhctrl.ocx.
#define NX_HTMLHELP_SERVER_KEY "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32"
