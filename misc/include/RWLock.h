// The reader-writer lock of NXMisc: cRWLockData lives beside the data it guards, cReadWriteLock is
// the per-use holder that releases on destruction. Neither re-entrant nor writer-preferring.
#pragma once
#include "NXMisc.h"

class NXMISC_API cRWLockData : public CObject {
 public:
  cRWLockData();
  ~cRWLockData() override;
  virtual BOOL IsReadLocked();
  virtual BOOL IsWriteLocked();
  virtual void ReadLock();
  virtual void WriteLock();
  virtual void ReadUnlock();
  virtual void WriteUnlock();

 private:
  CRITICAL_SECTION m_cs;
  LONG m_nReaders;
  HANDLE m_hNoReaders;
  LONG m_nWriter;
  HANDLE m_hNoWriter;
};

class NXMISC_API cReadWriteLock : public CObject {
 public:
  explicit cReadWriteLock(cRWLockData& data);
  ~cReadWriteLock() override;
  virtual BOOL IsReadLocked();
  virtual BOOL IsWriteLocked();
  virtual void ReadLock();
  virtual void WriteLock();
  virtual void Unlock();

 private:
  cRWLockData& m_data;
  BOOL m_bReadLocked;
  BOOL m_bWriteLocked;
};
