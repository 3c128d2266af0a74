// Object creation by class id for in-process servers, the per-thread
// initialisation count and the task allocator.
//
// Servers are found in the registry under
// HKEY_CLASSES_ROOT\CLSID\{class id}\InProcServer32 (default value: the
// module's full path), loaded once per process and asked for their class
// factory through DllGetClassObject.
#pragma once

#include <cstddef>

#include "platform/com/ClassFactory.h"
#include "platform/com/ComBase.h"
#include "platform/com/Guid.h"

// Server contexts.  This system has in-process servers only: every context
// value, CLSCTX_ALL included, is served by the in-process path.
enum CLSCTX : DWORD {
    CLSCTX_INPROC_SERVER = 0x1,
    CLSCTX_INPROC_HANDLER = 0x2,
    CLSCTX_LOCAL_SERVER = 0x4,
    CLSCTX_REMOTE_SERVER = 0x10,
};
inline constexpr DWORD CLSCTX_INPROC = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;
inline constexpr DWORD CLSCTX_SERVER = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
inline constexpr DWORD CLSCTX_ALL = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER |
                                    CLSCTX_REMOTE_SERVER;

enum COINIT : DWORD {
    COINIT_MULTITHREADED = 0x0,
    COINIT_APARTMENTTHREADED = 0x2,
    COINIT_DISABLE_OLE1DDE = 0x4,
    COINIT_SPEED_OVER_MEMORY = 0x8,
};

// Counted per thread: S_OK for the first call on a thread, S_FALSE for
// nested ones; RPC_E_CHANGED_MODE (count unchanged) when a nested call asks
// for the other threading model.  Every successful call is balanced by one
// CoUninitialize.
HRESULT CoInitialize(void* reserved);
HRESULT CoInitializeEx(void* reserved, DWORD coinit);
void CoUninitialize();
// The calling thread's count (0 when not initialised).
int CoInitializeCount();

// Creation.  object receives the interface (null on failure).
// REGDB_E_CLASSNOTREG: no InProcServer32 path registered for the class.
// CO_E_DLLNOTFOUND: the registered module file does not exist.
// CO_E_ERRORINDLL: it exists but cannot be loaded, or lacks DllGetClassObject.
// Otherwise the result of DllGetClassObject or of the factory.
// The calling thread need not be initialised: every module links its own
// copy of this layer, so a count kept here could not see the caller's.
HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, void* serverInfo, REFIID riid, void** object);
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid, void** object);

// Puts an object into its running state; in-process objects always are.
HRESULT OleRun(IUnknown* object);

// Unloads every module loaded by creation whose DllCanUnloadNow answers
// S_OK.  Modules without that entry point stay loaded.
void CoFreeUnusedLibraries();
// How many modules creation holds loaded (for diagnostics and tests).
std::size_t CoLoadedModuleCount();

// Memory that crosses module boundaries (strings handed to callers).
void* CoTaskMemAlloc(std::size_t size);
void* CoTaskMemRealloc(void* block, std::size_t size);
void CoTaskMemFree(void* block);

// HKEY_CLASSES_ROOT\CLSID\{class id}\ProgId default value, as a new
// CoTaskMemAlloc'd string; REGDB_E_CLASSNOTREG when there is none.
HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* progId);
// HKEY_CLASSES_ROOT\{ProgID}\CLSID default value; CO_E_CLASSSTRING when the
// ProgID is empty, malformed or not registered.
HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid);
