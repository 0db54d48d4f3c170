// Print preview in the test application's frame: pages drawn by the view's OnPrint, paging through the
// preview's dialog bar, printing from it and closing it (test code, not product).
#include "bars_app.h"

#include "testprinter.h"

namespace {

// The texts a page's metafile draws, one after another.
int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
  std::string& text = *reinterpret_cast<std::string*>(data);
  if (record->iType == EMR_EXTTEXTOUTW) {
    const EMREXTTEXTOUTW* out = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
    const WCHAR* chars = reinterpret_cast<const WCHAR*>(reinterpret_cast<const BYTE*>(record) + out->emrtext.offString);
    for (DWORD i = 0; i < out->emrtext.nChars; ++i) text += char(chars[i]);
  } else if (record->iType == EMR_EXTTEXTOUTA) {
    const EMREXTTEXTOUTA* out = reinterpret_cast<const EMREXTTEXTOUTA*>(record);
    text.append(reinterpret_cast<const char*>(record) + out->emrtext.offString, out->emrtext.nChars);
  }
  return 1;
}

std::string TextOf(HENHMETAFILE metafile) {
  std::string text;
  if (metafile) EnumEnhMetaFile(NULL, metafile, CollectText, &text, NULL);
  return text;
}

CPreviewView* ShownPreview(CFrameWnd* frame) {
  return dynamic_cast<CPreviewView*>(CWnd::FromHandlePermanent(::GetDlgItem(frame->m_hWnd, AFX_IDW_PANE_FIRST)));
}

HWND PreviewButton(CFrameWnd* frame, UINT id) {
  HWND bar = ::GetDlgItem(frame->m_hWnd, AFX_IDW_PREVIEW_BAR);
  return bar ? ::GetDlgItem(bar, int(id)) : NULL;
}

void Click(HWND button) {
  ::SendMessageA(button, BM_CLICK, 0, 0);
  Pump();
}

TEST_F(BarsUi, PreviewShowsPageOneThenPageTwoAndCloseReturnsToTheView) {
  CPagesView* view = OpenPages(2);
  ASSERT_NE(nullptr, view);
  CMainFrame& frame = *s_frame;
  HMENU menu = ::GetMenu(frame.m_hWnd);
  view->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
  Pump();
  CPreviewView* preview = ShownPreview(&frame);
  ASSERT_NE(nullptr, preview);
  EXPECT_EQ(view, preview->GetPrintView());
  // The preview has the frame: the MDI area, the tool bars and the menu step aside; the status bar stays.
  EXPECT_FALSE(::IsWindowVisible(frame.m_hWndMDIClient));
  EXPECT_FALSE(frame.m_wndTools1.IsWindowVisible());
  EXPECT_FALSE(frame.m_wndTools3.GetParentFrame()->IsWindowVisible());
  EXPECT_TRUE(frame.m_wndStatusBar.IsWindowVisible());
  EXPECT_EQ(HMENU(NULL), ::GetMenu(frame.m_hWnd));
  EXPECT_EQ(1u, preview->GetCurrentPage());
  EXPECT_EQ("Page 1", TextOf(preview->GetPageMetafile(1)));
  EXPECT_FALSE(preview->GetPageRect(0).IsRectEmpty());
  EXPECT_FALSE(::IsWindowEnabled(PreviewButton(&frame, AFX_ID_PREVIEW_PREV)));
  EXPECT_TRUE(::IsWindowEnabled(PreviewButton(&frame, AFX_ID_PREVIEW_NEXT)));
  EXPECT_EQ(CString("Page 1"), frame.m_wndStatusBar.GetPaneText(0));
  HoldForScreenshot();

  Click(PreviewButton(&frame, AFX_ID_PREVIEW_NEXT));
  EXPECT_EQ(2u, preview->GetCurrentPage());
  EXPECT_EQ("Page 2", TextOf(preview->GetPageMetafile(2)));
  EXPECT_FALSE(::IsWindowEnabled(PreviewButton(&frame, AFX_ID_PREVIEW_NEXT)));
  EXPECT_TRUE(::IsWindowEnabled(PreviewButton(&frame, AFX_ID_PREVIEW_PREV)));
  // A document of two pages has no third.
  EXPECT_EQ(HENHMETAFILE(NULL), preview->GetPageMetafile(3));
  // Two pages side by side, then back to one.
  Click(PreviewButton(&frame, AFX_ID_PREVIEW_PREV));
  Click(PreviewButton(&frame, AFX_ID_PREVIEW_NUMPAGE));
  EXPECT_EQ(2u, preview->GetPagesShown());
  EXPECT_FALSE(preview->GetPageRect(1).IsRectEmpty());
  EXPECT_EQ(CString("Pages 1-2"), frame.m_wndStatusBar.GetPaneText(0));
  Click(PreviewButton(&frame, AFX_ID_PREVIEW_NUMPAGE));
  EXPECT_EQ(1u, preview->GetPagesShown());

  Click(PreviewButton(&frame, AFX_ID_PREVIEW_CLOSE));
  EXPECT_EQ(nullptr, ShownPreview(&frame));
  EXPECT_EQ(HWND(NULL), ::GetDlgItem(frame.m_hWnd, AFX_IDW_PREVIEW_BAR));
  EXPECT_TRUE(::IsWindowVisible(frame.m_hWndMDIClient));
  EXPECT_EQ(AFX_IDW_PANE_FIRST, ::GetDlgCtrlID(frame.m_hWndMDIClient));
  EXPECT_TRUE(frame.m_wndTools1.IsWindowVisible());
  EXPECT_TRUE(frame.m_wndTools3.GetParentFrame()->IsWindowVisible());
  EXPECT_EQ(menu, ::GetMenu(frame.m_hWnd));
  EXPECT_EQ(view, frame.MDIGetActive()->GetActiveView());
  EXPECT_TRUE(view->IsWindowVisible());
  EXPECT_TRUE(view->m_printed.empty());  // preview draws, it does not print
  view->GetDocument()->OnCloseDocument();
  Pump();
}

TEST_F(BarsUi, PrintFromPreviewClosesItAndAsksForThePrinter) {
  CPagesView* view = OpenPages(2);
  ASSERT_NE(nullptr, view);
  view->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
  Pump();
  ASSERT_NE(nullptr, ShownPreview(s_frame));
  BOOL previewGoneWhenAsked = FALSE;
  WhenDialogShows("Print", [&](HWND dialog) {
    previewGoneWhenAsked = ShownPreview(s_frame) == nullptr;
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  orvtest::RemoveFilePrinterOutput();
  Click(PreviewButton(s_frame, AFX_ID_PREVIEW_PRINT));
  EXPECT_TRUE(previewGoneWhenAsked);
  EXPECT_EQ(std::vector<UINT>({1, 2}), view->m_printed);
  EXPECT_EQ(2, orvtest::CountPostScriptPages(orvtest::ReadFilePrinterOutput()));
  view->GetDocument()->OnCloseDocument();
  Pump();
}

}  // namespace
