// SECTreeView and SECTreeNode: nodes over the common tree control, filled on demand, owned by the view.
#include "sectree.h"

#include <vector>

IMPLEMENT_DYNCREATE(SECTreeView, SECListView)

BEGIN_MESSAGE_MAP(SECTreeView, SECListView)
  ON_NOTIFY_REFLECT(TVN_ITEMEXPANDINGA, OnItemExpanding)
  ON_NOTIFY_REFLECT(TVN_ITEMEXPANDINGW, OnItemExpanding)
  ON_NOTIFY_REFLECT(TVN_SELCHANGEDA, OnSelChanged)
  ON_NOTIFY_REFLECT(TVN_SELCHANGEDW, OnSelChanged)
  ON_NOTIFY_REFLECT(TVN_BEGINLABELEDITA, OnBeginLabelEditA)
  ON_NOTIFY_REFLECT(TVN_BEGINLABELEDITW, OnBeginLabelEditW)
  ON_NOTIFY_REFLECT(TVN_ENDLABELEDITA, OnEndLabelEditA)
  ON_NOTIFY_REFLECT(TVN_ENDLABELEDITW, OnEndLabelEditW)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

// ---------------------------------------------------------------------------------------------

SECTreeNode::SECTreeNode(SECTreeView* view, LPCSTR text, int image, int selectedImage, void* data)
    : m_pView(view),
      m_hItem(NULL),
      m_strText(text ? text : ""),
      m_nImage(image),
      m_nSelectedImage(selectedImage),
      m_pData(data),
      m_bPopulated(FALSE) {}

SECTreeNode* SECTreeNode::GetParent() const {
  return m_pView->NodeFromHandle(TreeView_GetParent(m_pView->m_hWnd, m_hItem));
}

SECTreeNode* SECTreeNode::GetFirstChild() const { return m_pView->GetFirstChild(const_cast<SECTreeNode*>(this)); }

SECTreeNode* SECTreeNode::GetNextSibling() const {
  return m_pView->NodeFromHandle(TreeView_GetNextSibling(m_pView->m_hWnd, m_hItem));
}

