#pragma once

#include <filesystem>
#include <string>

// The environment variable the certificate's password may come from.
inline constexpr const char* PasswordVariable = "VELMORA_SIGN_PASSWORD";

// Authenticode signing of the export's programs with Debian's osslsigncode.
struct SigningOptions {
    std::string certificate; // a PKCS#12 file
    std::string password;    // from a file or the environment, never an argument
    std::string timestampUrl; // empty: no timestamp
};

// Before anything is written: the signer must be there and the certificate
// readable. Throws ExportError naming what is missing.
void CheckSigning(const SigningOptions& options);

// Signs the program in place. The signing time is fixed, so the same
// program, certificate and options give the same bytes (a timestamp from a
// server is the exception). Throws ExportError with the signer's reason.
void SignProgram(const SigningOptions& options, const std::filesystem::path& program);
