// Printing on the test prefix's file printer: whole documents and chosen ranges, the print dialog with a
// custom template from a resource library, cancelling the dialog and the job (test code, not product).
#include "bars_app.h"

#include <dlgs.h>
#include "testprinter.h"

namespace {

const char kPrintCaption[] = "Print";
const char kOptionsCaption[] = "Print Pictures";
const char kPrintingCaption[] = "Printing";
const char* const kSizes[] = {"Wallet", "Postcard", "Full page"};

// The caller's print dialog: its template lives in the caller's resource library and adds controls of its own.
class COptionsPrintDialog : public CPrintDialog {
 public:
  explicit COptionsPrintDialog(HINSTANCE library)
      : CPrintDialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_NOSELECTION) {
    m_pd.Flags |= PD_ENABLEPRINTTEMPLATE;
    m_pd.hInstance = library;
    m_pd.lpPrintTemplateName = MAKEINTRESOURCEA(IDD_PRINT_OPTIONS);
  }
  int m_onePerPage = 0;
  int m_showName = 0;
  int m_size = -1;

 protected:
  BOOL OnInitDialog() override {
    CComboBox* sizes = static_cast<CComboBox*>(GetDlgItem(IDC_SIZE_LIST));
    for (LPCSTR size : kSizes) sizes->AddString(size);
    BOOL result = CPrintDialog::OnInitDialog();
    OnOnePerPage();
    return result;
  }
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Check(dx, IDC_ONE_PER_PAGE, m_onePerPage);
    DDX_Check(dx, IDC_SHOW_NAME, m_showName);
    DDX_CBIndex(dx, IDC_SIZE_LIST, m_size);
  }
  // The size list means something only with one picture per page.
  afx_msg void OnOnePerPage() { GetDlgItem(IDC_SIZE_LIST)->EnableWindow(IsDlgButtonChecked(IDC_ONE_PER_PAGE)); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COptionsPrintDialog, CPrintDialog)
  ON_BN_CLICKED(IDC_ONE_PER_PAGE, OnOnePerPage)
END_MESSAGE_MAP()

HINSTANCE PrintResources() {
  static HINSTANCE library = LoadLibraryA("AfxPrintRes.dll");
  return library;
}

// Each test starts without a job on the printer and without messages.
void StartPrinting() {
  orvtest::RemoveFilePrinterOutput();
  theApp.m_boxes.clear();
}

TEST_F(BarsUi, PrintingBothPagesOfATwoPageDocumentReachTheFilePrinter) {
  StartPrinting();
  CPagesView* view = OpenPages(2);
  ASSERT_NE(nullptr, view);
  view->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
  std::string job = orvtest::ReadFilePrinterOutput();
  EXPECT_EQ(2, orvtest::CountPostScriptPages(job));
  EXPECT_NE(std::string::npos, job.find("%%Pages: 2"));
  EXPECT_EQ(std::vector<UINT>({1, 2}), view->m_printed);
  EXPECT_TRUE(theApp.m_boxes.empty());
  // The progress dialog went with the job, and the main window takes input again.
  EXPECT_EQ(HWND(NULL), FindWindowA("#32770", kPrintingCaption));
  EXPECT_TRUE(s_frame->IsWindowEnabled());
  view->GetDocument()->OnCloseDocument();
  Pump();
}

