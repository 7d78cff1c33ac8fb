#pragma once

#include <memory>

#include "assets/resource_answer.h"

// An answer's body as the platform hands it to the WebView; opaque here.
class IBodyStream {
public:
    virtual ~IBodyStream() = default;
};

// Turns an answer's body into the platform's stream.
class IBodyStreams {
public:
    virtual ~IBodyStreams() = default;
    // Null when the answer has no body; throws std::runtime_error when the
    // bytes cannot be reached.
    virtual std::shared_ptr<IBodyStream> Create(const ResourceAnswer& answer) = 0;
};
