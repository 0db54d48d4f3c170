// cCardPanel: what the card's two sides share. Each side is a modeless child dialog over the card window's
// client area that paints the desk and its card (double-buffered), carries a column of bitmap buttons with
// hints and a status line under the card, and passes its buttons' commands on to the card window, whose
// handlers (or their absence) also decide which buttons are enabled.
#pragma once
#include <afxwin.h>

#include <memory>
#include <vector>

#include "Buttons.h"
#include "CardLayout.h"

class cCardDialog;

class cCardPanel : public CDialog {
 public:
  struct ButtonDef {
    UINT command;
    UINT bitmap;
    BOOL shown;  // a hidden button is also kept disabled
  };

  // Creates the panel over the card window's client area (hidden).
  BOOL CreatePanel(UINT templateId, cCardDialog* card);
  // Draws this side of the card into the card rectangle: on screen the controls show the texts, printing
  // draws the whole side itself (the card picture).
  virtual void DrawCard(CDC* dc, const CRect& card, BOOL printing) = 0;
  // Asks target for each shown button's state; a button whose command has no handler is disabled.
  void UpdateButtons(CCmdTarget* target);
  void SetStatus(LPCSTR text);
  const CString& GetStatus() const { return m_status; }
  cCardDialog* GetCard() const { return m_pCard; }
  CWnd* GetButton(UINT command);

 protected:
  virtual std::vector<ButtonDef> Buttons() const = 0;
  // The card's paper: its colour and edge.
  static void DrawPaper(CDC* dc, const CRect& card);
  const quillo::cPanelLayout& Layout() const { return m_layout; }
  CFont& PanelFont() { return m_font; }

  BOOL OnInitDialog() override;
  // Enter and Escape belong to the card window, not to one of its sides.
  void OnOK() override;
  void OnCancel() override;
  BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnPaint();
  afx_msg LRESULT OnStatus(WPARAM, LPARAM text);
  DECLARE_MESSAGE_MAP()

 private:
  void PaintPanel(CDC* dc);

  cCardDialog* m_pCard = nullptr;
  quillo::cPanelLayout m_layout;
  std::vector<std::unique_ptr<cBitmapButton>> m_buttons;
  cHintTip m_hints;
  CFont m_font;
  CString m_status;
};
