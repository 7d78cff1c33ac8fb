#pragma once

#include <functional>
#include <string>
#include <vector>

// The Debian programs the export runs (the signer, the installer maker).

// Whether a program of this name is on the PATH.
bool ProgramFound(const std::string& name);

// Runs args[0] (found on the PATH) with `input` on its standard input;
// gives its exit code and appends what it said on its outputs to `said`,
// calling `heard` with all of it so far as it comes. The helper gets the
// tool's environment without the signing password, and is ended with the
// export when the export is interrupted. Throws ExportError when it cannot
// be started, or "interrupted".
int RunHelper(const std::vector<std::string>& args, const std::string& input, std::string& said,
    const std::function<void(const std::string&)>& heard = nullptr);

// The end of what a helper said, which holds its reason for failing.
std::string HelperReason(const std::string& said);