TEST_F(BarsUi, PrintingThePrintDialogPrintsTheRangeTheUserChose) {
  StartPrinting();
  CPagesView* view = OpenPages(3);
  ASSERT_NE(nullptr, view);
  struct Case {
    const char* from;  // null: all pages
    const char* to;
    std::vector<UINT> pages;
  } cases[] = {{nullptr, nullptr, {1, 2, 3}}, {"2", "3", {2, 3}}, {"2", "2", {2}}};
  for (const Case& c : cases) {
    orvtest::RemoveFilePrinterOutput();
    view->m_printed.clear();
    WhenDialogShows(kPrintCaption, [&c](HWND dialog) {
      if (c.from) {
        SendDlgItemMessageA(dialog, rad3, BM_CLICK, 0, 0);
        SetDlgItemTextA(dialog, edt1, c.from);
        SetDlgItemTextA(dialog, edt2, c.to);
      }
      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    view->SendMessage(WM_COMMAND, ID_FILE_PRINT);
    EXPECT_EQ(c.pages, view->m_printed) << (c.from ? c.from : "all");
    EXPECT_EQ(int(c.pages.size()), orvtest::CountPostScriptPages(orvtest::ReadFilePrinterOutput()));
  }
  EXPECT_TRUE(theApp.m_boxes.empty());
  view->GetDocument()->OnCloseDocument();
  Pump();
}

TEST_F(BarsUi, PrintingACustomTemplateFromAResourceLibraryShowsItsControlsAndHandsBackTheirValues) {
  StartPrinting();
  ASSERT_NE(HINSTANCE(NULL), PrintResources());
  COptionsPrintDialog dialog(PrintResources());
  dialog.m_showName = 1;
  dialog.m_size = 1;
  int sizes = -1;
  BOOL sizeListAtFirst = TRUE, sizeListAfterClick = FALSE, nameShown = FALSE;
  WhenDialogShows(kOptionsCaption, [&](HWND window) {
    sizes = int(SendDlgItemMessageA(window, IDC_SIZE_LIST, CB_GETCOUNT, 0, 0));
    nameShown = IsDlgButtonChecked(window, IDC_SHOW_NAME) == BST_CHECKED;
    sizeListAtFirst = IsWindowEnabled(GetDlgItem(window, IDC_SIZE_LIST));
    SendDlgItemMessageA(window, IDC_ONE_PER_PAGE, BM_CLICK, 0, 0);
    sizeListAfterClick = IsWindowEnabled(GetDlgItem(window, IDC_SIZE_LIST));
    SendDlgItemMessageA(window, IDC_SIZE_LIST, CB_SETCURSEL, 2, 0);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(IDOK, theApp.DoPrintDialog(&dialog));
  EXPECT_EQ(3, sizes);
  EXPECT_TRUE(nameShown);
  EXPECT_FALSE(sizeListAtFirst);
  EXPECT_TRUE(sizeListAfterClick);
  EXPECT_EQ(1, dialog.m_onePerPage);
  EXPECT_EQ(1, dialog.m_showName);
  EXPECT_EQ(2, dialog.m_size);
  EXPECT_EQ(CString(orvtest::kFilePrinterName), dialog.GetDeviceName());
  EXPECT_NE(HDC(NULL), dialog.GetPrinterDC());
}

TEST_F(BarsUi, PrintingACancelledDialogPrintsNothing) {
  StartPrinting();
  CPagesView* view = OpenPages(2);
  ASSERT_NE(nullptr, view);
  view->m_pDialog = new COptionsPrintDialog(PrintResources());
  WhenDialogShows(kOptionsCaption, [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
  view->SendMessage(WM_COMMAND, ID_FILE_PRINT);
  EXPECT_TRUE(view->m_printed.empty());
  EXPECT_TRUE(orvtest::ReadFilePrinterOutput().empty());
  EXPECT_TRUE(theApp.m_boxes.empty());
  view->GetDocument()->OnCloseDocument();
  Pump();
}

TEST_F(BarsUi, PrintingCancellingThePrintingDialogStopsTheJobWithoutAnError) {
  StartPrinting();
  CPagesView* view = OpenPages(3);
  ASSERT_NE(nullptr, view);
  view->m_onPrinted = [](UINT page) {
    if (page != 1) return;
    HWND progress = FindWindowA("#32770", kPrintingCaption);
    if (progress) SendMessageA(progress, WM_COMMAND, IDCANCEL, 0);
  };
  view->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
  EXPECT_EQ(std::vector<UINT>({1}), view->m_printed);
  EXPECT_EQ(0, orvtest::CountPostScriptPages(orvtest::ReadFilePrinterOutput()));
  EXPECT_TRUE(theApp.m_boxes.empty());
  view->GetDocument()->OnCloseDocument();
  Pump();
}

}  // namespace
