// The framework extension library orvsec.dll: frames, docking bars, list bar, workspaces, tree view and
// utilities on top of the framework (orvafx). Hosts and components include this one header.
#pragma once
#include "secdefs.h"
#include "secframe.h"
#include "secdock.h"
#include "secwb.h"
#include "sectbar.h"
#include "secstat.h"
#include "sectmpl.h"
#include "secplug.h"
#include "secwsmgr.h"
#include "seclistctrl.h"
#include "seclistbar.h"
#include "sectree.h"
#include "secreg.h"
#include "secfile.h"
