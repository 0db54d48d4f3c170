// Collection templates: CArray, CList, CMap and the typed pointer wrappers over the pointer collections.
#pragma once
#include <new>
#include <vector>
#include "afx.h"

struct __POSITION {};
typedef __POSITION* POSITION;
#define BEFORE_START_POSITION ((POSITION)-1L)

template <class ARG_KEY>
inline UINT AFXAPI HashKey(ARG_KEY key) {
  return UINT(UINT_PTR(key) >> 4);
}
inline UINT AFXAPI HashKey(LPCSTR key) {
  UINT hash = 0;
  while (*key) hash = (hash << 5) + hash + BYTE(*key++);
  return hash;
}
inline UINT AFXAPI HashKey(const CString& key) { return HashKey(LPCSTR(key)); }

template <class TYPE, class ARG_TYPE>
inline BOOL AFXAPI CompareElements(const TYPE* a, const ARG_TYPE* b) {
  return *a == *b;
}

template <class TYPE, class ARG_TYPE>
class CArray : public CObject {
 public:
  CArray() : m_nGrowBy(0) {}
  int GetSize() const { return int(m_data.size()); }
  int GetUpperBound() const { return int(m_data.size()) - 1; }
  void SetSize(int newSize, int growBy = -1) {
    if (growBy >= 0) m_nGrowBy = growBy;
    m_data.resize(newSize < 0 ? 0 : size_t(newSize));
  }
  void FreeExtra() { m_data.shrink_to_fit(); }
  void RemoveAll() { m_data.clear(); }
  TYPE GetAt(int index) const { return m_data[size_t(index)]; }
  void SetAt(int index, ARG_TYPE element) { m_data[size_t(index)] = element; }
  TYPE& ElementAt(int index) { return m_data[size_t(index)]; }
  const TYPE* GetData() const { return m_data.empty() ? NULL : m_data.data(); }
  TYPE* GetData() { return m_data.empty() ? NULL : m_data.data(); }
  void SetAtGrow(int index, ARG_TYPE element) {
    if (size_t(index) >= m_data.size()) m_data.resize(size_t(index) + 1);
    m_data[size_t(index)] = element;
  }
  int Add(ARG_TYPE element) {
    m_data.push_back(element);
    return int(m_data.size()) - 1;
  }
  int Append(const CArray& src) {
    int old = GetSize();
    m_data.insert(m_data.end(), src.m_data.begin(), src.m_data.end());
    return old;
  }
  void Copy(const CArray& src) { m_data = src.m_data; }
  TYPE operator[](int index) const { return m_data[size_t(index)]; }
  TYPE& operator[](int index) { return m_data[size_t(index)]; }
  void InsertAt(int index, ARG_TYPE element, int count = 1) {
    if (size_t(index) > m_data.size()) m_data.resize(size_t(index));
    m_data.insert(m_data.begin() + index, size_t(count), TYPE(element));
  }
  void InsertAt(int start, CArray* src) {
    if (size_t(start) > m_data.size()) m_data.resize(size_t(start));
    m_data.insert(m_data.begin() + start, src->m_data.begin(), src->m_data.end());
  }
  void RemoveAt(int index, int count = 1) {
    m_data.erase(m_data.begin() + index, m_data.begin() + index + count);
  }

 protected:
  std::vector<TYPE> m_data;
  int m_nGrowBy;
};

template <class TYPE, class ARG_TYPE>
class CList : public CObject {
 protected:
  struct CNode {
    CNode* pNext;
    CNode* pPrev;
    TYPE data;
  };

