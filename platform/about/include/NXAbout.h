// The splash window and the about box of the host program (orvabout.dll): the splash shows a bitmap of the
// caller's module for a given time; the about box shows the application title, a text and a version text.
// The host calls both; the library's own texts and dialog live in its resources (resources/about).
#pragma once
#include <afxwin.h>

#ifdef ORVABOUT_BUILD
#define ORVABOUT_API __declspec(dllexport)
#else
#define ORVABOUT_API __declspec(dllimport)
#endif

// Shows bitmap bitmapId of module centred on the screen the owner is on, above the owner, and closes it
// after milliseconds (or earlier on a click or a key). Returns at once with the splash window, or null when
// the bitmap is not in module (nothing is shown then).
ORVABOUT_API HWND NXShowSplash(HWND owner, HINSTANCE module, UINT bitmapId, UINT milliseconds);

// Runs the thread's messages until splash is gone (at once for null), so that waiting for the splash leaves
// every window of the thread painting and answering. A WM_QUIT met meanwhile is posted again for the caller.
ORVABOUT_API void NXWaitSplash(HWND splash);

// The modal about box over owner: "About <title>" as caption, the owner's icon, the title, the text and the
// version text as given. Returns IDOK when closed, -1 when it could not be shown.
ORVABOUT_API INT_PTR NXAboutBox(HWND owner, LPCSTR title, LPCSTR text, LPCSTR version);
