#pragma once

#include <istream>

#include "assets/asset_bundle.h"

// A bundle read from a C++ stream (the command-line tool and the tests); the
// host maps its bundle and never links this.
class IstreamBundleSource : public IBundleStream {
public:
    explicit IstreamBundleSource(std::istream& source) : stream(source) {}

    void Read(void* buffer, uint64_t count) override;
    void SeekTo(uint64_t offset) override;
    void SeekBy(uint64_t count) override;

private:
    std::istream& stream;
};
