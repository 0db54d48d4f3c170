// The program entry of framework applications (static library orvafxmain): hands over to AfxWinMain.
#include "afxwin.h"

extern "C" int WINAPI WinMain(HINSTANCE instance, HINSTANCE prevInstance, LPSTR cmdLine, int cmdShow) {
  return AfxWinMain(instance, prevInstance, cmdLine, cmdShow);
}
