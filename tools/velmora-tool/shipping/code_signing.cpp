#include "tools/velmora-tool/shipping/code_signing.h"

#include <fstream>
#include <vector>

#include "tools/velmora-tool/export/export_plan.h"
#include "tools/velmora-tool/shipping/helper_process.h"

namespace fs = std::filesystem;

namespace {

const char* const Signer = "osslsigncode";
// 1980-01-01, the time the zip's entries carry too.
const char* const FixedSigningTime = "315532800";

}

void CheckSigning(const SigningOptions& options)
{
    if (!ProgramFound(Signer))
        throw ExportError(std::string("signing needs ") + Signer + ", which is not installed (Debian package osslsigncode)");
    std::ifstream certificate(options.certificate, std::ios::binary);
    if (!certificate || !fs::is_regular_file(options.certificate))
        throw ExportError("cannot read the certificate " + options.certificate);
}

void SignProgram(const SigningOptions& options, const fs::path& program)
{
    fs::path signedCopy = program.string() + ".signed";
    std::vector<std::string> args = {Signer, "sign", "-pkcs12", options.certificate, "-readpass", "-", "-h", "sha256",
        "-time", FixedSigningTime};
    if (!options.timestampUrl.empty()) {
        args.push_back("-ts");
        args.push_back(options.timestampUrl);
    }
    args.insert(args.end(), {"-in", program.string(), "-out", signedCopy.string()});
    std::string said;
    if (RunHelper(args, options.password, said) != 0) {
        std::error_code ignored;
        fs::remove(signedCopy, ignored);
        throw ExportError("cannot sign " + program.filename().string() + ": " + HelperReason(said));
    }
    fs::rename(signedCopy, program);
}
