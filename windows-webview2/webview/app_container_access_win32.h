#pragma once

#include <windows.h>

#include <string>

// Adds to the folder's access list the inheritable read and execute entries
// that MissingAppContainerGrants finds missing; false when they could not be
// added (the runtime may then still start, or the user grants them).
bool GrantAppContainerAccess(const std::string& folder);

// The access list with those entries added, to be freed with LocalFree;
// null when nothing is missing or the list cannot be made.
ACL* WithAppContainerGrants(ACL* dacl);
