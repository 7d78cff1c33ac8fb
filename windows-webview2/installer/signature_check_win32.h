#pragma once

#include <string>

// Whether the file carries a valid Authenticode signature, trusted by the
// system, whose signer is Microsoft Corporation. Revocation is not checked,
// so that an offline machine can still install.
bool IsSignedByMicrosoft(const std::wstring& path);
