#pragma once

#include <wrl/client.h>

// Takes over a reference the caller already owns. mingw-w64's
// ComPtr::Attach adds a reference of its own, unlike Microsoft's, so it
// would leak every object handed to it.
template <typename Interface>
Microsoft::WRL::ComPtr<Interface> AdoptReference(Interface* object)
{
    Microsoft::WRL::ComPtr<Interface> held;
    *held.GetAddressOf() = object;
    return held;
}
