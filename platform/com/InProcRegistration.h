// The registry entries of one in-process class, written and removed by a
// module's DllRegisterServer and DllUnregisterServer.
//
// Under HKEY_CLASSES_ROOT:
//   {ProgID}                     default = description
//   {ProgID}\CLSID               default = {class id}
//   CLSID\{class id}             default = description (replaced whole)
//   CLSID\{class id}\ProgId      default = ProgID
//   CLSID\{class id}\InProcServer32
//                                default = module path,
//                                "ThreadingModel" = threading model
#pragma once

#include <string>

#include "platform/com/ComBase.h"

struct InProcServerEntry {
    CLSID clsid;
    const char* progId;          // null: no ProgID entries
    const char* description;
    const char* threadingModel;  // "Apartment", "Both", ...; null: none
};

// S_OK, or SELFREG_E_CLASS when a key or value could not be written (the
// entries written so far are removed again).
HRESULT RegisterInProcServer(const InProcServerEntry& entry, const std::string& modulePath);
// Removes the ProgID key and CLSID\{class id} with everything below; the
// CLSID parent key stays.  Absent entries are no failure.  SELFREG_E_CLASS
// when an existing key could not be removed.
HRESULT UnregisterInProcServer(const InProcServerEntry& entry);
