// The guard that keeps a second copy of the launcher from opening a second window.
#pragma once
#include <windows.h>

// Creates (and keeps, for the life of the process) the mutex named pszName. TRUE when another
// process already holds a mutex of that name, that is when this process is a second copy. A name
// taken by another kind of object counts as no copy running.
BOOL IsAnotherInstanceRunning(LPCSTR pszName);

// Walks the top-level windows from the top of the Z order down and brings forward the first one that
// carries the property pszName with a non-null value: restored if minimised, then it and its last
// active popup set to the foreground. FALSE when no window carries the property.
BOOL ActivateRunningInstance(LPCSTR pszName);
