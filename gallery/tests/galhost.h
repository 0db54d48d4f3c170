// The Gallery tests' host: an MDI program that creates the Gallery by class id, as the host program does, and
// opens folders in slide tables (test code, not product).
#pragma once
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "afxext.h"
#include "gallery/GalleryComponent.h"
#include "gallery/SlideTableDoc.h"
#include "gallery/SlideTableView.h"

namespace galtest {

class CGalHostFrame : public CMDIFrameWnd {
  DECLARE_DYNCREATE(CGalHostFrame)
 public:
  CStatusBar m_status;
};

// Message boxes are recorded, not shown.
class CGalHostApp : public CWinApp {
 public:
  CGalHostApp() : CWinApp("Gallery Test Host") {}
  std::vector<std::string> m_boxes;
  int DoMessageBox(LPCSTR prompt, UINT, UINT) override {
    m_boxes.push_back(prompt);
    return IDOK;
  }
};
extern CGalHostApp theApp;

void Pump();
// Pumps for ms milliseconds.
void PumpFor(DWORD ms);
// Pumps until the view's loader has ended (false on time-out).
bool WaitForLoader(cSlideTableView* view, DWORD timeoutMs = 60000);

// A fresh empty folder under the temporary folder.
std::string MakeFolder(const std::string& name);
// A small photo-like JPEG (or other format by extension) of the sample generator.
void WritePhoto(const std::string& path, int width, int height, uint32_t seed);
void SetWriteTime(const std::string& path, int secondsAgo);
std::vector<uint8_t> ReadAll(const std::string& path);
bool Exists(const std::string& path);

class GalleryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void TearDown() override;  // closes the documents a test left open

  // Opens folder in a slide table and waits for its thumbnails.
  cSlideTableDoc* Open(const std::string& folder, bool waitForLoader = true);
  static cSlideTableView* ViewOf(CDocument* doc);
  static void Close(CDocument* doc);
  // Display names of the table's cells in their order.
  static std::vector<std::string> CellNames(cSlideTableView* view);
  // Holds the windows for a screenshot when ORV_UI_HOLD_SECONDS is set.
  static void Hold();

  static CGalHostFrame* s_frame;
  static INXComponent* s_component;
};

}  // namespace galtest
