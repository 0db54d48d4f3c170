// cNXList: the small doubly linked list of untyped pointers that holds imagio's module records, with its
// iterator and first-in-first-out / last-in-first-out adaptors. The list never owns what it points to.
#pragma once
#include <cstddef>

namespace imagio {

// One node of a cNXList.
struct CLink {
  CLink* prev;
  CLink* next;
  void* data;
};

class cNXList {
 public:
  cNXList() : m_head(nullptr), m_tail(nullptr), m_count(0) {}
  ~cNXList() { RemoveAll(); }
  cNXList(const cNXList&) = delete;
  cNXList& operator=(const cNXList&) = delete;

  // False when no node could be allocated (the list is unchanged).
  bool AddHead(void* data);
  bool AddTail(void* data);
  // The data of the removed node, or null when the list is empty.
  void* RemoveHead();
  void* RemoveTail();
  void RemoveAll();

  CLink* Head() const { return m_head; }
  CLink* Tail() const { return m_tail; }
  size_t GetCount() const { return m_count; }
  bool IsEmpty() const { return m_count == 0; }

 private:
  void Unlink(CLink* link);

  CLink* m_head;
  CLink* m_tail;
  size_t m_count;
};

// Walks a list from its head: Next() gives each node's data in turn, then null.
class CIter {
 public:
  explicit CIter(const cNXList& list) : m_list(list), m_at(list.Head()) {}
  void Reset() { m_at = m_list.Head(); }
  void* Next() {
    if (!m_at) return nullptr;
    void* data = m_at->data;
    m_at = m_at->next;
    return data;
  }

 private:
  const cNXList& m_list;
  CLink* m_at;
};

// First in, first out over a cNXList.
class CQueue {
 public:
  explicit CQueue(cNXList& list) : m_list(list) {}
  bool Push(void* data) { return m_list.AddTail(data); }
  void* Pop() { return m_list.RemoveHead(); }
  bool IsEmpty() const { return m_list.IsEmpty(); }

 private:
  cNXList& m_list;
};

// Last in, first out over a cNXList.
class CStack {
 public:
  explicit CStack(cNXList& list) : m_list(list) {}
  bool Push(void* data) { return m_list.AddTail(data); }
  void* Pop() { return m_list.RemoveTail(); }
  bool IsEmpty() const { return m_list.IsEmpty(); }

 private:
  cNXList& m_list;
};

}  // namespace imagio
