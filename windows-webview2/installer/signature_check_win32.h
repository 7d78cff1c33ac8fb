#pragma once

#include <string>

// Whether the file carries a valid Authenticode signature, trusted by the
// system, whose signer is Microsoft Corporation. Revocation is not checked,
// so that the check does not depend on reaching the certificate authority.
bool IsSignedByMicrosoft(const std::wstring& path);
