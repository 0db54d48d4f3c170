// Resource and command numbers of the framework's window tests (test application, not product).
#pragma once
#define IDR_MAINFRAME 200
#define IDR_TEXTTYPE 201
#define IDR_PICTURETYPE 202
#define IDD_FIELDS 300
#define IDC_NAME 301
#define IDC_COUNT 302
#define IDC_FLAG 303
#define IDC_RADIO_A 304
#define IDC_RADIO_B 305
#define IDC_RADIO_C 306
#define IDC_KIND 307
#define IDC_ITEMS 308
#define IDC_LEVEL 309

// Commands, each handled at one stop of the route (and one at two stops).
#define ID_ROUTE_VIEW 32800
#define ID_ROUTE_DOC 32801
#define ID_ROUTE_TEMPLATE 32802
#define ID_ROUTE_CHILD 32803
#define ID_ROUTE_FRAME 32804
#define ID_ROUTE_APP 32805
#define ID_ROUTE_BOTH 32806
#define ID_TOGGLE 32807
#define ID_NO_HANDLER 32808
