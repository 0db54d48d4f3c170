// Resource and command numbers of the two test components and their resource libraries (test code, not product).
#pragma once

#define IDR_FWTESTA 3100         // component A's template: document strings and its in-place server menu
#define IDR_FWTESTB 3200         // component B's, whose document name is empty
#define IDR_FWTEST_NOMENU 3300   // a template of component A's library without a menu
#define IDS_FWTEST_WHO 3900      // defined by both resource libraries, each with its own text
#define IDS_FWTESTA_ONLY 3901
#define IDS_FWTESTB_ONLY 3902

#define ID_FWTEST_THUMBNAILS 34100
#define ID_FWTEST_DETAILS 34101
#define ID_FWTEST_ROTATE 34102
#define ID_FWTEST_GO 34103
#define ID_FWTEST_INDEX 34104
#define ID_FWTEST_LARGE 34105

// The components' bars, status panes, button images and context menu.
#define IDW_FWTESTA_TOOLBAR 0xE850
#define IDW_FWTESTA_TOOLBAR2 0xE851
#define IDW_FWTESTB_TOOLBAR 0xE852
#define IDB_FWTESTA_TOOLS 3500
#define IDB_FWTESTB_TOOLS 3501
#define IDR_FWTEST_CONTEXT 3400
#define ID_FWTEST_PANE_A 3910
#define ID_FWTEST_PANE_B1 3911
#define ID_FWTEST_PANE_B2 3912
#define ID_FWTEST_CONTEXT_ITEM 34110
