// The postcard program's application object; the framework's WinMain (orvafxmain) runs it.
#include "QuilloApp.h"

cQuilloApp theApp;
