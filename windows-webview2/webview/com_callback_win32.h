#pragma once

#include <windows.h>
#include <unknwn.h>
#include <wrl/client.h>

#include <functional>
#include <utility>

#include "webview/com_reference_win32.h"

// A counted COM callback object of one WebView2 handler interface whose
// Invoke runs a std::function. Exceptions never cross into the runtime.
template <typename Interface, const IID& InterfaceId, typename Method = decltype(&Interface::Invoke)>
class ComCallback;

template <typename Interface, const IID& InterfaceId, typename Class, typename... Args>
class ComCallback<Interface, InterfaceId, HRESULT (STDMETHODCALLTYPE Class::*)(Args...)> : public Interface {
public:
    using Function = std::function<HRESULT(Args...)>;

    explicit ComCallback(Function invoked) : function(std::move(invoked)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (!IsEqualIID(id, IID_IUnknown) && !IsEqualIID(id, InterfaceId)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG left = InterlockedDecrement(&references);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE Invoke(Args... args) override
    {
        try {
            return function(args...);
        } catch (...) {
            return E_FAIL;
        }
    }

private:
    virtual ~ComCallback() = default;

    Function function;
    LONG references = 1;
};

// A new callback object, held by the returned reference.
template <typename Interface, const IID& InterfaceId, typename Function>
Microsoft::WRL::ComPtr<Interface> MakeComCallback(Function&& function)
{
    return AdoptReference<Interface>(new ComCallback<Interface, InterfaceId>(std::forward<Function>(function)));
}
