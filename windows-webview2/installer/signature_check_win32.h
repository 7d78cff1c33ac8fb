#pragma once

#include <windows.h>

#include <string>

// Whether the file carries a valid Authenticode signature, trusted by the
// system, whose signer is Microsoft Corporation. Revocation is not checked,
// so that the check does not depend on reaching the certificate authority.
// The bytes are read through `opened`, a handle with read access, so that
// the caller can keep the file from changing until it has used it; `path`
// names the same file.
bool IsSignedByMicrosoft(HANDLE opened, const std::wstring& path);
