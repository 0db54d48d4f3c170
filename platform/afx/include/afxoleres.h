// Resource numbers of the framework's OLE texts (resources/afx/orvafxole.rc, linked into orvafx.dll).
#pragma once

#define AFX_IDP_OLE_ERROR 0xF1B0               // %1: the status, in hexadecimal
#define AFX_IDP_GET_NOT_SUPPORTED 0xF1B1
#define AFX_IDP_SET_NOT_SUPPORTED 0xF1B2
#define AFX_IDP_FAILED_TO_AUTO_REGISTER 0xF1B3  // registering the automation classes failed
#define AFX_IDP_FAILED_TO_CREATE 0xF1B4         // an embedded object could not be created
