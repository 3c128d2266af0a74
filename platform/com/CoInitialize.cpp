#include "platform/com/ComRuntime.h"

namespace {

struct ThreadState {
    int count = 0;
    DWORD apartment = 0;  // COINIT_APARTMENTTHREADED or COINIT_MULTITHREADED
};
thread_local ThreadState thread;

}  // namespace

HRESULT CoInitializeEx(void* reserved, DWORD coinit)
{
    if (reserved) return E_INVALIDARG;
    const DWORD apartment = coinit & COINIT_APARTMENTTHREADED;
    if (thread.count > 0) {
        if (apartment != thread.apartment) return RPC_E_CHANGED_MODE;
        ++thread.count;
        return S_FALSE;
    }
    thread.count = 1;
    thread.apartment = apartment;
    return S_OK;
}

HRESULT CoInitialize(void* reserved) { return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED); }

void CoUninitialize()
{
    if (thread.count > 0) --thread.count;
}

int CoInitializeCount() { return thread.count; }
