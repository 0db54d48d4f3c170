// Recompressing the card's video before it is sent: only a clip whose video is stored uncompressed (RGB "DIB ",
// or YUV "I420"/"IYUV") is offered it, after a question; the user picks the compression in the system's AVI
// save-options dialog and the clip is saved with it, through our AVI classes, into a new "NXN" temporary
// ".avi". Called by the send command.
#pragma once
#include <afxwin.h>

namespace quillo {

enum class UncompressedKind { kNone, kRgb, kYuv };
// What kind of uncompressed data a video stream's compressor code stands for (kNone: compressed).
UncompressedKind UncompressedKindOf(DWORD handler);

}  // namespace quillo

// Offers to recompress the video file; true when a recompressed copy was made (its path in *recompressed, a
// temporary file the caller deletes). False leaves the video as it is: compressed already, the question
// answered no, the dialog cancelled, or a failed save (told to the user).
BOOL RecompressVideoForSending(CWnd* owner, LPCSTR video, CString* recompressed);
