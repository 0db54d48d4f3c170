// cNXList node handling.
#include "nxlist.h"
#include <new>

namespace imagio {

bool cNXList::AddHead(void* data) {
  CLink* link = new (std::nothrow) CLink{nullptr, m_head, data};
  if (!link) return false;
  if (m_head) m_head->prev = link; else m_tail = link;
  m_head = link;
  ++m_count;
  return true;
}

bool cNXList::AddTail(void* data) {
  CLink* link = new (std::nothrow) CLink{m_tail, nullptr, data};
  if (!link) return false;
  if (m_tail) m_tail->next = link; else m_head = link;
  m_tail = link;
  ++m_count;
  return true;
}

void cNXList::Unlink(CLink* link) {
  if (link->prev) link->prev->next = link->next; else m_head = link->next;
  if (link->next) link->next->prev = link->prev; else m_tail = link->prev;
  --m_count;
  delete link;
}

void* cNXList::RemoveHead() {
  if (!m_head) return nullptr;
  void* data = m_head->data;
  Unlink(m_head);
  return data;
}

void* cNXList::RemoveTail() {
  if (!m_tail) return nullptr;
  void* data = m_tail->data;
  Unlink(m_tail);
  return data;
}

void cNXList::RemoveAll() {
  while (m_head) Unlink(m_head);
}

}  // namespace imagio
