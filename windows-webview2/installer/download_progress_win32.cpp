#include "installer/download_progress_win32.h"

#include <commctrl.h>

#include "installer/progress_position.h"

HRESULT STDMETHODCALLTYPE DownloadProgress::QueryInterface(REFIID id, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IBindStatusCallback)) {
        *object = static_cast<IBindStatusCallback*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DownloadProgress::AddRef()
{
    return 1;
}

ULONG STDMETHODCALLTYPE DownloadProgress::Release()
{
    return 1;
}

HRESULT STDMETHODCALLTYPE DownloadProgress::OnStartBinding(DWORD, IBinding*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE DownloadProgress::GetPriority(LONG*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE DownloadProgress::OnLowResource(DWORD)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DownloadProgress::OnProgress(ULONG progress, ULONG progressMax, ULONG, LPCWSTR)
{
    std::optional<int32_t> position = ::OnProgress(progress, progressMax);
    if (position)
        SendMessageW(progressBar, PBM_SETPOS, static_cast<WPARAM>(*position), 0);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DownloadProgress::OnStopBinding(HRESULT, LPCWSTR)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE DownloadProgress::GetBindInfo(DWORD*, BINDINFO*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE DownloadProgress::OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE DownloadProgress::OnObjectAvailable(REFIID, IUnknown*)
{
    return E_NOTIMPL;
}