BOOL SECTreeNode::IsExpanded() const {
  return (TreeView_GetItemState(m_pView->m_hWnd, m_hItem, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

// ---------------------------------------------------------------------------------------------

namespace {
// A label the tree reports in wide characters, in the ANSI code page the nodes keep.
CString Narrow(LPCWSTR text) {
  int length = ::WideCharToMultiByte(CP_ACP, 0, text, -1, NULL, 0, NULL, NULL);
  if (length <= 0) return CString();
  std::vector<char> buffer(length);
  ::WideCharToMultiByte(CP_ACP, 0, text, -1, buffer.data(), length, NULL, NULL);
  return CString(buffer.data());
}
}  // namespace

SECTreeView::SECTreeView()
    : SECListView(WC_TREEVIEWA,
                  TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS | TVS_SHOWSELALWAYS),
      m_pEditNode(NULL) {}

SECTreeView::~SECTreeView() {
  // Normally gone with the window (OnDestroy); what a view never shown still holds goes here.
  for (SECTreeNode* node : m_nodes) delete node;
}

BOOL SECTreeView::OwnsNode(const SECTreeNode* node) const {
  return node && m_nodes.count(const_cast<SECTreeNode*>(node)) != 0;
}

SECTreeNode* SECTreeView::NodeFromHandle(HTREEITEM item) const {
  if (!item || !m_hWnd) return NULL;
  TVITEMA data = {};
  data.mask = TVIF_PARAM | TVIF_HANDLE;
  data.hItem = item;
  if (!TreeView_GetItem(m_hWnd, &data)) return NULL;
  SECTreeNode* node = reinterpret_cast<SECTreeNode*>(data.lParam);
  return OwnsNode(node) ? node : NULL;
}

SECTreeNode* SECTreeView::InsertNode(SECTreeNode* parent, LPCSTR text, int image, int selectedImage, void* data,
                                     BOOL mayHaveChildren, SECTreeNode* after) {
  if (!m_hWnd || (parent && !OwnsNode(parent)) || (after && !OwnsNode(after))) return NULL;
  if (selectedImage < 0) selectedImage = image;
  SECTreeNode* node = new SECTreeNode(this, text, image, selectedImage, data);
  TVINSERTSTRUCTA insert = {};
  insert.hParent = parent ? parent->m_hItem : TVI_ROOT;
  insert.hInsertAfter = after ? after->m_hItem : TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
  if (image >= 0) insert.item.mask |= TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = const_cast<LPSTR>(LPCSTR(node->m_strText));
  insert.item.iImage = image;
  insert.item.iSelectedImage = selectedImage;
  insert.item.cChildren = mayHaveChildren ? 1 : 0;
  insert.item.lParam = reinterpret_cast<LPARAM>(node);
  m_nodes.insert(node);
  node->m_hItem = TreeView_InsertItem(m_hWnd, &insert);
  if (!node->m_hItem) {
    m_nodes.erase(node);
    delete node;
    return NULL;
  }
  if (parent) ShowExpandButton(parent, TRUE);
  return node;
}

void SECTreeView::ShowExpandButton(SECTreeNode* node, BOOL show) {
  TVITEMA data = {};
  data.mask = TVIF_CHILDREN | TVIF_HANDLE;
  data.hItem = node->m_hItem;
  data.cChildren = show ? 1 : 0;
  TreeView_SetItem(m_hWnd, &data);
}

void SECTreeView::DeleteSubtree(HTREEITEM item) {
  // Children first, so that a hook freeing a node's data never meets a child whose parent is gone; the
  // objects outlive the tree item, which may still report them while it goes.
  std::vector<SECTreeNode*> doomed;
  std::vector<HTREEITEM> pending(1, item);
  while (!pending.empty()) {
    HTREEITEM current = pending.back();
    pending.pop_back();
    if (SECTreeNode* node = NodeFromHandle(current)) doomed.push_back(node);
    for (HTREEITEM child = TreeView_GetChild(m_hWnd, current); child; child = TreeView_GetNextSibling(m_hWnd, child))
      pending.push_back(child);
  }
  for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) {
    OnDeleteNode(*it);
    m_nodes.erase(*it);
    if (*it == m_pEditNode) m_pEditNode = NULL;
  }
  TreeView_DeleteItem(m_hWnd, item);
  for (SECTreeNode* node : doomed) delete node;
}

BOOL SECTreeView::DeleteNode(SECTreeNode* node) {
  if (!OwnsNode(node)) return FALSE;
  DeleteSubtree(node->m_hItem);
  return TRUE;
}

void SECTreeView::DeleteChildren(SECTreeNode* parent) {
  if (!m_hWnd || (parent && !OwnsNode(parent))) return;
  HTREEITEM child = parent ? TreeView_GetChild(m_hWnd, parent->m_hItem) : TreeView_GetRoot(m_hWnd);
  while (child) {
    HTREEITEM next = TreeView_GetNextSibling(m_hWnd, child);
    DeleteSubtree(child);
    child = next;
  }
}

SECTreeNode* SECTreeView::GetFirstChild(SECTreeNode* parent) const {
  if (!m_hWnd || (parent && !OwnsNode(parent))) return NULL;
  return NodeFromHandle(parent ? TreeView_GetChild(m_hWnd, parent->m_hItem) : TreeView_GetRoot(m_hWnd));
}

BOOL SECTreeView::Populate(SECTreeNode* node) {
  if (!OwnsNode(node)) return FALSE;
  if (node->m_bPopulated) return TRUE;
  // Marked first: a hook that looks for children of the node it fills must not fill it again.
  node->m_bPopulated = TRUE;
  OnPopulate(node);
  if (OwnsNode(node) && !TreeView_GetChild(m_hWnd, node->m_hItem)) ShowExpandButton(node, FALSE);
  return OwnsNode(node);
}

BOOL SECTreeView::Refresh(SECTreeNode* node) {
  if (!OwnsNode(node)) return FALSE;
  BOOL wasExpanded = node->IsExpanded();
  DeleteChildren(node);
  node->m_bPopulated = FALSE;
  ShowExpandButton(node, TRUE);
  if (!Populate(node)) return FALSE;
  if (wasExpanded) TreeView_Expand(m_hWnd, node->m_hItem, TVE_EXPAND);
  return TRUE;
}

BOOL SECTreeView::Expand(SECTreeNode* node, UINT code) {
  if (!OwnsNode(node)) return FALSE;
  // The tree asks (TVN_ITEMEXPANDING) before it opens the node, and the node is filled then.
  return TreeView_Expand(m_hWnd, node->m_hItem, code);
}

SECTreeNode* SECTreeView::FindChild(SECTreeNode* parent, LPCSTR text, BOOL populate) {
  if (parent && !OwnsNode(parent)) return NULL;
  if (parent && populate && !Populate(parent)) return NULL;
  for (SECTreeNode* child = GetFirstChild(parent); child; child = child->GetNextSibling())
    if (child->m_strText.CompareNoCase(text ? text : "") == 0) return child;
  return NULL;
}

SECTreeNode* SECTreeView::FindPath(const CStringArray& parts, int* found) {
  SECTreeNode* node = NULL;
  int count = 0;
  for (; count < parts.GetSize(); ++count) {
    SECTreeNode* child = FindChild(node, parts[count]);
    if (!child) break;
    node = child;
  }
  if (found) *found = count;
  return node;
}

BOOL SECTreeView::SelectNode(SECTreeNode* node) {
  if (node && !OwnsNode(node)) return FALSE;
  return TreeView_SelectItem(m_hWnd, node ? node->m_hItem : NULL);
}

SECTreeNode* SECTreeView::GetSelectedNode() const { return NodeFromHandle(TreeView_GetSelection(m_hWnd)); }

BOOL SECTreeView::EnsureVisible(SECTreeNode* node) {
  if (!OwnsNode(node)) return FALSE;
  TreeView_EnsureVisible(m_hWnd, node->m_hItem);
  return TRUE;
}

SECTreeNode* SECTreeView::NodeFromPoint(CPoint point, UINT* flags) const {
  TVHITTESTINFO info = {};
  info.pt = point;
  HTREEITEM item = TreeView_HitTest(m_hWnd, &info);
  if (flags) *flags = info.flags;
  return NodeFromHandle(item);
}

BOOL SECTreeView::GetNodeRect(SECTreeNode* node, CRect& rect, BOOL textOnly) const {
  if (!OwnsNode(node)) return FALSE;
  return TreeView_GetItemRect(m_hWnd, node->m_hItem, &rect, textOnly);
}

BOOL SECTreeView::SetNodeText(SECTreeNode* node, LPCSTR text) {
  if (!OwnsNode(node)) return FALSE;
  CString value = text ? text : "";
  TVITEMA data = {};
  data.mask = TVIF_TEXT | TVIF_HANDLE;
  data.hItem = node->m_hItem;
  data.pszText = const_cast<LPSTR>(LPCSTR(value));
  if (!TreeView_SetItem(m_hWnd, &data)) return FALSE;
  node->m_strText = value;
  return TRUE;
}

BOOL SECTreeView::SetNodeImages(SECTreeNode* node, int image, int selectedImage) {
  if (!OwnsNode(node)) return FALSE;
  TVITEMA data = {};
  data.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
  data.hItem = node->m_hItem;
  data.iImage = image;
  data.iSelectedImage = selectedImage < 0 ? image : selectedImage;
  if (!TreeView_SetItem(m_hWnd, &data)) return FALSE;
  node->m_nImage = data.iImage;
  node->m_nSelectedImage = data.iSelectedImage;
  return TRUE;
}

void SECTreeView::SetImageList(HIMAGELIST images, int type) { TreeView_SetImageList(m_hWnd, images, type); }

HWND SECTreeView::EditLabel(SECTreeNode* node) {
  if (!OwnsNode(node)) return NULL;
  SetFocus();
  return TreeView_EditLabel(m_hWnd, node->m_hItem);
}

BOOL SECTreeView::EndEditLabel(BOOL cancel) {
  if (!m_hWnd || !TreeView_GetEditControl(m_hWnd)) return FALSE;
  return TreeView_EndEditLabelNow(m_hWnd, cancel);
}

void SECTreeView::OnPopulate(SECTreeNode*) {}

BOOL SECTreeView::OnBeginLabelEdit(SECTreeNode*) { return TRUE; }

BOOL SECTreeView::OnEndLabelEdit(SECTreeNode*, LPCSTR text) { return text && *text; }

void SECTreeView::OnSelectNode(SECTreeNode*, SECTreeNode*) {}

void SECTreeView::OnDeleteNode(SECTreeNode*) {}

void SECTreeView::OnItemExpanding(NMHDR* header, LRESULT* result) {
  // The A and W forms differ only in their text pointers, which are not read here.
  NMTREEVIEWA* notify = reinterpret_cast<NMTREEVIEWA*>(header);
  *result = FALSE;
  if (!(notify->action & TVE_EXPAND)) return;
  if (SECTreeNode* node = NodeFromHandle(notify->itemNew.hItem)) Populate(node);
}

void SECTreeView::OnSelChanged(NMHDR* header, LRESULT* result) {
  NMTREEVIEWA* notify = reinterpret_cast<NMTREEVIEWA*>(header);
  *result = 0;
  OnSelectNode(NodeFromHandle(notify->itemNew.hItem), NodeFromHandle(notify->itemOld.hItem));
}

void SECTreeView::OnBeginLabelEditA(NMHDR* header, LRESULT* result) {
  SECTreeNode* node = NodeFromHandle(reinterpret_cast<NMTVDISPINFOA*>(header)->item.hItem);
  BOOL allowed = node && OnBeginLabelEdit(node);
  m_pEditNode = allowed ? node : NULL;
  *result = !allowed;  // true refuses
}

void SECTreeView::OnBeginLabelEditW(NMHDR* header, LRESULT* result) { OnBeginLabelEditA(header, result); }

void SECTreeView::OnEndLabelEditA(NMHDR* header, LRESULT* result) {
  NMTVDISPINFOA* info = reinterpret_cast<NMTVDISPINFOA*>(header);
  *result = FALSE;
  // Only the first end of an editing counts: Wine reports the end a second time, with the edit control's
  // text, as that control goes, and a cancelled edit must stay cancelled.
  SECTreeNode* node = NodeFromHandle(info->item.hItem);
  if (!node || node != m_pEditNode) return;
  m_pEditNode = NULL;
  if (!info->item.pszText) return;  // cancelled
  CString text = info->item.pszText;
  if (!OnEndLabelEdit(node, text)) return;
  node->m_strText = text;
  *result = TRUE;
}

void SECTreeView::OnEndLabelEditW(NMHDR* header, LRESULT* result) {
  NMTVDISPINFOW* info = reinterpret_cast<NMTVDISPINFOW*>(header);
  *result = FALSE;
  // Only the first end of an editing counts: Wine reports the end a second time, with the edit control's
  // text, as that control goes, and a cancelled edit must stay cancelled.
  SECTreeNode* node = NodeFromHandle(info->item.hItem);
  if (!node || node != m_pEditNode) return;
  m_pEditNode = NULL;
  if (!info->item.pszText) return;
  CString text = Narrow(info->item.pszText);
  if (!OnEndLabelEdit(node, text)) return;
  node->m_strText = text;
  *result = TRUE;
}

void SECTreeView::OnDestroy() {
  // The hooks still reach the derived class here, unlike in the destructor.
  if (TreeView_GetEditControl(m_hWnd)) TreeView_EndEditLabelNow(m_hWnd, TRUE);
  DeleteChildren(NULL);
  SECListView::OnDestroy();
}
