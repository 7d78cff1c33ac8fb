// The interface, class and folder identifiers the programs use, defined here
// as the headers declare them: taken from libuuid instead, they would bring
// its one object holding every identifier of Windows (tens of kilobytes).
#include <initguid.h>

#include <windows.h>
#include <knownfolders.h>
#include <objidl.h>
#include <shobjidl.h>
