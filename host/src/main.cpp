// Orvane.exe: the host program's one application object.
#include "ForgeApp.h"

cForgeApp theApp;