 public:
  explicit CList(int blockSize = 10) : m_nBlockSize(blockSize) {}
  ~CList() override { RemoveAll(); }
  int GetCount() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }
  TYPE& GetHead() { return m_pNodeHead->data; }
  TYPE GetHead() const { return m_pNodeHead->data; }
  TYPE& GetTail() { return m_pNodeTail->data; }
  TYPE GetTail() const { return m_pNodeTail->data; }
  TYPE RemoveHead() {
    CNode* old = m_pNodeHead;
    TYPE value = old->data;
    m_pNodeHead = old->pNext;
    if (m_pNodeHead) m_pNodeHead->pPrev = NULL; else m_pNodeTail = NULL;
    FreeNode(old);
    return value;
  }
  TYPE RemoveTail() {
    CNode* old = m_pNodeTail;
    TYPE value = old->data;
    m_pNodeTail = old->pPrev;
    if (m_pNodeTail) m_pNodeTail->pNext = NULL; else m_pNodeHead = NULL;
    FreeNode(old);
    return value;
  }
  POSITION AddHead(ARG_TYPE element) {
    CNode* node = NewNode(NULL, m_pNodeHead, element);
    if (m_pNodeHead) m_pNodeHead->pPrev = node; else m_pNodeTail = node;
    m_pNodeHead = node;
    return POSITION(node);
  }
  POSITION AddTail(ARG_TYPE element) {
    CNode* node = NewNode(m_pNodeTail, NULL, element);
    if (m_pNodeTail) m_pNodeTail->pNext = node; else m_pNodeHead = node;
    m_pNodeTail = node;
    return POSITION(node);
  }
  void AddTail(CList* other) {
    for (CNode* n = other->m_pNodeHead; n; n = n->pNext) AddTail(n->data);
  }
  void RemoveAll() {
    while (m_pNodeHead) {
      CNode* next = m_pNodeHead->pNext;
      delete m_pNodeHead;
      m_pNodeHead = next;
    }
    m_pNodeTail = NULL;
    m_nCount = 0;
  }
  POSITION GetHeadPosition() const { return POSITION(m_pNodeHead); }
  POSITION GetTailPosition() const { return POSITION(m_pNodeTail); }
  TYPE& GetNext(POSITION& pos) {
    CNode* node = (CNode*)pos;
    pos = POSITION(node->pNext);
    return node->data;
  }
  TYPE GetNext(POSITION& pos) const {
    CNode* node = (CNode*)pos;
    pos = POSITION(node->pNext);
    return node->data;
  }
  TYPE& GetPrev(POSITION& pos) {
    CNode* node = (CNode*)pos;
    pos = POSITION(node->pPrev);
    return node->data;
  }
  TYPE GetPrev(POSITION& pos) const {
    CNode* node = (CNode*)pos;
    pos = POSITION(node->pPrev);
    return node->data;
  }
  TYPE& GetAt(POSITION pos) { return ((CNode*)pos)->data; }
  TYPE GetAt(POSITION pos) const { return ((CNode*)pos)->data; }
  void SetAt(POSITION pos, ARG_TYPE element) { ((CNode*)pos)->data = element; }
  void RemoveAt(POSITION pos) {
    CNode* node = (CNode*)pos;
    if (node->pPrev) node->pPrev->pNext = node->pNext; else m_pNodeHead = node->pNext;
    if (node->pNext) node->pNext->pPrev = node->pPrev; else m_pNodeTail = node->pPrev;
    FreeNode(node);
  }
  POSITION InsertBefore(POSITION pos, ARG_TYPE element) {
    if (pos == NULL) return AddHead(element);
    CNode* old = (CNode*)pos;
    CNode* node = NewNode(old->pPrev, old, element);
    if (old->pPrev) old->pPrev->pNext = node; else m_pNodeHead = node;
    old->pPrev = node;
    return POSITION(node);
  }
  POSITION InsertAfter(POSITION pos, ARG_TYPE element) {
    if (pos == NULL) return AddTail(element);
    CNode* old = (CNode*)pos;
    CNode* node = NewNode(old, old->pNext, element);
    if (old->pNext) old->pNext->pPrev = node; else m_pNodeTail = node;
    old->pNext = node;
    return POSITION(node);
  }
  POSITION Find(ARG_TYPE value, POSITION startAfter = NULL) const {
    CNode* n = startAfter ? ((CNode*)startAfter)->pNext : m_pNodeHead;
    for (; n; n = n->pNext)
      if (CompareElements<TYPE, ARG_TYPE>(&n->data, &value)) return POSITION(n);
    return NULL;
  }
  POSITION FindIndex(int index) const {
    if (index < 0 || index >= m_nCount) return NULL;
    CNode* n = m_pNodeHead;
    while (index--) n = n->pNext;
    return POSITION(n);
  }

 protected:
  CNode* NewNode(CNode* prev, CNode* next, ARG_TYPE element) {
    CNode* node = new CNode{next, prev, TYPE(element)};
    node->pNext = next;
    node->pPrev = prev;
    ++m_nCount;
    return node;
  }
  void FreeNode(CNode* node) {
    delete node;
    --m_nCount;
  }
  CNode* m_pNodeHead = NULL;
  CNode* m_pNodeTail = NULL;
  int m_nCount = 0;
  int m_nBlockSize;
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
 protected:
  struct CAssoc {
    CAssoc* pNext;
    UINT nHashValue;
    KEY key;
    VALUE value;
  };

 public:
  explicit CMap(int blockSize = 10) : m_nBlockSize(blockSize) {}
  ~CMap() override { RemoveAll(); }
  int GetCount() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }
  BOOL Lookup(ARG_KEY key, VALUE& value) const {
    UINT hash;
    CAssoc* a = GetAssocAt(key, hash);
    if (!a) return FALSE;
    value = a->value;
    return TRUE;
  }
  VALUE& operator[](ARG_KEY key) {
    UINT hash;
    CAssoc* a = GetAssocAt(key, hash);
    if (a) return a->value;
    if (m_buckets.empty()) InitHashTable(m_nHashTableSize);
    a = new CAssoc{m_buckets[hash], hash, KEY(key), VALUE()};
    m_buckets[hash] = a;
    ++m_nCount;
    return a->value;
  }
  void SetAt(ARG_KEY key, ARG_VALUE value) { (*this)[key] = value; }
  BOOL RemoveKey(ARG_KEY key) {
    if (m_buckets.empty()) return FALSE;
    UINT hash = HashKey(key) % m_nHashTableSize;
    for (CAssoc** link = &m_buckets[hash]; *link; link = &(*link)->pNext) {
      if (CompareElements<KEY, ARG_KEY>(&(*link)->key, &key)) {
        CAssoc* a = *link;
        *link = a->pNext;
        delete a;
        --m_nCount;
        return TRUE;
      }
    }
    return FALSE;
  }
  void RemoveAll() {
    for (CAssoc*& head : m_buckets) {
      while (head) {
        CAssoc* next = head->pNext;
        delete head;
        head = next;
      }
    }
    m_buckets.clear();
    m_nCount = 0;
  }
  POSITION GetStartPosition() const { return m_nCount == 0 ? NULL : BEFORE_START_POSITION; }
  void GetNextAssoc(POSITION& pos, KEY& key, VALUE& value) const {
    CAssoc* a = pos == BEFORE_START_POSITION ? FirstFrom(0) : (CAssoc*)pos;
    key = a->key;
    value = a->value;
    CAssoc* next = a->pNext ? a->pNext : FirstFrom(a->nHashValue + 1);
    pos = POSITION(next);
  }
  UINT GetHashTableSize() const { return m_nHashTableSize; }
  void InitHashTable(UINT size, BOOL = TRUE) {
    RemoveAll();
    m_nHashTableSize = size ? size : 17;
    m_buckets.assign(m_nHashTableSize, NULL);
  }

 protected:
  CAssoc* GetAssocAt(ARG_KEY key, UINT& hash) const {
    hash = HashKey(key) % m_nHashTableSize;
    if (m_buckets.empty()) return NULL;
    for (CAssoc* a = m_buckets[hash]; a; a = a->pNext)
      if (CompareElements<KEY, ARG_KEY>(&a->key, &key)) return a;
    return NULL;
  }
  CAssoc* FirstFrom(UINT bucket) const {
    for (; bucket < m_buckets.size(); ++bucket)
      if (m_buckets[bucket]) return m_buckets[bucket];
    return NULL;
  }
  std::vector<CAssoc*> m_buckets;
  UINT m_nHashTableSize = 17;
  int m_nCount = 0;
  int m_nBlockSize;
};

