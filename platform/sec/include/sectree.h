// SECListView, SECTreeView and SECTreeNode: views that are common controls. SECListView is a view whose window
// is a common control (a list view unless a derived class names another); SECTreeView is such a view over the
// common tree control, holding SECTreeNode objects (text, images, a data pointer) that are filled on demand
// the first time a node opens, found by text, selected, scrolled into view and renamed in place. The
// Gallery's folder tree (cFileTreeView) derives from SECTreeView and fills it from the shell name space.
#pragma once
#include "secdefs.h"
#include <afxcmn.h>
#include <set>

class SEC_API SECListView : public CView {
  DECLARE_DYNCREATE(SECListView)
 public:
  SECListView();  // a list view control in report style

 protected:
  // A view that is a control of class controlClass with the control styles controlStyle.
  SECListView(LPCSTR controlClass, DWORD controlStyle);
  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
  void OnDraw(CDC* dc) override;  // the control paints itself
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* dc);

  CString m_strControlClass;
  DWORD m_dwControlStyle;
  DECLARE_MESSAGE_MAP()
};

class SECTreeView;

// One node of an SECTreeView; made and deleted by its view.
class SEC_API SECTreeNode {
 public:
  const CString& GetText() const { return m_strText; }
  int GetImage() const { return m_nImage; }
  int GetSelectedImage() const { return m_nSelectedImage; }
  void* GetData() const { return m_pData; }
  void SetData(void* data) { m_pData = data; }
  HTREEITEM GetHandle() const { return m_hItem; }
  SECTreeView* GetView() const { return m_pView; }
  // Its parent (null at the top level), its first child and the sibling after it, in the tree's order.
  SECTreeNode* GetParent() const;
  SECTreeNode* GetFirstChild() const;
  SECTreeNode* GetNextSibling() const;
  // Its children were filled (OnPopulate ran since it was made or last refreshed).
  BOOL IsPopulated() const { return m_bPopulated; }
  BOOL IsExpanded() const;

 private:
  friend class SECTreeView;
  SECTreeNode(SECTreeView* view, LPCSTR text, int image, int selectedImage, void* data);
  SECTreeView* m_pView;
  HTREEITEM m_hItem;
  CString m_strText;
  int m_nImage;
  int m_nSelectedImage;
  void* m_pData;
  BOOL m_bPopulated;
};

class SEC_API SECTreeView : public SECListView {
  DECLARE_DYNCREATE(SECTreeView)
 public:
  SECTreeView();  // buttons, lines, lines at the root, labels editable, selection always shown
  ~SECTreeView() override;

  // Adds a node below parent (null: at the top level) after after (null: last). A node made with
  // mayHaveChildren shows an expand button until it is filled and turns out to have none.
  SECTreeNode* InsertNode(SECTreeNode* parent, LPCSTR text, int image = -1, int selectedImage = -1,
                          void* data = NULL, BOOL mayHaveChildren = FALSE, SECTreeNode* after = NULL);
  // Deletes node with everything below it (OnDeleteNode for each, children first).
  BOOL DeleteNode(SECTreeNode* node);
  // Deletes the children of parent (null: every node).
  void DeleteChildren(SECTreeNode* parent);
  // The first node below parent (null: the first top-level node).
  SECTreeNode* GetFirstChild(SECTreeNode* parent) const;
  int GetNodeCount() const { return int(m_nodes.size()); }
  // The node of a tree item, null for none.
  SECTreeNode* NodeFromHandle(HTREEITEM item) const;

  // Fills node's children through OnPopulate unless that was done; false for a node not of this view.
  BOOL Populate(SECTreeNode* node);
  // Fills node again: its children go, OnPopulate runs again, and the node is open again when it was.
  BOOL Refresh(SECTreeNode* node);
  // Opens (TVE_EXPAND), closes or toggles node; opening fills it first.
  BOOL Expand(SECTreeNode* node, UINT code = TVE_EXPAND);
  // The child of parent (null: top level) whose text equals text, ignoring case; parent is filled first
  // unless populate is false.
  SECTreeNode* FindChild(SECTreeNode* parent, LPCSTR text, BOOL populate = TRUE);
  // Finds parts[0] at the top level, parts[1] below it and so on, filling nodes on the way; returns the
  // deepest node found (null when not even the first part was) and how many parts were found.
  SECTreeNode* FindPath(const CStringArray& parts, int* found = NULL);

  BOOL SelectNode(SECTreeNode* node);
  SECTreeNode* GetSelectedNode() const;
  BOOL EnsureVisible(SECTreeNode* node);
  // The node at point (client coordinates) and the tree's hit flags (TVHT_*), null for none.
  SECTreeNode* NodeFromPoint(CPoint point, UINT* flags = NULL) const;
  // The node's row (textOnly: its label) in client coordinates.
  BOOL GetNodeRect(SECTreeNode* node, CRect& rect, BOOL textOnly) const;

  BOOL SetNodeText(SECTreeNode* node, LPCSTR text);
  BOOL SetNodeImages(SECTreeNode* node, int image, int selectedImage);
  // An image list of the tree (TVSIL_NORMAL, TVSIL_STATE); it stays the caller's, so the shell's system
  // image list may be given.
  void SetImageList(HIMAGELIST images, int type = TVSIL_NORMAL);

  // Starts editing node's label in place (the tree takes the focus); the edit control, null when refused.
  HWND EditLabel(SECTreeNode* node);
  // Ends the editing under way, keeping the text unless cancel.
  BOOL EndEditLabel(BOOL cancel);
  SECTreeNode* GetEditNode() const { return m_pEditNode; }

 protected:
  // Fills node's children with InsertNode; called once until the node is refreshed. The base adds none.
  virtual void OnPopulate(SECTreeNode* node);
  // Whether editing node's label may start (the base: yes).
  virtual BOOL OnBeginLabelEdit(SECTreeNode* node);
  // Whether text becomes node's label (the base: when it is not empty).
  virtual BOOL OnEndLabelEdit(SECTreeNode* node, LPCSTR text);
  // After the selection moved from old (may be null) to node (may be null).
  virtual void OnSelectNode(SECTreeNode* node, SECTreeNode* old);
  // Before node is deleted: the place to free its data.
  virtual void OnDeleteNode(SECTreeNode* node);

  BOOL OwnsNode(const SECTreeNode* node) const;
  void DeleteSubtree(HTREEITEM item);
  void ShowExpandButton(SECTreeNode* node, BOOL show);

  afx_msg void OnItemExpanding(NMHDR* header, LRESULT* result);
  afx_msg void OnSelChanged(NMHDR* header, LRESULT* result);
  afx_msg void OnBeginLabelEditA(NMHDR* header, LRESULT* result);
  afx_msg void OnBeginLabelEditW(NMHDR* header, LRESULT* result);
  afx_msg void OnEndLabelEditA(NMHDR* header, LRESULT* result);
  afx_msg void OnEndLabelEditW(NMHDR* header, LRESULT* result);
  afx_msg void OnDestroy();

  std::set<SECTreeNode*> m_nodes;
  SECTreeNode* m_pEditNode;
  DECLARE_MESSAGE_MAP()
};
