// Resource numbers of OrvaneExt.dll (texts in resources/shellext/OrvaneExt.rc, compiled into the DLL itself).
#pragma once

#define IDS_ORVANEEXT_OPEN_WITH 129                // the context-menu command
#define IDS_ORVANEEXT_CREATEPROCESS_FAILED 130     // message box when the host cannot be started
#define IDS_ORVANEEXT_WAITFORINPUTIDLE_FAILED 131  // message box when a started host never became idle