template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS {
 public:
  TYPE GetAt(int index) const { return (TYPE)BASE_CLASS::GetAt(index); }
  TYPE& ElementAt(int index) { return (TYPE&)BASE_CLASS::ElementAt(index); }
  void SetAt(int index, TYPE ptr) { BASE_CLASS::SetAt(index, ptr); }
  void SetAtGrow(int index, TYPE ptr) { BASE_CLASS::SetAtGrow(index, ptr); }
  int Add(TYPE ptr) { return BASE_CLASS::Add(ptr); }
  void InsertAt(int index, TYPE ptr, int count = 1) { BASE_CLASS::InsertAt(index, ptr, count); }
  TYPE operator[](int index) const { return (TYPE)BASE_CLASS::operator[](index); }
  TYPE& operator[](int index) { return (TYPE&)BASE_CLASS::operator[](index); }
};

template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS {
 public:
  explicit CTypedPtrList(int blockSize = 10) : BASE_CLASS(blockSize) {}
  TYPE& GetHead() { return (TYPE&)BASE_CLASS::GetHead(); }
  TYPE GetHead() const { return (TYPE)BASE_CLASS::GetHead(); }
  TYPE& GetTail() { return (TYPE&)BASE_CLASS::GetTail(); }
  TYPE GetTail() const { return (TYPE)BASE_CLASS::GetTail(); }
  TYPE RemoveHead() { return (TYPE)BASE_CLASS::RemoveHead(); }
  TYPE RemoveTail() { return (TYPE)BASE_CLASS::RemoveTail(); }
  POSITION AddHead(TYPE ptr) { return BASE_CLASS::AddHead(ptr); }
  POSITION AddTail(TYPE ptr) { return BASE_CLASS::AddTail(ptr); }
  TYPE& GetNext(POSITION& pos) { return (TYPE&)BASE_CLASS::GetNext(pos); }
  TYPE GetNext(POSITION& pos) const { return (TYPE)BASE_CLASS::GetNext(pos); }
  TYPE& GetPrev(POSITION& pos) { return (TYPE&)BASE_CLASS::GetPrev(pos); }
  TYPE GetPrev(POSITION& pos) const { return (TYPE)BASE_CLASS::GetPrev(pos); }
  TYPE& GetAt(POSITION pos) { return (TYPE&)BASE_CLASS::GetAt(pos); }
  TYPE GetAt(POSITION pos) const { return (TYPE)BASE_CLASS::GetAt(pos); }
  void SetAt(POSITION pos, TYPE ptr) { BASE_CLASS::SetAt(pos, ptr); }
};

template <class BASE_CLASS, class KEY, class VALUE>
class CTypedPtrMap : public BASE_CLASS {
 public:
  explicit CTypedPtrMap(int blockSize = 10) : BASE_CLASS(blockSize) {}
  BOOL Lookup(typename BASE_CLASS::BASE_ARG_KEY key, VALUE& value) const {
    return BASE_CLASS::Lookup(key, (typename BASE_CLASS::BASE_VALUE&)value);
  }
  VALUE& operator[](typename BASE_CLASS::BASE_ARG_KEY key) { return (VALUE&)BASE_CLASS::operator[](key); }
  void SetAt(KEY key, VALUE value) { BASE_CLASS::SetAt(key, value); }
  BOOL RemoveKey(KEY key) { return BASE_CLASS::RemoveKey(key); }
  void GetNextAssoc(POSITION& pos, KEY& key, VALUE& value) const {
    BASE_CLASS::GetNextAssoc(pos, (typename BASE_CLASS::BASE_KEY&)key, (typename BASE_CLASS::BASE_VALUE&)value);
  }
};
