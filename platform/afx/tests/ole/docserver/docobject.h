// A small document-object server for the container tests (test code): a document that shows itself as a
// view filling its container's place, merges a menu of its own, takes the host's open command through
// IOleCommandTarget (or refuses it), loads from files and storages, and reports what it saw. Served in
// process by afx_docserver.dll and out of process by afx_oleserver.exe.
#pragma once
#include <docobj.h>
#include <windows.h>

namespace doctest {

// Objects alive in this module.
LONG LiveObjects();
// Called with TRUE when an object is made and FALSE when one goes (a program locks itself meanwhile).
void SetLifetimeHook(void (*hook)(BOOL made));

// A class factory of the document for clsid (refusing: the open command is refused).
IClassFactory* NewFactory(REFCLSID clsid, BOOL refusing);

}  // namespace doctest
