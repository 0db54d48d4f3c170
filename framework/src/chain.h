// The framework's hold on the host's resource chain (not exported to the components' code).
#pragma once
#include "afxwin.h"

namespace nxframework {

// The chain's records are read and changed only while this lives.
class ChainLock {
 public:
  ChainLock() { AfxLockGlobals(CRIT_DYNLINKLIST); }
  ~ChainLock() { AfxUnlockGlobals(CRIT_DYNLINKLIST); }
  ChainLock(const ChainLock&) = delete;
  ChainLock& operator=(const ChainLock&) = delete;
};

}  // namespace nxframework
